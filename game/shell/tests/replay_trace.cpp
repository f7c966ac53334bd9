// SPDX-License-Identifier: MIT
#include "replay_trace.h"

#include <regex>
#include <sstream>

namespace qon::shell_test {

namespace {

std::vector<std::string> readLines(const std::string& path) {
    std::vector<std::string> lines;
    std::istringstream in(ReadText(path));
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

}  // namespace

std::string Field(const std::string& line, const std::string& name) {
    const std::regex pattern("\"" + name + "\":(\"[^\"]*\"|-?[0-9]+|true|false)");
    std::smatch m;
    if (!std::regex_search(line, m, pattern)) return "";
    std::string value = m[1];
    if (!value.empty() && value.front() == '"') value = value.substr(1, value.size() - 2);
    return value;
}

int ReplayRun::firstScreen(const std::string& screen, int from) const {
    for (int i = from; i < static_cast<int>(trace.size()); ++i) {
        if (Field(trace[static_cast<std::size_t>(i)], "screen") == screen) return i;
    }
    return -1;
}

bool ReplayRun::anyLineHas(const std::string& text) const {
    for (const std::string& line : trace) {
        if (line.find(text) != std::string::npos) return true;
    }
    return false;
}

int ReplayRun::countScreen(const std::string& screen) const {
    int count = 0;
    for (const std::string& line : trace) count += Field(line, "screen") == screen ? 1 : 0;
    return count;
}

ReplayRun Replay(const GameFolder& game, const std::string& script, const std::string& outName,
                 int frames, std::uint32_t seed,
                 const std::function<void(shell::ReplayOptions&)>& adjust) {
    ReplayRun run;
    run.scratch = std::make_shared<test_support::ScratchFolder>();
    run.out = run.scratch->folder(outName);
    run.out.pop_back();  // without the "/"
    const std::string scriptPath = run.out + "/script.txt";
    WriteText(scriptPath, script);
    shell::ReplayOptions options;
    options.gameFolder = game.folder;
    options.scriptPath = scriptPath;
    options.outDir = run.out;
    options.seed = seed;
    options.frames = frames;
    if (adjust) adjust(options);
    std::ostringstream err;
    run.status = shell::RunReplay(options, err);
    run.errors = err.str();
    run.trace = readLines(run.out + "/trace.jsonl");
    return run;
}

}  // namespace qon::shell_test
