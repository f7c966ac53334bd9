// SPDX-License-Identifier: MIT
// The game's reading of the three selection lists with the display names of the listed
// sets, all held in memory. Input: StageSet.sel, BitMapSet.sel, MusicSet.sel, then listed
// files s0, s1 ..., separated by "@@" lines; "@/" in a list stands for the folder, so
// "@/s0" lists s0.

#include "fuzz_input.h"
#include "qon/data/error.h"
#include "qon/data/set_list.h"

namespace {

// A list is either empty (count 0, arrays as before) or holds count paths and names.
void checkList(const qon::SetList& list, const char* which) {
    if (list.count < 0) qon::fuzz::Broken(std::string(which) + ": negative count");
    if (list.count == 0) return;
    const auto count = static_cast<std::size_t>(list.count);
    if (list.paths.size() != count || list.names.size() != count) {
        qon::fuzz::Broken(std::string(which) + ": count and arrays disagree");
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string folder = qon::fuzz::MemoryFiles::kFolder;
    qon::fuzz::MemoryFiles files;
    const std::vector<std::string_view> pieces =
        qon::fuzz::SplitFiles(qon::fuzz::AsText(data, size));
    const char* const listNames[] = {"StageSet.sel", "BitMapSet.sel", "MusicSet.sel"};
    for (std::size_t i = 0; i < pieces.size(); ++i) {
        if (i < 3) {
            files.add(listNames[i], qon::fuzz::WithFolder(pieces[i], folder));
        } else {
            const std::string listed = files.add("s" + std::to_string(i - 3), pieces[i]);
            try {
                qon::ParseDisplayName(pieces[i], listed);
            } catch (const qon::DataError&) {
            }
        }
    }
    // Twice into the same lists, as the game does before every title.
    qon::SetLists lists;
    for (int pass = 0; pass < 2; ++pass) {
        try {
            qon::ReadSetLists(folder, lists, files.source());
        } catch (const qon::DataError&) {
        }
        checkList(lists.stage, "stage list");
        checkList(lists.bitmap, "graphic list");
        checkList(lists.music, "music list");
    }
    return 0;
}
