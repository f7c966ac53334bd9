// SPDX-License-Identifier: MIT
#pragma once

// Runs qon-replay as a child process with a time limit and reads back its trace.

#include <string>
#include <vector>

namespace qon::bad_content {

struct TraceLine {
    std::string screen;                 // empty on the closing line
    int stage = 0;                      // StageNumber; 0 on the closing line
    std::vector<std::string> music;     // music calls since the previous line
    std::vector<std::string> messages;  // message boxes shown since the previous line
    bool closing = false;               // the last line, which reports how the run ended
    int end = -1;                       // the closing line's exit status
};

struct ReplayRun {
    bool started = false;
    bool timedOut = false;
    bool signalled = false;  // ended by a signal: a crash, or the time limit
    int exitStatus = -1;
    long peakResidentKb = 0;  // the child's largest resident set, as wait4 reports it
    std::string stderrText;
    std::vector<TraceLine> trace;
};

// Runs `command` (argv[0] first) with `outDir` holding the trace, killing it after
// `seconds`. Standard error is kept.
ReplayRun RunReplay(const std::vector<std::string>& command, const std::string& outDir,
                    int seconds);

// The strings of a JSON array field `"key":[...]` of one trace line.
std::vector<std::string> JsonStrings(const std::string& line, const std::string& key);

}  // namespace qon::bad_content
