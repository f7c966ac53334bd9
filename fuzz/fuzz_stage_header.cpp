// SPDX-License-Identifier: MIT
// The game's reading of a stage project file: three lines, the stage count from 1 to 32767.

#include "fuzz_files.h"
#include "qon/data/error.h"
#include "qon/data/stage.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static qon::fuzz::ScratchFolder folder("stage_header");
    folder.fresh();
    const std::string project = folder.write("p.stp", qon::fuzz::AsText(data, size));
    try {
        const qon::StageProjectHeader header = qon::ReadStageProjectHeader(project);
        if (header.StageCount < 1) {
            qon::fuzz::Broken("accepted a stage count of " + std::to_string(header.StageCount));
        }
    } catch (const qon::DataError&) {
    }
    return 0;
}
