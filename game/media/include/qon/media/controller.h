// SPDX-License-Identifier: MIT
#pragma once

// How a joystick and the keyboard merge into one ControllerState. Every platform samples
// its devices into the two small records below and calls MergeController, so the
// thresholds and the merge rules exist once.

#include <cstdint>

#include "qon/media/media.h"

namespace qon::media {

// Axis thresholds: the stick counts as left below LeftLimit and right above RightLimit
// (likewise up and down).
struct JoystickLimits {
    std::int32_t LeftLimit = 0;
    std::int32_t RightLimit = 0;
    std::int32_t UpLimit = 0;
    std::int32_t DownLimit = 0;
};

// Platforms report axes on 0..65535, the range the thresholds were made for.
inline constexpr std::int32_t kAxisMin = 0;
inline constexpr std::int32_t kAxisMax = 65535;
inline constexpr std::int32_t kAxisCentre = 32768;

inline JoystickLimits LimitsFor(std::int32_t xMin, std::int32_t xMax, std::int32_t yMin,
                                std::int32_t yMax, std::int32_t deadZone) {
    return JoystickLimits{xMin + deadZone, xMax - deadZone, yMin + deadZone, yMax - deadZone};
}

// One joystick reading: raw axes and the button bits (1, 2, 4, 8 for buttons 1 to 4).
struct JoystickSample {
    std::int32_t x = kAxisCentre;
    std::int32_t y = kAxisCentre;
    std::int32_t buttons = 0;
};

// The keys ReadController looks at, as down/up at the moment of sampling.
struct KeyboardSample {
    bool left = false;
    bool right = false;
    bool up = false;
    bool down = false;
    bool assigned[4] = {false, false, false, false};  // the keys of KeyAssign, buttons 1 to 4
};

// joystick == nullptr means no joystick is in use. A pressed arrow key overrides the
// stick on its own axis; both keys of one axis cancel out and leave the stick's value.
// Assigned keys replace the joystick's button bits rather than adding to them.
inline ControllerState MergeController(const JoystickSample* joystick, const JoystickLimits& limits,
                                       const KeyboardSample& keys) {
    ControllerState state;
    if (joystick != nullptr) {
        state.ControllerX = static_cast<std::int16_t>((joystick->x > limits.RightLimit ? 1 : 0) -
                                                      (joystick->x < limits.LeftLimit ? 1 : 0));
        state.ControllerY = static_cast<std::int16_t>((joystick->y > limits.DownLimit ? 1 : 0) -
                                                      (joystick->y < limits.UpLimit ? 1 : 0));
        state.ControllerButtons = joystick->buttons;
    }
    const int horizontal = (keys.right ? 1 : 0) - (keys.left ? 1 : 0);
    if (horizontal != 0) state.ControllerX = static_cast<std::int16_t>(horizontal);
    const int vertical = (keys.down ? 1 : 0) - (keys.up ? 1 : 0);
    if (vertical != 0) state.ControllerY = static_cast<std::int16_t>(vertical);
    const std::int32_t mask = (keys.assigned[0] ? 1 : 0) + (keys.assigned[1] ? 2 : 0) +
                              (keys.assigned[2] ? 4 : 0) + (keys.assigned[3] ? 8 : 0);
    if (mask != 0) state.ControllerButtons = mask;
    return state;
}

}  // namespace qon::media
