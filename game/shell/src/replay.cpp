// SPDX-License-Identifier: MIT
#include "qon/shell/replay.h"

#include <charconv>
#include <cstdio>
#include <filesystem>
#include <map>
#include <ostream>
#include <utility>

#include "qon/data/error.h"
#include "qon/data/files.h"
#include "qon/play/game.h"
#include "qon/shell/scripted_player.h"
#include "qon/shell/shell.h"

namespace qon::shell {
namespace {

namespace fs = std::filesystem;

// The screens a trace line can name, for --stop-on.
const std::set<std::string, std::less<>>& screenNames() {
    static const std::set<std::string, std::less<>> names = {
        "loading", "logo", "title", "config",   "load", "intro",  "play",
        "pause",   "miss", "clear", "gameover", "save", "ending",
    };
    return names;
}

const std::map<std::string, int, std::less<>>& keyNames() {
    static const std::map<std::string, int, std::less<>> names = {
        {"Left", media::Vk::Left},   {"Right", media::Vk::Right}, {"Up", media::Vk::Up},
        {"Down", media::Vk::Down},   {"Space", media::Vk::Space}, {"Esc", media::Vk::Esc},
        {"Enter", media::Vk::Enter}, {"E", media::Vk::E},
    };
    return names;
}

std::optional<long long> parseNumber(std::string_view text) {
    long long value = 0;
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value);
    if (ec != std::errc() || ptr != end) return std::nullopt;
    return value;
}

std::vector<std::string_view> words(std::string_view line) {
    std::vector<std::string_view> out;
    std::size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && (line[i] == ' ' || line[i] == '\t' || line[i] == '\r')) ++i;
        std::size_t j = i;
        while (j < line.size() && line[j] != ' ' && line[j] != '\t' && line[j] != '\r') ++j;
        if (j > i) out.push_back(line.substr(i, j - i));
        i = j;
    }
    return out;
}

void appendJsonString(std::string& out, std::string_view text) {
    out.push_back('"');
    for (const char c : text) {
        switch (c) {
            case '"':
                out += "\\\"";
                break;
            case '\\':
                out += "\\\\";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\r':
                out += "\\r";
                break;
            case '\t':
                out += "\\t";
                break;
            default:
                if (static_cast<unsigned char>(c) < 0x20) {
                    char buffer[8];
                    std::snprintf(buffer, sizeof buffer, "\\u%04x", c);
                    out += buffer;
                } else {
                    out.push_back(c);  // UTF-8 passes through
                }
        }
    }
    out.push_back('"');
}

void appendStrings(std::string& out, const char* key, const std::vector<std::string>& items) {
    out += ",\"";
    out += key;
    out += "\":[";
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (i > 0) out.push_back(',');
        appendJsonString(out, items[i]);
    }
    out.push_back(']');
}

template <typename Field>
void appendGridField(std::string& out, const char* key, const StageGrid& grid, Field field) {
    out += ",\"";
    out += key;
    out += "\":[";
    for (int i = 0; i < kGridCells; ++i) {
        if (i > 0) out.push_back(',');
        out += std::to_string(field(grid[static_cast<std::size_t>(i)]));
    }
    out.push_back(']');
}

std::string num(long long value) {
    return std::to_string(value);
}

}  // namespace

std::string EffectName(const play::Game& game, const media::SoundEffect& effect) {
    const play::SoundEffects& se = game.sounds;
    const std::pair<const media::SoundEffectPtr*, const char*> names[] = {
        {&se.SeBar, "SeBar"},     {&se.SeBlock, "SeBlock"},   {&se.SeCur, "SeCur"},
        {&se.SeItem, "SeItem"},   {&se.SeSelect, "SeSelect"}, {&se.SeBreak, "SeBreak"},
        {&se.SeBlack, "SeBlack"}, {&se.SeKin, "SeKin"},
    };
    for (const auto& [slot, name] : names) {
        if (slot->get() == &effect) return name;
    }
    return "(unnamed)";
}

std::string TrackLabel(const play::Game& game, const media::MusicTrack& track) {
    const play::MusicSet& music = game.music;
    if (music.TitleMusic.get() == &track) return "title";
    if (music.EndingMusic.get() == &track) return "ending";
    for (std::size_t i = 0; i < music.StageMusic.size(); ++i) {
        if (music.StageMusic[i].get() == &track) return "stage:" + std::to_string(i);
    }
    return "(unlabelled)";
}

void ReplayMedia::NameAfter(const play::Game& game) {
    SetNames([&game](const media::SoundEffect& effect) { return EffectName(game, effect); },
             [&game](const media::MusicTrack& track) { return TrackLabel(game, track); });
}

void ReplayMedia::collectMusicCalls() {
    for (std::string& call : HeadlessMedia::TakeMusic()) m_musicCalls.push_back(std::move(call));
}

bool ReplayMedia::PlayMusic(media::MusicTrack* track, int repeats) {
    collectMusicCalls();  // what came before keeps its place
    const bool played = HeadlessMedia::PlayMusic(track, repeats);
    for (std::string& call : HeadlessMedia::TakeMusic()) {
        m_musicCalls.push_back(std::move(call) + " x" + std::to_string(repeats));
    }
    return played;
}

std::vector<std::string> ReplayMedia::TakeMusicCalls() {
    collectMusicCalls();
    return std::exchange(m_musicCalls, {});
}

ReplayScript ParseReplayScript(std::string_view text, const std::string& fileName) {
    ReplayScript script;
    int lineNumber = 0;
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos) end = text.size();
        std::string_view line = text.substr(start, end - start);
        start = end + 1;
        ++lineNumber;
        if (const std::size_t hash = line.find('#'); hash != std::string_view::npos) {
            line = line.substr(0, hash);
        }
        const std::vector<std::string_view> w = words(line);
        if (w.empty()) {
            if (end == text.size()) break;
            continue;
        }
        auto fail = [&](const std::string& reason) {
            throw ReplayScriptError(QuotedPath(fileName) + ", line " + std::to_string(lineNumber) +
                                    ": " + reason);
        };
        const std::optional<long long> frame = parseNumber(w[0]);
        if (!frame || *frame < 0 || *frame > 100000000) {
            fail("\"" + std::string(w[0]) + "\" is not a frame number (0 or more)");
        }
        if (w.size() < 2) fail("an event (down, up, joy, shot or grid) must follow the frame");
        const std::string_view verb = w[1];
        const int at = static_cast<int>(*frame);
        if (verb == "down" || verb == "up") {
            if (w.size() != 3) fail(std::string(verb) + " takes one key");
            const auto key = keyNames().find(w[2]);
            if (key == keyNames().end()) {
                fail("unknown key \"" + std::string(w[2]) +
                     "\" (keys: Left Right Up Down Space Esc Enter E)");
            }
            headless::InputEvent event;
            event.frame = at;
            event.type = verb == "down" ? headless::InputEvent::Type::KeyDown
                                        : headless::InputEvent::Type::KeyUp;
            event.key = key->second;
            script.input.push_back(event);
        } else if (verb == "joy") {
            if (w.size() != 5) fail("joy takes X Y BUTTONS");
            const auto x = parseNumber(w[2]);
            const auto y = parseNumber(w[3]);
            const auto buttons = parseNumber(w[4]);
            if (!x || !y || *x < 0 || *x > 65535 || *y < 0 || *y > 65535) {
                fail("joy axes must be numbers from 0 to 65535");
            }
            if (!buttons || *buttons < 0 || *buttons > 0x7FFFFFFF) {
                fail("joy buttons must be a bit mask (a number of 0 or more)");
            }
            headless::InputEvent event;
            event.frame = at;
            event.type = headless::InputEvent::Type::Joystick;
            event.joystick =
                media::JoystickSample{static_cast<std::int32_t>(*x), static_cast<std::int32_t>(*y),
                                      static_cast<std::int32_t>(*buttons)};
            script.input.push_back(event);
            script.joystickPresent = true;
        } else if (verb == "shot" || verb == "grid") {
            if (w.size() != 2) fail(std::string(verb) + " takes nothing after it");
            (verb == "shot" ? script.shots : script.grids).insert(at);
        } else {
            fail("unknown event \"" + std::string(verb) + "\" (down, up, joy, shot, grid)");
        }
        if (end == text.size()) break;
    }
    return script;
}

std::optional<ReplayOptions> ParseReplayArguments(const std::vector<std::string>& args,
                                                  std::string& error) {
    error.clear();
    ReplayOptions options;
    TestPlayArguments testPlay;
    std::vector<std::string> positional;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (testPlay.take(args, i, error)) {
            if (!error.empty()) return std::nullopt;
            continue;
        }
        if (arg == "--seed" || arg == "--frames" || arg == "--out" || arg == "--player" ||
            arg == "--stop-on") {
            if (i + 1 >= args.size()) {
                error = arg + " needs a value";
                return std::nullopt;
            }
            const std::string& value = args[++i];
            if (arg == "--out") {
                options.outDir = value;
                continue;
            }
            if (arg == "--stop-on") {
                if (screenNames().count(value) == 0) {
                    error =
                        "--stop-on takes a screen of the trace (loading, logo, title, "
                        "config, load, intro, play, pause, miss, clear, gameover, save, "
                        "ending)";
                    return std::nullopt;
                }
                options.stopOn.insert(value);
                continue;
            }
            const auto number = parseNumber(value);
            if (arg == "--seed" || arg == "--player") {
                if (!number || *number < 0 || *number > 0xFFFFFFFFLL) {
                    error = arg + " takes a number from 0 to 4294967295";
                    return std::nullopt;
                }
                const auto seed = static_cast<std::uint32_t>(*number);
                if (arg == "--seed") {
                    options.seed = seed;
                } else {
                    options.playerSeed = seed;
                }
            } else {
                if (!number || *number < 1 || *number > 100000000) {
                    error = "--frames takes a number of 1 or more";
                    return std::nullopt;
                }
                options.frames = static_cast<int>(*number);
            }
        } else if (arg.rfind("--", 0) == 0) {
            error = "unknown option " + arg;
            return std::nullopt;
        } else {
            positional.push_back(arg);
        }
    }
    options.testPlay = testPlay.finish(error);
    if (!error.empty()) return std::nullopt;
    const std::size_t wanted = options.playerSeed ? 1 : 2;
    if (positional.size() != 2 && positional.size() != wanted) {
        error = options.playerSeed ? "expected GAMEFOLDER and perhaps SCRIPT"
                                   : "expected GAMEFOLDER and SCRIPT";
        return std::nullopt;
    }
    options.gameFolder = positional[0];
    if (positional.size() == 2) options.scriptPath = positional[1];
    return options;
}

std::string TraceLine(int frame, ReplayMedia& media, const play::Game& game, bool withGrid) {
    const play::PlayState& p = game.play;
    int minis = 0;
    for (const play::MiniBall& ball : p.MiniBallRing.slots) minis += ball.Active != 0 ? 1 : 0;
    std::string out;
    out.reserve(withGrid ? 4096 : 512);
    out += "{\"frame\":" + num(frame);
    out += ",\"screen\":";
    appendJsonString(out, game.screen);
    out += ",\"stage\":" + num(p.StageNumber);
    out += ",\"lives\":" + num(p.Lives);
    out += ",\"score\":" + num(p.Score);
    out += ",\"combo\":" + num(p.Combo);
    out += ",\"comboTimer\":" + num(p.ComboTimer);
    out += ",\"ball\":{\"x\":" + num(p.Ball.X) + ",\"y\":" + num(p.Ball.Y) +
           ",\"dx\":" + num(p.Ball.DX) + ",\"dy\":" + num(p.Ball.DY) + "}";
    out += ",\"bar\":{\"x\":" + num(p.Bar.X) + ",\"y\":" + num(p.Bar.Y) +
           ",\"w\":" + num(p.Bar.Width) + "}";
    out += ",\"launch\":{\"dx\":" + num(p.LaunchDX) + ",\"dy\":" + num(p.LaunchDY) + "}";
    out += std::string(",\"magnet\":") + (p.MagnetOn ? "true" : "false");
    out += std::string(",\"fire\":") + (p.FireBallOn ? "true" : "false");
    out += ",\"minis\":" + num(minis);
    // The shared menu as it stands (between menus it keeps the last one's items).
    const play::Menu& menu = game.menu;
    out += ",\"cursor\":" + num(menu.MenuCursor);
    std::vector<std::string> items;
    for (int i = 0; i < menu.MenuCount; ++i) {
        items.push_back(menu.MenuItems[static_cast<std::size_t>(i)].Text);
    }
    appendStrings(out, "items", items);
    appendStrings(out, "sounds", media.TakeSounds());
    appendStrings(out, "music", media.TakeMusicCalls());
    appendStrings(out, "messages", media.TakeMessages());
    if (withGrid) {
        appendGridField(out, "kinds", p.StageGrid, [](const BlockCell& c) { return c.Kind; });
        appendGridField(out, "hp", p.StageGrid, [](const BlockCell& c) { return c.HitPoints; });
        appendGridField(out, "alive", p.StageGrid, [](const BlockCell& c) { return c.Alive; });
    }
    out.push_back('}');
    return out;
}

int RunReplay(const ReplayOptions& options, std::ostream& err) {
    ReplayScript script;
    if (!options.scriptPath.empty()) {
        std::string text;
        try {
            text = ReadFileBytes(options.scriptPath, kMaxTextFileBytes);
        } catch (const DataError&) {
            err << "qon-replay: " << QuotedPath(options.scriptPath)
                << ": the script cannot be read\n";
            return kExitUsage;
        }
        try {
            script = ParseReplayScript(text, options.scriptPath);
        } catch (const ReplayScriptError& error) {
            err << "qon-replay: " << error.what() << '\n';
            return kExitUsage;
        }
    }
    std::error_code fsError;
    fs::create_directories(options.outDir, fsError);
    // The trace is kept in memory and written whole at the end; an empty one is written
    // first so that an unusable output folder stops the run before it starts.
    const std::string tracePath = (fs::path(options.outDir) / "trace.jsonl").string();
    std::string trace;
    try {
        WriteFileAtomic(tracePath, trace);
    } catch (const DataError&) {
        err << "qon-replay: " << QuotedPath(tracePath) << ": cannot be written\n";
        return kExitUsage;
    }

    std::string folder = fs::absolute(options.gameFolder).lexically_normal().string();
    if (folder.empty() || folder.back() != '/') folder += '/';

    ReplayMedia media(options.seed);
    media.SetScript(script.input, script.joystickPresent);
    // English, with the data library's reasons (its default): a trace never depends on the
    // machine's locale, and scripts that check messages read one language.
    GameShell shell(media, folder, Language::English);
    media.NameAfter(shell.game());
    std::optional<ScriptedPlayer> player;
    if (options.playerSeed) player.emplace(*options.playerSeed);
    int lastFrame = -1;
    std::string shotError;
    media.SetFlipCallback([&](int frame) {
        lastFrame = frame;
        trace += TraceLine(frame, media, shell.game(), script.grids.count(frame) != 0);
        trace.push_back('\n');
        if (script.shots.count(frame) != 0) {
            const fs::path shot =
                fs::path(options.outDir) / ("frame-" + std::to_string(frame) + ".bmp");
            try {
                media.SaveBitmap(media.BackBuffer(), shot.string());
            } catch (const media::MediaError& error) {
                // A failing output folder is the runner's problem, not the game's: stop
                // the run rather than let the game report it as bad content.
                shotError = error.what();
                throw media::QuitRequested{};
            }
        }
        if (options.stopOn.count(shell.game().screen) != 0) throw media::QuitRequested{};
        if (options.frames > 0 && frame + 1 >= options.frames) throw media::QuitRequested{};
        if (player) {
            // Set before the script's events of the next frame apply, which therefore win
            // for that frame.
            const PlayerKeys keys = player->next(ViewOf(shell.game()));
            media.SetKey(media::Vk::Left, keys.left);
            media.SetKey(media::Vk::Right, keys.right);
            media.SetKey(media::Vk::Down, keys.down);
            media.SetKey(media::Vk::Space, keys.space);
        }
    });
    const int status = options.testPlay ? shell.TestPlay(*options.testPlay) : shell.Form_Load();

    // What happened after the last presented frame (a closing message above all) goes
    // into one closing line, so that a run that ends in an error says why.
    const std::vector<std::string> messages = media.TakeMessages();
    for (const std::string& message : messages) err << "qon-replay: message: " << message << '\n';
    std::string last = "{\"end\":" + num(status) + ",\"frames\":" + num(lastFrame + 1);
    appendStrings(last, "sounds", media.TakeSounds());
    appendStrings(last, "music", media.TakeMusicCalls());
    appendStrings(last, "messages", messages);
    last.push_back('}');
    trace += last;
    trace.push_back('\n');
    bool traceWritten = true;
    try {
        WriteFileAtomic(tracePath, trace);
    } catch (const DataError&) {
        traceWritten = false;
    }
    if (!shotError.empty()) {
        err << "qon-replay: " << shotError << '\n';
        return kExitUsage;
    }
    if (!traceWritten) {
        err << "qon-replay: " << QuotedPath(tracePath) << ": writing failed\n";
        return kExitUsage;
    }
    return status;
}

}  // namespace qon::shell
