// SPDX-License-Identifier: MIT
#pragma once

#include <string>

namespace qon::headless {

struct FontChoice {
    std::string file;     // empty when no usable face was found
    int faceIndex = 0;    // face within a collection file
    bool isBold = false;  // the face itself is bold; otherwise bold is synthesised
    std::string family;
};

// The game's face "DFPOP体" (lang=ja, bold) when installed, else a rounded Japanese face
// (Motoya L Maruberi), else IPAGothic, else whatever Japanese face fontconfig offers.
// A face without Japanese glyphs is never chosen: fontconfig answers a bare family
// request with a Latin face.
FontChoice FindGameFont();

}  // namespace qon::headless
