// SPDX-License-Identifier: MIT
#pragma once

// A stage project on disk is many files (the project file, one file per stage and the save
// file) that must change together: a game that read a new project file with old stages,
// or the other way round, would play a project nobody made. A save therefore puts the new
// bytes of every file that changes into a private folder beside the project, makes them
// durable, writes a small journal (the commit point) and only then gives the files their
// new bytes (written over the old ones, or renamed into place). Whoever touches the
// project next finishes an interrupted swap from the journal, or throws away a private
// folder that never got one. So the project is always wholly old or wholly new, whether
// the save fails, is cancelled or is killed.
//
// Who is in a project's folder is settled by a lock on the folder: a save holds it from
// start to end, and the readers here hold it while they settle and read. The formats'
// own readers (stage.h) neither settle nor lock; use these for a project on disk.

#include <functional>
#include <string>
#include <vector>

#include "qon/data/files.h"
#include "qon/data/stage.h"

namespace qon {

// Names in a project's folder that belong to the save itself.
inline constexpr const char* kSaveFolderPrefix = ".qon-save-";  // + six letters or digits
inline constexpr const char* kSaveJournalName = ".qon-save.journal";

// True for a private folder of a save: kSaveFolderPrefix and six letters or digits.
bool IsSaveFolderName(std::string_view name);

struct ProjectSaveProgress {
    enum class Step {
        Writing,   // each file is compared and its new bytes set aside; done of total files
        Syncing,   // they are made durable; one step, which can take a while
        Swapping,  // past the commit point: the changed files get their new bytes
    };
    Step step = Step::Writing;
    int done = 0;
    int total = 0;
};

// Called as a save goes on. Returning false asks to cancel, which is honoured up to the
// commit point; after it the save always completes.
using ProjectSaveReport = std::function<bool(const ProjectSaveProgress&)>;

enum class ProjectSaveResult { Saved, Cancelled };

// Writes the project file, stage files 1..N and a fresh save file (four slots of 1) as one.
// Stage files above N already in the folder are left alone, and every file's bytes are
// those of FormatStageProjectFiles. A file that already holds its new bytes is left as it
// is, so a re-save after a few edits writes only what changed. A changed file keeps its
// permissions; a symbolic link at a file's name is replaced by an ordinary file rather
// than followed, and so is a file that has a second name.
//
// Throws DataError when the files cannot be formatted, when a folder or a device stands
// where a file goes, or when the disk refuses a step before the commit point; then the
// folder is as it was, byte for byte, with nothing left over. A failure after the commit
// point also throws (the reason says the save will be finished when the project is next
// opened); the project then reads as the new one. Cancelled leaves the folder as it was.
ProjectSaveResult SaveStageProject(const std::string& projectPath, const StageProject& project,
                                   const ProjectSaveReport& report = {},
                                   FileOperations* operations = nullptr);

// Finishes a save of the project's folder that was interrupted after its commit point, or
// removes what one left before it. Throws DataError naming the project when an
// interrupted save cannot be finished (a read-only folder, say): its files must not be
// read then.
void FinishInterruptedSave(const std::string& projectPath, FileOperations* operations = nullptr);

// FinishInterruptedSave, then ReadStageProject from the disk, under the folder's lock:
// how the stage editor opens a project.
StageProject OpenStageProject(const std::string& projectPath, FileOperations* operations = nullptr);

// FinishInterruptedSave, then the project header and the stage file of `stageNumber` into
// the grid (which must have been reset with ResetGrid), under the folder's lock: how the
// game loads a stage.
StageProjectHeader ReadStageForPlay(const std::string& projectPath, int stageNumber,
                                    StageGrid& grid, FileOperations* operations = nullptr);

// Another stage project in the folder a project is about to be saved into, and what of
// it that save would replace.
struct OtherProject {
    std::string fileName;             // "Odd.stp"
    std::vector<int> stagesReplaced;  // numbers of its stage files the save would replace
};

struct SaveClash {
    std::vector<OtherProject> projects;
    bool saveFileReset = false;  // the folder's "qonsave.sav" exists and would be reset
    bool any() const { return !projects.empty(); }
};

// What a save of `stageCount` stages to `projectPath` would replace of other projects in
// its folder: for each other ".stp", the stage files from 1 up to both counts that exist,
// and the shared "qonsave.sav". A project file that cannot be read is taken to own every
// stage file there. Empty when the folder holds no other project or nothing of one would
// change.
SaveClash FindSaveClash(const std::string& projectPath, int stageCount,
                        FileOperations* operations = nullptr);

}  // namespace qon
