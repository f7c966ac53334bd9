// SPDX-License-Identifier: MIT
// qon-startup-bench: the time from process start to the first presented frame of the
// real game (SdlMedia, the staged game folder), over N fresh processes.
//
// Each run spawns qon-startup-probe, which runs qon's own start-up and stops after its
// first FlipScreen. The clock starts just before the spawn, so exec and dynamic linking
// count; it stops when that FlipScreen returns. The probe's marks split the time into
// its steps, and the medians of the steps are printed with the median of the whole.
//
// Usage: qon-startup-bench [runs] [--window] [GAMEFOLDER]
//   runs        number of processes (default 15)
//   --window    the game starts in a window instead of full screen (a diagnosis: the
//               game itself always starts full screen)
//   GAMEFOLDER  the staged game folder (default: the one this build stages)
// The child runs with SDL_VIDEODRIVER=dummy and SDL_AUDIODRIVER=dummy unless this
// program's own environment sets them (e.g. SDL_VIDEODRIVER=x11 under xvfb-run, to
// time a real window).

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "bench_stats.h"
#include "startup_marks.h"

#ifndef QON_STAGE_DIR
#error "QON_STAGE_DIR must name the staged game folder"
#endif
#ifndef QON_STARTUP_PROBE
#error "QON_STARTUP_PROBE must name the qon-startup-probe executable"
#endif

extern char** environ;

namespace {

constexpr double kTargetMs = 300.0;
// A probe that has not presented by then is stuck (a driver waiting for a device).
constexpr int kRunTimeoutMs = 30000;

std::int64_t monotonicNanos() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<std::int64_t>(now.tv_sec) * 1000000000 + now.tv_nsec;
}

// This program's environment plus the headless drivers, where it does not choose its own.
std::vector<std::string> childEnvironment() {
    std::vector<std::string> env;
    for (char** e = environ; *e != nullptr; ++e) env.emplace_back(*e);
    for (const char* name : {"SDL_VIDEODRIVER", "SDL_AUDIODRIVER"}) {
        if (std::getenv(name) == nullptr) env.push_back(std::string(name) + "=dummy");
    }
    return env;
}

struct RunResult {
    std::int64_t spawned = 0;
    std::optional<qon::bench::StartupMarks> marks;
    std::string out, err;
    double cpuMs = 0;     // user + system time of the child
    std::string failure;  // empty when the run measured
};

// Reads both pipes until the child closes them, so neither can fill up and block it.
bool drain(int outFd, int errFd, std::string& out, std::string& err, std::int64_t deadline) {
    pollfd fds[2] = {{outFd, POLLIN, 0}, {errFd, POLLIN, 0}};
    std::string* sinks[2] = {&out, &err};
    int open = 2;
    char buffer[4096];
    while (open > 0) {
        const std::int64_t left = (deadline - monotonicNanos()) / 1000000;
        if (left <= 0) return false;
        const int ready = poll(fds, 2, static_cast<int>(left));
        if (ready < 0 && errno == EINTR) continue;
        if (ready <= 0) return false;
        for (int i = 0; i < 2; ++i) {
            if (fds[i].fd < 0 || fds[i].revents == 0) continue;
            const ssize_t n = read(fds[i].fd, buffer, sizeof buffer);
            if (n > 0) {
                sinks[i]->append(buffer, static_cast<std::size_t>(n));
            } else if (n == 0 || errno != EINTR) {
                fds[i].fd = -1;
                --open;
            }
        }
    }
    return true;
}

RunResult runProbe(const std::string& probe, const std::string& folder, bool window,
                   const std::vector<std::string>& env) {
    RunResult result;
    int outPipe[2], errPipe[2];
    if (pipe2(outPipe, O_CLOEXEC) != 0 || pipe2(errPipe, O_CLOEXEC) != 0) {
        result.failure = std::string("pipe: ") + std::strerror(errno);
        return result;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, outPipe[1], STDOUT_FILENO);
    posix_spawn_file_actions_adddup2(&actions, errPipe[1], STDERR_FILENO);
    std::string windowFlag = "--window";
    std::vector<char*> argv = {const_cast<char*>(probe.c_str())};
    if (window) argv.push_back(windowFlag.data());
    argv.push_back(const_cast<char*>(folder.c_str()));
    argv.push_back(nullptr);
    std::vector<char*> envp;
    for (const std::string& e : env) envp.push_back(const_cast<char*>(e.c_str()));
    envp.push_back(nullptr);

    pid_t child = -1;
    result.spawned = monotonicNanos();
    const int spawnError =
        posix_spawn(&child, probe.c_str(), &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    close(outPipe[1]);
    close(errPipe[1]);
    if (spawnError != 0) {
        close(outPipe[0]);
        close(errPipe[0]);
        result.failure = probe + ": " + std::strerror(spawnError);
        return result;
    }
    const bool drained = drain(outPipe[0], errPipe[0], result.out, result.err,
                               result.spawned + std::int64_t{kRunTimeoutMs} * 1000000);
    close(outPipe[0]);
    close(errPipe[0]);
    if (!drained) kill(child, SIGKILL);  // our own child, stuck
    int status = 0;
    rusage usage{};
    while (wait4(child, &status, 0, &usage) < 0 && errno == EINTR) {
    }
    result.cpuMs = (usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1e3 +
                   (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e3;
    if (!drained) {
        result.failure = "the probe did not finish within " + std::to_string(kRunTimeoutMs) + " ms";
    } else if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        result.failure = "the probe failed (status " + std::to_string(status) + ")";
    } else {
        result.marks = qon::bench::ParseStartupMarks(result.out);
        if (!result.marks) {
            result.failure = "the probe's report cannot be read";
        } else if (!qon::bench::MarksInOrder(*result.marks) ||
                   (*result.marks)[0] < result.spawned) {
            result.failure = "the probe's steps are out of order: " + result.out;
        }
    }
    return result;
}

double millis(std::int64_t nanos) {
    return static_cast<double>(nanos) / 1e6;
}

}  // namespace

int main(int argc, char** argv) {
    int runs = 15;
    std::string folder = QON_STAGE_DIR;
    bool window = false;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (!arg.empty() && arg.find_first_not_of("0123456789") == std::string::npos) {
            runs = std::max(1, std::atoi(arg.c_str()));
        } else if (arg == "--window") {
            window = true;
        } else {
            folder = arg;
        }
    }
    if (!std::filesystem::is_directory(folder)) {
        std::fprintf(stderr,
                     "qon-startup-bench: %s: no such game folder (build qon_content first)\n",
                     folder.c_str());
        return 1;
    }
    const std::string probe = QON_STARTUP_PROBE;
    const std::vector<std::string> env = childEnvironment();

    constexpr std::size_t kSteps = qon::bench::kStartupSteps.size();
    std::vector<std::vector<double>> stepMs(kSteps);
    std::vector<double> flipEntered, total, cpu;
    std::string firstStderr;
    for (int r = 0; r < runs; ++r) {
        const RunResult run = runProbe(probe, folder, window, env);
        if (!run.failure.empty()) {
            std::fprintf(stderr, "qon-startup-bench: run %d: %s\n%s", r + 1, run.failure.c_str(),
                         run.err.c_str());
            return 1;
        }
        if (r == 0) firstStderr = run.err;
        const qon::bench::StartupMarks& m = *run.marks;
        std::int64_t previous = run.spawned;
        for (std::size_t i = 0; i < kSteps; ++i) {
            stepMs[i].push_back(millis(m[i] - previous));
            previous = m[i];
        }
        cpu.push_back(run.cpuMs);
        flipEntered.push_back(millis(m[kSteps - 3] - run.spawned));
        total.push_back(millis(m[kSteps - 1] - run.spawned));
    }
    // What the game says on every start (no sound device, no soundfont) is worth seeing
    // once.
    if (!firstStderr.empty()) std::fprintf(stderr, "the game said:\n%s", firstStderr.c_str());

    std::printf(
        "qon-startup-bench: %d runs of %s on %s (video %s, audio %s, %s; load "
        "average %s)\n",
        runs, probe.c_str(), folder.c_str(),
        std::getenv("SDL_VIDEODRIVER") ? std::getenv("SDL_VIDEODRIVER") : "dummy",
        std::getenv("SDL_AUDIODRIVER") ? std::getenv("SDL_AUDIODRIVER") : "dummy",
        window ? "in a window" : "full screen", qon::bench::LoadAverage().c_str());
    std::printf("%-12s %10s %10s %10s   (ms spent in the step that ends at the mark)\n", "step",
                "median", "90th pct", "worst");
    for (std::size_t i = 0; i < kSteps; ++i) {
        const qon::bench::Summary s = qon::bench::Summarise(stepMs[i]);
        std::printf("%-12s %10.1f %10.1f %10.1f\n",
                    std::string(qon::bench::kStartupSteps[i]).c_str(), s.median, s.p90, s.worst);
    }
    const qon::bench::Summary ready = qon::bench::Summarise(flipEntered);
    const qon::bench::Summary all = qon::bench::Summarise(total);
    std::printf("first frame drawn (FlipScreen entered): median %.1f ms\n", ready.median);
    // Far less CPU than wall time means the machine was busy or the child waited.
    std::printf("CPU time of the whole probe (to its exit, both threads): median %.1f ms\n",
                qon::bench::Summarise(cpu).median);
    // The first FlipScreen returns one pacing period (1/60 s) after its present.
    std::printf(
        "qon-startup-bench: %s: process start to first FlipScreen returned: median "
        "%.1f ms, fastest %.1f ms, slowest %.1f ms (target < %.0f ms)\n",
        all.median < kTargetMs ? "PASS" : "FAIL", all.median,
        *std::min_element(total.begin(), total.end()), all.worst, kTargetMs);
    return 0;
}
