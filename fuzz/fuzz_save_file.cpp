// SPDX-License-Identifier: MIT
// The save file: four slots. Slots that read are written again and must read back the
// same, and every slot gets a label.

#include "fuzz_files.h"
#include "qon/data/error.h"
#include "qon/data/save_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static qon::fuzz::ScratchFolder folder("save_file");
    folder.fresh();
    const std::string path = folder.write("qonsave.sav", qon::fuzz::AsText(data, size));
    qon::SaveSlots slots;
    try {
        slots = qon::ReadSaveFile(path);
    } catch (const qon::DataError&) {
        return 0;
    }
    for (std::int16_t slot : slots) {
        if (qon::SaveSlotLabel(slot).rfind("STAGE ", 0) != 0) qon::fuzz::Broken("bad label");
    }
    qon::WriteSaveFile(path, slots);
    if (qon::ReadSaveFile(path) != slots) qon::fuzz::Broken("slots changed on write");
    return 0;
}
