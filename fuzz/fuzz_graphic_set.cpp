// SPDX-License-Identifier: MIT
// A graphic set file as the game and the creator read it, and as the stage editor's
// palette reads it. A set that reads is written again and must read back the same.

#include "fuzz_files.h"
#include "qon/data/error.h"
#include "qon/data/graphic_set.h"
#include "qon/data/paths.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static qon::fuzz::ScratchFolder folder("graphic_set");
    folder.fresh();
    const std::string path = folder.write("set.bgp", qon::fuzz::AsText(data, size));

    try {
        const qon::PaletteImages palette = qon::ReadPaletteImages(path);
        if (palette.count < 0 || palette.count > qon::kBlockSlots + qon::kSpecialSlots) {
            qon::fuzz::Broken("palette count " + std::to_string(palette.count));
        }
        for (int i = 0; i < palette.count; ++i) {
            if (palette.paths[static_cast<std::size_t>(i)].rfind(folder.path(), 0) != 0) {
                qon::fuzz::Broken("palette path outside the set's folder");
            }
        }
    } catch (const qon::DataError&) {
    }

    qon::GraphicSetFile set;
    try {
        set = qon::ReadGraphicSetFile(path);
    } catch (const qon::DataError&) {
        return 0;
    }
    const std::string copy = folder.path() + "copy.bgp";
    try {
        qon::WriteGraphicSetFile(copy, set);
    } catch (const qon::DataError&) {
        return 0;
    }
    const qon::GraphicSetFile back = qon::ReadGraphicSetFile(copy);
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
