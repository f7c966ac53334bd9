// SPDX-License-Identifier: MIT
// A graphic set file as the game and the creator read it, and as the stage editor's
// palette reads it. A set that reads is formatted again and must read back the same.

#include "fuzz_input.h"
#include "qon/data/error.h"
#include "qon/data/graphic_set.h"
#include "qon/data/paths.h"
#include "qon/data/text.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes = qon::fuzz::AsText(data, size);
    const std::string folder = qon::fuzz::MemoryFiles::kFolder;
    const std::string path = folder + "set.bgp";

    try {
        const qon::PaletteImages palette = qon::ParsePaletteImages(bytes, path);
        if (palette.count < 0 || palette.count > qon::kBlockSlots + qon::kSpecialSlots) {
            qon::fuzz::Broken("palette count " + std::to_string(palette.count));
        }
        for (int i = 0; i < palette.count; ++i) {
            if (palette.paths[static_cast<std::size_t>(i)].rfind(folder, 0) != 0) {
                qon::fuzz::Broken("palette path outside the set's folder");
            }
        }
    } catch (const qon::DataError&) {
    }

    qon::GraphicSetFile set;
    try {
        set = qon::ParseGraphicSetFile(bytes, path);
    } catch (const qon::DataError&) {
        return 0;
    }
    const std::string copy = folder + "copy.bgp";
    std::string written;
    try {
        written = qon::FormatLines(qon::FormatGraphicSetFile(set), copy);
    } catch (const qon::DataError&) {
        return 0;
    }
    const qon::GraphicSetFile back = qon::ParseGraphicSetFile(written, copy);
    if (back.setName != set.setName || back.staffName != set.staffName) {
        qon::fuzz::Broken("names changed on write");
    }
    for (int slot = 0; slot < qon::kBitmapSlots; ++slot) {
        const auto i = static_cast<std::size_t>(slot);
        if (back.bitmaps[i] != qon::FileNameOf(set.bitmaps[i])) {
            qon::fuzz::Broken("bitmap " + std::to_string(slot) + " changed on write");
        }
    }
    return 0;
}
