// SPDX-License-Identifier: MIT
// The game's reading of a stage project file: three lines, the stage count from 1 to 32767.

#include "fuzz_input.h"
#include "qon/data/error.h"
#include "qon/data/stage.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string project = std::string(qon::fuzz::MemoryFiles::kFolder) + "p.stp";
    try {
        const qon::StageProjectHeader header =
            qon::ParseStageProjectHeader(qon::fuzz::AsText(data, size), project);
        if (header.StageCount < 1) {
            qon::fuzz::Broken("accepted a stage count of " + std::to_string(header.StageCount));
        }
    } catch (const qon::DataError&) {
    }
    return 0;
}
