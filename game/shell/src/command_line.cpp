// SPDX-License-Identifier: MIT
#include "qon/shell/command_line.h"

#include <charconv>
#include <cstdint>
#include <limits>
#include <utility>

namespace qon::shell {

namespace {

// The stage number is a 16-bit value in play.
constexpr int kLargestStage = std::numeric_limits<std::int16_t>::max();

std::optional<int> parseStage(const std::string& text) {
    int value = 0;
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value);
    if (ec != std::errc() || ptr != end || value < 1 || value > kLargestStage) return std::nullopt;
    return value;
}

}  // namespace

bool TestPlayArguments::take(const std::vector<std::string>& args, std::size_t& i,
                             std::string& error) {
    const std::string& option = args[i];
    std::optional<std::string>* text = nullptr;
    if (option == "--play") {
        text = &m_project;
    } else if (option == "--graphic-set") {
        text = &m_graphicSet;
    } else if (option == "--music-set") {
        text = &m_musicSet;
    } else if (option != "--stage") {
        return false;
    }
    const bool given = text != nullptr ? text->has_value() : m_stage.has_value();
    if (given) {
        error = option + " is given twice";
        return true;
    }
    if (i + 1 >= args.size() || args[i + 1].empty()) {
        error = option + " needs a value";
        return true;
    }
    const std::string& value = args[++i];
    if (text != nullptr) {
        *text = value;
        return true;
    }
    m_stage = parseStage(value);
    if (!m_stage) error = "--stage takes a stage number from 1 to " + std::to_string(kLargestStage);
    return true;
}

std::optional<TestPlayOptions> TestPlayArguments::finish(std::string& error) const {
    if (!m_project) {
        for (const auto& [given, option] : {std::pair{m_stage.has_value(), "--stage"},
                                            std::pair{m_graphicSet.has_value(), "--graphic-set"},
                                            std::pair{m_musicSet.has_value(), "--music-set"}}) {
            if (given) error = std::string(option) + " belongs to a test play: give --play too";
        }
        return std::nullopt;
    }
    TestPlayOptions options;
    options.projectPath = *m_project;
    options.stage = m_stage.value_or(1);
    options.graphicSetPath = m_graphicSet.value_or("");
    options.musicSetPath = m_musicSet.value_or("");
    return options;
}

std::optional<GameCommandLine> ParseGameCommandLine(const std::vector<std::string>& args,
                                                    std::string& error) {
    error.clear();
    GameCommandLine line;
    for (const char* word : {"--help", "--version"}) {
        for (const std::string& arg : args) {
            if (arg == word) {
                line.action = arg == "--help" ? GameCommandLine::Action::Help
                                              : GameCommandLine::Action::Version;
                return line;
            }
        }
    }
    TestPlayArguments testPlay;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (testPlay.take(args, i, error)) {
            if (!error.empty()) return std::nullopt;
            continue;
        }
        error = args[i].rfind("--", 0) == 0 ? "unknown option " + args[i]
                                            : "unexpected argument " + args[i];
        return std::nullopt;
    }
    const std::optional<TestPlayOptions> options = testPlay.finish(error);
    if (!error.empty()) return std::nullopt;
    if (options) {
        line.action = GameCommandLine::Action::TestPlay;
        line.testPlay = *options;
    }
    return line;
}

std::string GameHelpText() {
    return "Usage: qon\n"
           "       qon --play PROJECT.stp [--stage N] [--graphic-set SET.bgp] "
           "[--music-set SET.msp]\n"
           "       qon --help | --version\n"
           "\n"
           "Without arguments qon starts the game: the opening, the title and the sets\n"
           "chosen in its configuration screen.\n"
           "\n"
           "Test play of a stage project (what the stage editor Tessel starts with F5):\n"
           "  --play PROJECT.stp     play this stage project, without the logo and the\n"
           "                         title; the program ends where play would go back to\n"
           "                         the title: \"Goto Title\" in the pause or game-over menu,\n"
           "                         or the end of the last stage, after the ending\n"
           "  --stage N              start at stage N (default 1), with its intro\n"
           "  --graphic-set SET.bgp  play with this graphic set instead of the chosen one\n"
           "  --music-set SET.msp    play with this music set instead of the chosen one\n"
           "A test play writes nothing: no Init.bse and no save file; the save screen\n"
           "between two stages is skipped. Without --graphic-set or --music-set it reads\n"
           "the player's choice (Init.bse and the lists, or else the first set of each\n"
           "list); without any music set it plays silent.\n"
           "\n"
           "  --help                 print this help and exit\n"
           "  --version              print the version and exit\n"
           "\n"
           "Exit status: 0 when the game ends normally; 1 when it cannot start, or a test\n"
           "play's stage project or set cannot be read (a message names the file); 2 for a\n"
           "command line it does not understand.\n";
}

std::string GameVersionText() {
    return std::string("qon ") + QON_VERSION + "\n";
}

}  // namespace qon::shell
