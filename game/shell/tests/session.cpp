// SPDX-License-Identifier: MIT
#include "session.h"

#include <utility>

#include "qon/play/game.h"
#include "qon/shell/replay.h"
#include "qon/shell/shell.h"

namespace qon::shell_test {
namespace {

// The replay platform with every drawn text noted.
class RecordingMedia final : public shell::ReplayMedia {
  public:
    void DrawString(media::Surface& s, int x, int y, std::string_view text, std::uint32_t colour,
                    bool transparent, int size) override {
        ReplayMedia::DrawString(s, x, y, text, colour, transparent, size);
        texts.push_back(DrawnText{x, y, std::string(text), colour, transparent, size});
    }
    std::vector<DrawnText> texts;
};

}  // namespace

const DrawnText* Frame::text(const std::string& characters) const {
    for (auto t = texts.rbegin(); t != texts.rend(); ++t) {
        if (t->text == characters) return &*t;
    }
    return nullptr;
}

int Frame::soundCount(const std::string& effect) const {
    int n = 0;
    for (const std::string& s : sounds) n += s == effect ? 1 : 0;
    return n;
}

int Session::first(const std::string& screen, int from) const {
    for (int i = from; i < static_cast<int>(frames.size()); ++i) {
        if (frames[static_cast<std::size_t>(i)].screen == screen) return i;
    }
    return -1;
}

std::vector<std::string> Session::music(int from, int to) const {
    if (to < 0) to = static_cast<int>(frames.size());
    std::vector<std::string> out;
    for (int i = from; i < to; ++i) {
        for (const std::string& call : frames[static_cast<std::size_t>(i)].music)
            out.push_back(call);
    }
    return out;
}

int Session::soundCount(const std::string& effect, int from, int to) const {
    if (to < 0) to = static_cast<int>(frames.size());
    int n = 0;
    for (int i = from; i < to; ++i) n += frames[static_cast<std::size_t>(i)].soundCount(effect);
    return n;
}

std::vector<std::string> Session::messages() const {
    std::vector<std::string> out;
    for (const Frame& f : frames) out.insert(out.end(), f.messages.begin(), f.messages.end());
    out.insert(out.end(), closingMessages.begin(), closingMessages.end());
    return out;
}

Session RunSession(const GameFolder& game, const Pilot& pilot, int maxFrames, bool joystick) {
    Session session;
    RecordingMedia media;
    media.SetScript({}, joystick);
    GameFolders folders = SingleGameFolder(game.folder);
    if (!game.perUser.empty()) {
        folders.user = game.perUser;
        folders.listsInUser = true;
    }
    shell::GameShell shell(media, folders);
    media.NameAfter(shell.game());
    media.SetFlipCallback([&](int number) {
        const play::Game& g = shell.game();
        Frame frame;
        frame.number = number;
        frame.screen = std::string(g.screen);
        frame.texts = std::exchange(media.texts, {});
        frame.sounds = media.TakeSounds();
        frame.music = media.TakeMusicCalls();
        frame.messages = media.TakeMessages();
        frame.cursor = g.menu.MenuCursor;
        for (int i = 0; i < g.menu.MenuCount; ++i) {
            frame.items.push_back(g.menu.MenuItems[static_cast<std::size_t>(i)].Text);
        }
        frame.stage = g.play.StageNumber;
        frame.lives = g.play.Lives;
        session.frames.push_back(frame);
        if (number + 1 >= maxFrames) throw media::QuitRequested{};
        // What the player holds for the next frame: all of it goes down at once.
        const Input input = pilot(session.frames.back(), g);
        std::vector<headless::InputEvent> events;
        for (int key : input.keys) {
            headless::InputEvent down;
            down.frame = number + 1;
            down.type = headless::InputEvent::Type::KeyDown;
            down.key = key;
            events.push_back(down);
        }
        headless::InputEvent stick;
        stick.frame = number + 1;
        stick.type = headless::InputEvent::Type::Joystick;
        stick.joystick = input.joystick;
        events.push_back(stick);
        media.SetScript(std::move(events), joystick);
    });
    session.status = shell.Form_Load();
    session.closingMessages = media.TakeMessages();
    return session;
}

Input Keys(std::initializer_list<int> keys) {
    Input input;
    input.keys = keys;
    return input;
}

Input Joy(std::int32_t buttons, std::int32_t y) {
    Input input;
    input.joystick.buttons = buttons;
    input.joystick.y = y;
    return input;
}

std::vector<Hold> Press(int key, int times) {
    std::vector<Hold> holds;
    for (int i = 0; i < times; ++i) {
        holds.push_back(Hold{Keys({key}), 2});
        holds.push_back(Hold{Input{}, 2});
    }
    return holds;
}

std::vector<Hold> Concat(std::initializer_list<std::vector<Hold>> parts) {
    std::vector<Hold> out;
    for (const std::vector<Hold>& part : parts) out.insert(out.end(), part.begin(), part.end());
    return out;
}

Player& Player::then(std::function<bool(const Frame&)> when, std::vector<Hold> holds) {
    Phase phase;
    phase.when = std::move(when);
    phase.holds = std::move(holds);
    m_phases.push_back(std::move(phase));
    return *this;
}

Player& Player::always(std::function<bool(const Frame&)> when, std::vector<Hold> holds) {
    Phase rule;
    rule.when = std::move(when);
    rule.holds = std::move(holds);
    rule.repeat = true;
    m_rules.push_back(std::move(rule));
    return *this;
}

const Input* Player::step(Phase& phase, const Frame& shown) {
    if (!phase.running) {
        if (phase.done) return nullptr;
        const bool now = phase.when(shown);
        if (!phase.armed) {
            // A repeating rule starts again only once its condition has been false.
            if (!now) phase.armed = true;
            return nullptr;
        }
        if (!now) return nullptr;
        phase.running = true;
        phase.hold = 0;
        phase.held = 0;
        phase.holdScreen = shown.screen;
    }
    while (phase.hold < phase.holds.size()) {
        const Hold& h = phase.holds[phase.hold];
        const bool more = h.frames < 0 ? (phase.held == 0 || shown.screen == phase.holdScreen)
                                       : phase.held < h.frames;
        if (more) {
            ++phase.held;
            return &h.input;
        }
        ++phase.hold;
        phase.held = 0;
        phase.holdScreen = shown.screen;
    }
    phase.running = false;
    if (phase.repeat) {
        phase.armed = false;
    } else {
        phase.done = true;
    }
    return nullptr;
}

Input Player::operator()(const Frame& shown, const play::Game& game) {
    (void)game;
    if (m_skipLogo && shown.screen == "logo") return Keys({media::Vk::Space});
    while (m_phase < m_phases.size()) {
        Phase& phase = m_phases[m_phase];
        if (const Input* input = step(phase, shown)) return *input;
        if (!phase.done) break;
        ++m_phase;
    }
    for (Phase& rule : m_rules) {
        if (const Input* input = step(rule, shown)) return *input;
    }
    return Input{};
}

std::function<bool(const Frame&)> OnScreen(const std::string& screen) {
    return [screen](const Frame& f) { return f.screen == screen; };
}

std::function<bool(const Frame&)> InTitleMenu() {
    return [](const Frame& f) {
        return f.screen == "title" && f.items.size() == 4 && f.items[0] == "New Game" &&
               f.text("New Game") != nullptr;
    };
}

}  // namespace qon::shell_test
