// SPDX-License-Identifier: MIT
// The stage editor's reading of a whole project. Input: the project file, then
// Stage1.stg, Stage2.stg ... separated by "@@" lines. A project that reads is written
// to a second folder and must read back the same.

#include <filesystem>

#include "fuzz_files.h"
#include "qon/data/error.h"
#include "qon/data/stage.h"

namespace {

void checkSame(const qon::StageProject& a, const qon::StageProject& b) {
    if (a.projectName != b.projectName) qon::fuzz::Broken("project name changed on write");
    if (a.staffName != b.staffName) qon::fuzz::Broken("staff name changed on write");
    if (a.stages.size() != b.stages.size()) qon::fuzz::Broken("stage count changed on write");
    for (std::size_t s = 0; s < a.stages.size(); ++s) {
        for (int i = 0; i < qon::kGridCells; ++i) {
            const auto cell = static_cast<std::size_t>(i);
            if (a.stages[s][cell].Kind != b.stages[s][cell].Kind) {
                qon::fuzz::Broken("stage " + std::to_string(s + 1) + " cell " + std::to_string(i) +
                                  " changed on write");
            }
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static qon::fuzz::ScratchFolder folder("stage_project");
    folder.fresh();
    const std::vector<std::string_view> files =
        qon::fuzz::SplitFiles(qon::fuzz::AsText(data, size));
    const std::string project = folder.write("p.stp", files[0]);
    for (std::size_t i = 1; i < files.size(); ++i) {
        folder.write("Stage" + std::to_string(i) + ".stg", files[i]);
    }
    qon::StageProject read;
    try {
        read = qon::ReadStageProject(project);
    } catch (const qon::DataError&) {
        return 0;
    }
    for (const qon::StageGrid& grid : read.stages) {
        for (const qon::BlockCell& cell : grid) {
            if (cell.Kind < 0 || cell.Kind > 255) qon::fuzz::Broken("kind out of two hex digits");
        }
    }
    const std::string copy = folder.path() + "copy/p.stp";
    std::filesystem::create_directory(folder.path() + "copy");
    try {
        qon::WriteStageProject(copy, read);
    } catch (const qon::DataError&) {
        return 0;  // text the file cannot hold is refused, which is fine
    }
    checkSame(read, qon::ReadStageProject(copy));
    return 0;
}
