// SPDX-License-Identifier: MIT
#pragma once

// What the shell's screens share: colours, the menu's select mask and spacing, the frame
// counts of the wipes and holds, and the bar wipe itself.

#include <cstdint>

#include "qon/media/media.h"

namespace qon::shell::detail {

inline constexpr std::uint32_t kBlack = media::Rgb(0, 0, 0);
inline constexpr std::uint32_t kWhite = media::Rgb(255, 255, 255);
inline constexpr std::uint32_t kTitleBlue = media::Rgb(50, 20, 255);

inline constexpr int kMenuSelect = 8;  // button 4 alone
inline constexpr int kMenuSpacing = 20;
inline constexpr int kWipeSteps = 13;
inline constexpr int kHoldFrames = 250;

// Where the main menu stands; the configuration and load screens lay it out there again
// before they hand it back to the title.
inline constexpr int kMainMenuX = 270;
inline constexpr int kMainMenuY = 270;

inline constexpr const char* kMessageTitle = "qon";

// One frame of the bar wipe that opens and closes the logo and the ending pages: 65
// black vertical lines at x = 0, 10, ..., 640 of the given width over what BackBuffer
// holds. Revealing uses widths 13 down to 1, hiding 1 up to 13.
inline void DrawBarWipe(media::Media& media, int lineWidth) {
    for (int k = 0; k <= 64; ++k) {
        media.DrawLine(media.BackBuffer(), 10 * k, 0, 10 * k, 480, kBlack, kBlack, 0, 0, lineWidth);
    }
}

}  // namespace qon::shell::detail
