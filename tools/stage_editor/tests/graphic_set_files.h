// SPDX-License-Identifier: MIT
// Graphic sets on disk for the stage editor's tests: 20 solid-colour palette bitmaps and
// the set file naming them.
#pragma once

#include <QColor>
#include <QImage>
#include <cstdint>
#include <string>
#include <vector>

#include "painting.h"
#include "qon/data/graphic_set.h"
#include "qon/test_support/bytes.h"
#include "qon/test_support/media_bytes.h"
#include "qon/test_support/scratch_folder.h"

namespace qon::stage_editor::test {

// A distinct solid colour for each of the 20 palette images (file order).
inline QRgb SlotColour(int fileSlot) {
    return qRgb(10 + fileSlot * 11, 200 - fileSlot * 7, (fileSlot * 53) % 256);
}

// QRgb as the bitmap writer takes it: red + 256 * green + 65536 * blue.
inline std::uint32_t BmpColour(QRgb colour) {
    return static_cast<std::uint32_t>(qRed(colour)) |
           static_cast<std::uint32_t>(qGreen(colour)) << 8 |
           static_cast<std::uint32_t>(qBlue(colour)) << 16;
}

// Writes 20 solid-colour bitmaps and a graphic set file naming them, cut to
// `lines` lines (25 for a whole file).
inline std::string MakeGraphicSet(const test_support::ScratchFolder& dir, int lines,
                                  int missingPicture = -1) {
    std::vector<std::string> text = {"Test set", "Painter"};
    for (int slot = 0; slot < kBitmapSlots; ++slot) {
        std::string name = "pic" + std::to_string(slot) + ".bmp";
        text.push_back(name);
        if (slot < 20 && slot != missingPicture) {
            test_support::WriteBytes(
                dir.file(name), test_support::SolidBmpBytes(53, 15, BmpColour(SlotColour(slot))));
        }
    }
    text.resize(static_cast<std::size_t>(lines));
    std::string path = dir.file("set.bgp");
    test_support::WriteBytes(path, CrLf(text));
    return path;
}

inline bool SameImage(const QImage& a, const QImage& b) {
    return a.convertToFormat(QImage::Format_RGB32) == b.convertToFormat(QImage::Format_RGB32);
}

}  // namespace qon::stage_editor::test
