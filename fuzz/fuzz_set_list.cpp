// SPDX-License-Identifier: MIT
// The set selector's reading of one selection list. A list that reads is written again
// and must read back the same.

#include "fuzz_files.h"
#include "qon/data/error.h"
#include "qon/data/set_list.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static qon::fuzz::ScratchFolder folder("set_list");
    folder.fresh();
    const std::string path = folder.write("StageSet.sel", qon::fuzz::AsText(data, size));
    std::vector<std::string> entries;
    try {
        entries = qon::ReadSetList(path);
    } catch (const qon::DataError&) {
        return 0;
    }
    if (entries.size() > 32767) qon::fuzz::Broken("more entries than 16 bits count");
    const std::string copy = folder.path() + "copy.sel";
    try {
        qon::WriteSetList(copy, entries);
    } catch (const qon::DataError&) {
        return 0;
    }
    if (qon::ReadSetList(copy) != entries) qon::fuzz::Broken("entries changed on write");
    return 0;
}
