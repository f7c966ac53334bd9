// SPDX-License-Identifier: MIT
#include "replay_run.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <sstream>
#include <thread>

#include "qon/test_support/bytes.h"

extern char** environ;

namespace qon::bad_content {
namespace {

void appendUtf8(std::string& out, unsigned code) {
    if (code < 0x80) {
        out.push_back(static_cast<char>(code));
    } else if (code < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (code >> 6)));
        out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xE0 | (code >> 12)));
        out.push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
    }
}

// Reads the JSON string starting at line[pos] == '"'; leaves pos after its closing quote.
std::string readString(const std::string& line, std::size_t& pos) {
    std::string out;
    for (++pos; pos < line.size() && line[pos] != '"'; ++pos) {
        if (line[pos] != '\\' || pos + 1 >= line.size()) {
            out.push_back(line[pos]);
            continue;
        }
        const char escaped = line[++pos];
        switch (escaped) {
            case 'n':
                out.push_back('\n');
                break;
            case 'r':
                out.push_back('\r');
                break;
            case 't':
                out.push_back('\t');
                break;
            case 'u':
                appendUtf8(out,
                           static_cast<unsigned>(std::stoul(line.substr(pos + 1, 4), nullptr, 16)));
                pos += 4;
                break;
            default:
                out.push_back(escaped);
        }
    }
    ++pos;
    return out;
}

std::string stringField(const std::string& line, const std::string& key) {
    const std::string head = "\"" + key + "\":\"";
    std::size_t pos = line.find(head);
    if (pos == std::string::npos) return {};
    pos += head.size() - 1;
    return readString(line, pos);
}

int intField(const std::string& line, const std::string& key) {
    const std::string head = "\"" + key + "\":";
    const std::size_t pos = line.find(head);
    if (pos == std::string::npos) return -1;
    return std::stoi(line.substr(pos + head.size()));
}

}  // namespace

std::vector<std::string> JsonStrings(const std::string& line, const std::string& key) {
    std::vector<std::string> strings;
    const std::string head = "\"" + key + "\":[";
    std::size_t pos = line.find(head);
    if (pos == std::string::npos) return strings;
    pos += head.size();
    while (pos < line.size() && line[pos] != ']') {
        if (line[pos] == '"') {
            strings.push_back(readString(line, pos));
        } else {
            ++pos;  // the comma between strings
        }
    }
    return strings;
}

ReplayRun RunReplay(const std::vector<std::string>& command, const std::string& outDir,
                    int seconds) {
    ReplayRun run;
    const std::string errPath = outDir + "/stderr.txt";
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, errPath.c_str(),
                                     O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    std::vector<char*> argv;
    for (const std::string& arg : command) argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);
    pid_t child = 0;
    const int spawned = posix_spawnp(&child, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0) return run;
    run.started = true;

    // The replay runs on a virtual clock, so a healthy run is quick; poll gently.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
    int status = 0;
    rusage usage{};
    for (;;) {
        const pid_t done = wait4(child, &status, WNOHANG, &usage);
        if (done == child) break;
        if (std::chrono::steady_clock::now() > deadline) {
            run.timedOut = true;
            kill(child, SIGKILL);
            wait4(child, &status, 0, &usage);
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    run.peakResidentKb = usage.ru_maxrss;
    run.signalled = WIFSIGNALED(status);
    if (WIFEXITED(status)) run.exitStatus = WEXITSTATUS(status);

    run.stderrText = test_support::ReadBytes(errPath);

    std::istringstream trace(test_support::ReadBytes(outDir + "/trace.jsonl"));
    for (std::string line; std::getline(trace, line);) {
        TraceLine parsed;
        parsed.closing = line.rfind("{\"end\":", 0) == 0;
        parsed.end = parsed.closing ? intField(line, "end") : -1;
        parsed.screen = stringField(line, "screen");
        parsed.stage = parsed.closing ? 0 : intField(line, "stage");
        parsed.music = JsonStrings(line, "music");
        parsed.messages = JsonStrings(line, "messages");
        run.trace.push_back(std::move(parsed));
    }
    return run;
}

}  // namespace qon::bad_content
