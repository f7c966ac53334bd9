// SPDX-License-Identifier: MIT
// The game settings file "Init.bse": three indices, bounded against the lists. Settings
// that read are formatted again and must read back the same.

#include "fuzz_input.h"
#include "qon/data/error.h"
#include "qon/data/settings.h"
#include "qon/data/text.h"

namespace {

qon::SetList listOf(std::int16_t count) {
    qon::SetList list;
    list.count = count;
    for (int i = 0; i < count; ++i) {
        list.paths.push_back("/set" + std::to_string(i));
        list.names.push_back("set " + std::to_string(i));
    }
    return list;
}

void checkBounded(std::int16_t index, const qon::SetList& list, const char* which) {
    const bool inList = index >= 0 && index < list.count;
    if (!inList && index != 0) {
        qon::fuzz::Broken(std::string(which) + " index " + std::to_string(index) +
                          " left outside a list of " + std::to_string(list.count));
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string path = std::string(qon::fuzz::MemoryFiles::kFolder) + "Init.bse";
    qon::GameSettings settings;
    try {
        settings = qon::ParseSettingsFile(qon::fuzz::AsText(data, size), path);
    } catch (const qon::DataError&) {
        return 0;
    }
    qon::SetLists lists;
    lists.stage = listOf(3);
    lists.bitmap = listOf(1);
    lists.music = listOf(0);
    const qon::GameSettings bounded = qon::BoundSettings(settings, lists);
    checkBounded(bounded.StageSetIndex, lists.stage, "stage");
    checkBounded(bounded.BitMapSetIndex, lists.bitmap, "graphic");
    checkBounded(bounded.MusicSetIndex, lists.music, "music");

    const qon::GameSettings back =
        qon::ParseSettingsFile(qon::FormatLines(qon::FormatSettingsFile(settings), path), path);
    if (back.StageSetIndex != settings.StageSetIndex ||
        back.BitMapSetIndex != settings.BitMapSetIndex ||
        back.MusicSetIndex != settings.MusicSetIndex) {
        qon::fuzz::Broken("indices changed on write");
    }
    return 0;
}
