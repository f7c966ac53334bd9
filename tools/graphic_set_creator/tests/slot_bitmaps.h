// SPDX-License-Identifier: MIT
// Bitmaps for the graphic set creator's tests, written into a scratch folder.
#pragma once

#include <cstdint>
#include <string>

#include "qon/data/graphic_set.h"
#include "qon/test_support/bytes.h"
#include "qon/test_support/media_bytes.h"
#include "qon/test_support/scratch_folder.h"

namespace qon::graphic_set_creator::test {

// Writes a width x height BMP of one colour (red unless told); returns its full path.
inline std::string WriteBitmap(const test_support::ScratchFolder& folder, const std::string& name,
                               int width, int height, std::uint32_t rgb = 0x0000FF) {
    const std::string path = folder.file(name);
    test_support::WriteBytes(path, test_support::SolidBmpBytes(width, height, rgb));
    return path;
}

// A bitmap of the size slot `slot` requires, named after the slot ("s4.bmp").
inline std::string WriteFittingBitmap(const test_support::ScratchFolder& folder, int slot,
                                      const std::string& prefix = "s") {
    const BitmapSize size = RequiredBitmapSize(slot);
    return WriteBitmap(folder, prefix + std::to_string(slot) + ".bmp", size.width, size.height);
}

}  // namespace qon::graphic_set_creator::test
