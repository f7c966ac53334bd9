// SPDX-License-Identifier: MIT
#pragma once

// Whole runs of the game in the test process, on the replay platform, steered by a
// player that looks at each presented frame and decides what is held for the next one.
// Every frame keeps what the game did in it: the screen, the texts drawn, the effects,
// the music calls and the messages.

#include <cstdint>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "game_folder.h"
#include "qon/media/controller.h"

namespace qon::play {
struct Game;
}

namespace qon::shell_test {

struct DrawnText {
    int x = 0;
    int y = 0;
    std::string text;
    std::uint32_t colour = 0;
    bool transparent = false;
    int size = 0;
};

struct Frame {
    int number = 0;
    std::string screen;
    std::vector<DrawnText> texts;
    std::vector<std::string> sounds;
    std::vector<std::string> music;
    std::vector<std::string> messages;
    int cursor = 0;
    std::vector<std::string> items;
    int stage = 0;
    int lives = 0;

    // The last text drawn with exactly these characters (the one left on top), or
    // nullptr.
    const DrawnText* text(const std::string& characters) const;
    int soundCount(const std::string& effect) const;
};

struct Input {
    std::set<int> keys;  // virtual key codes held
    media::JoystickSample joystick;
};

// What is held for the next frame, given the frame just presented.
using Pilot = std::function<Input(const Frame& shown, const play::Game& game)>;

struct Session {
    int status = -1;
    std::vector<Frame> frames;
    std::vector<std::string> closingMessages;  // shown after the last frame

    // Index of the first frame from `from` on that shows `screen`; -1 when none.
    int first(const std::string& screen, int from = 0) const;
    // Every music call from frame `from` to frame `to` (exclusive; -1 = to the end).
    std::vector<std::string> music(int from = 0, int to = -1) const;
    int soundCount(const std::string& effect, int from = 0, int to = -1) const;
    std::vector<std::string> messages() const;
};

// Runs the game from its start until it ends or `maxFrames` frames were presented.
// With `joystick`, a joystick is present (centred, no button) from the start.
Session RunSession(const GameFolder& game, const Pilot& pilot, int maxFrames,
                   bool joystick = false);

// ---- a player made of phases ---------------------------------------------------

// One input held for some frames. frames = -1 holds it until the screen differs from the
// one shown when the hold began.
struct Hold {
    Input input;
    int frames = 1;
};

Input Keys(std::initializer_list<int> keys);
Input Joy(std::int32_t buttons, std::int32_t y = media::kAxisCentre);
// A press: the key down for two frames, then two frames with nothing held.
std::vector<Hold> Press(int key, int times = 1);
std::vector<Hold> Concat(std::initializer_list<std::vector<Hold>> parts);

// Plays phases one after the other. A phase waits for its condition, then plays its
// holds in order; nothing is held while waiting, except that Space is held through the
// opening logo to skip it when `skipLogo` is set.
class Player {
  public:
    explicit Player(bool skipLogo = true) : m_skipLogo(skipLogo) {}
    Player& then(std::function<bool(const Frame&)> when, std::vector<Hold> holds);
    // Besides the phases: plays `holds` every time `when` becomes true, for the whole
    // run, whenever no phase is playing.
    Player& always(std::function<bool(const Frame&)> when, std::vector<Hold> holds);
    Input operator()(const Frame& shown, const play::Game& game);

  private:
    struct Phase {
        std::function<bool(const Frame&)> when;
        std::vector<Hold> holds;
        bool repeat = false;
        bool armed = true;
        bool running = false;
        bool done = false;
        std::size_t hold = 0;
        int held = 0;
        std::string holdScreen;
    };
    static const Input* step(Phase& phase, const Frame& shown);
    bool m_skipLogo;
    std::vector<Phase> m_phases;
    std::vector<Phase> m_rules;
    std::size_t m_phase = 0;
};

// Conditions.
std::function<bool(const Frame&)> OnScreen(const std::string& screen);
// The title with its main menu up (not the slide-in).
std::function<bool(const Frame&)> InTitleMenu();

}  // namespace qon::shell_test
