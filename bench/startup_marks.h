// SPDX-License-Identifier: MIT
#pragma once

// The line through which qon-startup-probe tells qon-startup-bench when each step of
// its start-up ended. Both sides read CLOCK_MONOTONIC, which is one clock for every
// process of the machine, so the parent can subtract the moment it spawned the child.
//
//   qon-startup-probe main=NS display=NS sound=NS font=NS logo=NS effects=NS draw=NS
//   flip=NS present=NS presented=NS
//
// NS is nanoseconds on CLOCK_MONOTONIC; 0 means the step was never reached.

#include <array>
#include <charconv>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace qon::bench {

// The steps in the order they happen.
inline constexpr std::array<std::string_view, 10> kStartupSteps = {
    "main",       // main() entered: process creation, exec and dynamic linking are behind
    "display",    // window, renderer and streaming texture made
    "sound",      // audio device opened, the synth started
    "font",       // the game's face looked up through fontconfig and opened
    "logo",       // "Logo.bmp" loaded
    "effects",    // the eight effects loaded
    "draw",       // the lists and "Init.bse" read: the first frame begins to draw
    "flip",       // the first frame drawn: FlipScreen entered
    "present",    // the first event pump of FlipScreen's pacing wait: the frame is on
                  // screen (plus one doze of at most 2 ms)
    "presented",  // the first FlipScreen returned, after the rest of its 1/60 s pacing
};

inline constexpr std::string_view kProbeTag = "qon-startup-probe";

using StartupMarks = std::array<std::int64_t, kStartupSteps.size()>;

inline std::string FormatStartupMarks(const StartupMarks& marks) {
    std::string line(kProbeTag);
    for (std::size_t i = 0; i < marks.size(); ++i) {
        line += ' ';
        line += kStartupSteps[i];
        line += '=';
        line += std::to_string(marks[i]);
    }
    return line;
}

// Reads the probe's line out of its whole standard output (other lines are ignored).
// Nothing when no line carries the tag or a step is missing, repeated or not a number.
inline std::optional<StartupMarks> ParseStartupMarks(std::string_view output) {
    std::size_t at = 0;
    while (at < output.size()) {
        std::size_t end = output.find('\n', at);
        if (end == std::string_view::npos) end = output.size();
        std::string_view line = output.substr(at, end - at);
        at = end + 1;
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (line.substr(0, kProbeTag.size()) != kProbeTag) continue;
        line.remove_prefix(kProbeTag.size());

        StartupMarks marks{};
        std::array<bool, kStartupSteps.size()> seen{};
        bool ok = true;
        while (ok && !line.empty()) {
            if (line.front() == ' ') {
                line.remove_prefix(1);
                continue;
            }
            std::size_t stop = line.find(' ');
            if (stop == std::string_view::npos) stop = line.size();
            const std::string_view field = line.substr(0, stop);
            line.remove_prefix(stop);
            const std::size_t eq = field.find('=');
            ok = false;
            if (eq == std::string_view::npos) break;
            for (std::size_t i = 0; i < kStartupSteps.size(); ++i) {
                if (kStartupSteps[i] != field.substr(0, eq) || seen[i]) continue;
                const std::string_view digits = field.substr(eq + 1);
                const auto [ptr, ec] =
                    std::from_chars(digits.data(), digits.data() + digits.size(), marks[i]);
                ok = ec == std::errc() && ptr == digits.data() + digits.size() && !digits.empty() &&
                     marks[i] >= 0;
                seen[i] = true;
                break;
            }
        }
        if (!ok) return std::nullopt;
        for (bool s : seen) {
            if (!s) return std::nullopt;
        }
        return marks;
    }
    return std::nullopt;
}

// True when every step ended no earlier than the one before it. Marks out of order mean
// the start-up no longer runs its steps in this order, and the split would be false.
inline bool MarksInOrder(const StartupMarks& marks) {
    for (std::size_t i = 1; i < marks.size(); ++i) {
        if (marks[i] < marks[i - 1]) return false;
    }
    return true;
}

}  // namespace qon::bench
