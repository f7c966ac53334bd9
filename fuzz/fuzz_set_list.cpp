// SPDX-License-Identifier: MIT
// The set selector's reading of one selection list. A list that reads is formatted again
// and must read back the same.

#include "fuzz_input.h"
#include "qon/data/error.h"
#include "qon/data/set_list.h"
#include "qon/data/text.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string path = std::string(qon::fuzz::MemoryFiles::kFolder) + "StageSet.sel";
    std::vector<std::string> entries;
    try {
        entries = qon::ParseSetList(qon::fuzz::AsText(data, size), path);
    } catch (const qon::DataError&) {
        return 0;
    }
    if (entries.size() > 32767) qon::fuzz::Broken("more entries than 16 bits count");
    std::string written;
    try {
        written = qon::FormatLines(qon::FormatSetList(entries, path), path);
    } catch (const qon::DataError&) {
        return 0;
    }
    if (qon::ParseSetList(written, path) != entries) qon::fuzz::Broken("entries changed on write");
    return 0;
}
