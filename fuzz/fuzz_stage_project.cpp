// SPDX-License-Identifier: MIT
// The stage editor's reading of a whole project, held in memory. Input: the project file,
// then Stage1.stg, Stage2.stg ... separated by "@@" lines. A project that reads is
// formatted again as a save writes it and must read back the same.

#include "fuzz_input.h"
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
    const std::vector<std::string_view> pieces =
        qon::fuzz::SplitFiles(qon::fuzz::AsText(data, size));
    qon::fuzz::MemoryFiles files;
    const std::string project = files.add("p.stp", pieces[0]);
    for (std::size_t i = 1; i < pieces.size(); ++i) {
        files.add("Stage" + std::to_string(i) + ".stg", pieces[i]);
    }
    qon::StageProject read;
    try {
        read = qon::ReadStageProject(project, files.source());
    } catch (const qon::DataError&) {
        return 0;
    }
    for (const qon::StageGrid& grid : read.stages) {
        for (const qon::BlockCell& cell : grid) {
            if (cell.Kind < 0 || cell.Kind > 255) qon::fuzz::Broken("kind out of two hex digits");
        }
    }
    const std::string copy = std::string(qon::fuzz::MemoryFiles::kFolder) + "copy/p.stp";
    qon::fuzz::MemoryFiles written;
    try {
        for (const qon::FileBytes& file : qon::FormatStageProjectFiles(copy, read)) {
            written.addAt(file.path, file.bytes);
        }
    } catch (const qon::DataError&) {
        return 0;  // text the file cannot hold is refused, which is fine
    }
    checkSame(read, qon::ReadStageProject(copy, written.source()));
    return 0;
}
