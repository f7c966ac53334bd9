// SPDX-License-Identifier: MIT
// The save file: four slots. Slots that read are formatted again and must read back the
// same, and every slot gets a label.

#include "fuzz_input.h"
#include "qon/data/error.h"
#include "qon/data/save_file.h"
#include "qon/data/text.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string path = std::string(qon::fuzz::MemoryFiles::kFolder) + "qonsave.sav";
    qon::SaveSlots slots;
    try {
        slots = qon::ParseSaveFile(qon::fuzz::AsText(data, size), path);
    } catch (const qon::DataError&) {
        return 0;
    }
    for (std::int16_t slot : slots) {
        if (qon::SaveSlotLabel(slot).rfind("STAGE ", 0) != 0) qon::fuzz::Broken("bad label");
    }
    const std::string written = qon::FormatLines(qon::FormatSaveFile(slots), path);
    if (qon::ParseSaveFile(written, path) != slots) qon::fuzz::Broken("slots changed on write");
    return 0;
}
