// SPDX-License-Identifier: MIT
#include "qon/data/project_save.h"

#include <algorithm>
#include <cctype>
#include <climits>
#include <optional>
#include <unordered_set>
#include <utility>

#include "qon/data/error.h"
#include "qon/data/messages.h"
#include "qon/data/paths.h"
#include "qon/data/save_file.h"

namespace qon {

namespace {

// The journal says what the swap does: which files get their new bytes written over their
// own content (from the private folder's "contents"), and by the names of the private
// folder and the project file which new files are renamed into place. It is written inside
// the private folder first and renamed out of it: that rename is the commit point, and a
// save killed before it leaves no journal (not even half of one) behind.
//
// Writing over a file in place, not renaming a new one over it, is what makes big saves
// fast: each replaced file would have its old blocks freed, and on some disks (mounted
// with "discard") that costs milliseconds per file, minutes for a big project. A crash
// half-way through such a write is repaired by the roll-forward like any other.
constexpr std::string_view kJournalHeader = "qon stage project save";
constexpr const char* kJournalInPrivateFolder = "journal";
constexpr const char* kContentsName = "contents";
constexpr std::size_t kMaxJournalBytes = kMaxTextFileBytes;
constexpr std::size_t kMaxContentsBytes = 4 * kMaxTextFileBytes;
constexpr std::size_t kMaxProjectHeaderBytes = 64 * 1024;
constexpr unsigned kNewFileMode = 0644;
constexpr unsigned kContentsMode = 0600;

struct InPlaceWrite {
    std::string name;  // a file in the project's folder
    std::size_t offset = 0;
    std::size_t size = 0;  // its new bytes: this slice of the private folder's "contents"
};

struct Journal {
    std::string privateFolder;  // a name inside the project's folder
    std::string projectFile;    // the project file's name in the same folder
    std::vector<InPlaceWrite> inPlace;
};

bool isLetterOrDigit(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
}

// "Stage12.stg" -> 12; std::nullopt for every other name (leading zeros included, since
// no writer makes them).
std::optional<int> stageNumberOf(std::string_view name) {
    constexpr std::string_view kStart = "Stage";
    constexpr std::string_view kEnd = ".stg";
    if (name.size() <= kStart.size() + kEnd.size() || name.substr(0, kStart.size()) != kStart ||
        name.substr(name.size() - kEnd.size()) != kEnd) {
        return std::nullopt;
    }
    const std::string_view digits =
        name.substr(kStart.size(), name.size() - kStart.size() - kEnd.size());
    if (digits.size() > 5 || digits[0] == '0') return std::nullopt;
    int number = 0;
    for (const char c : digits) {
        if (c < '0' || c > '9') return std::nullopt;
        number = number * 10 + (c - '0');
    }
    if (number > 32767) return std::nullopt;
    return number;
}

bool hasProjectExtension(std::string_view name) {
    if (name.size() <= 4) return false;
    std::string extension(name.substr(name.size() - 4));
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return extension == ".stp";
}

// A name a journal may give for the project file. Roll-forward writes only the files a
// save writes, so that a journal and private folder shipped inside a downloaded project
// cannot put anything else into the folder it is unpacked in.
bool isMovableProjectFileName(std::string_view name, std::string_view openedProject) {
    return name == openedProject || hasProjectExtension(name);
}

// The files a save writes: stage files, the save file and the journal's project file.
bool isSavedFileName(std::string_view name, const Journal& journal) {
    return stageNumberOf(name).has_value() || name == kSaveFileName || name == journal.projectFile;
}

bool isPlainName(std::string_view name) {
    return !name.empty() && name != "." && name != ".." &&
           name.find_first_of(std::string_view("/\t\r\n\0", 5)) == std::string_view::npos;
}

std::string formatJournal(const Journal& journal) {
    std::string text = std::string(kJournalHeader) + "\r\n" + journal.privateFolder + "\r\n" +
                       journal.projectFile + "\r\n" + std::to_string(journal.inPlace.size()) +
                       "\r\n";
    for (const InPlaceWrite& write : journal.inPlace) {
        text += write.name + "\t" + std::to_string(write.offset) + "\t" +
                std::to_string(write.size) + "\r\n";
    }
    return text;
}

std::optional<std::size_t> parseCount(std::string_view text) {
    if (text.empty() || text.size() > 12) return std::nullopt;
    std::size_t value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9') return std::nullopt;
        value = value * 10 + static_cast<std::size_t>(c - '0');
    }
    return value;
}

// std::nullopt for a journal that this program did not write.
std::optional<Journal> parseJournal(std::string_view bytes) {
    std::vector<std::string_view> lines;
    while (!bytes.empty()) {
        const std::size_t end = bytes.find("\r\n");
        if (end == std::string_view::npos) return std::nullopt;
        lines.push_back(bytes.substr(0, end));
        bytes.remove_prefix(end + 2);
    }
    if (lines.size() < 4 || lines[0] != kJournalHeader || !IsSaveFolderName(lines[1]) ||
        !isPlainName(lines[2])) {
        return std::nullopt;
    }
    const std::optional<std::size_t> count = parseCount(lines[3]);
    if (!count || *count != lines.size() - 4) return std::nullopt;
    Journal journal{std::string(lines[1]), std::string(lines[2]), {}};
    for (std::size_t i = 4; i < lines.size(); ++i) {
        const std::string_view line = lines[i];
        const std::size_t first = line.find('\t');
        const std::size_t second =
            first == std::string_view::npos ? std::string_view::npos : line.find('\t', first + 1);
        if (second == std::string_view::npos) return std::nullopt;
        const std::string_view name = line.substr(0, first);
        const auto offset = parseCount(line.substr(first + 1, second - first - 1));
        const auto size = parseCount(line.substr(second + 1));
        if (!isPlainName(name) || !offset || !size) return std::nullopt;
        journal.inPlace.push_back({std::string(name), *offset, *size});
    }
    return journal;
}

FileOperations& chosen(FileOperations* operations, DiskFileOperations& disk) {
    return operations != nullptr ? *operations : disk;
}

// Removes a private folder and what is in it. Best effort: whatever stays is found and
// removed by the next save or open. A link or file that merely bears the name is left.
void removePrivateFolder(FileOperations& ops, const std::string& path) {
    try {
        if (ops.inspect(path).kind != PathKind::Folder) return;
        for (const std::string& name : ops.listFolder(path + "/")) {
            const std::string entry = path + "/" + name;
            if (ops.inspect(entry).kind != PathKind::Folder) ops.removeFile(entry);
        }
        ops.removeFolder(path);
    } catch (const DataError&) {
    }
}

// Gives every file of the journal its new bytes: written over in place, or renamed into
// place from the private folder; then makes it all durable. Idempotent: writing the same
// bytes again changes nothing, and a file already renamed is no longer in the private
// folder. `contents` are the bytes of the in-place writes when the caller has them (else
// they are read from the private folder); `done` counts the files as they go.
void rollForward(FileOperations& ops, const std::string& folder, const Journal& journal,
                 std::optional<std::string_view> contents = std::nullopt,
                 const std::function<void(int done, int total)>& done = {}) {
    const std::string privateFolder = folder + journal.privateFolder + "/";
    std::vector<std::pair<int, std::string>> renames;  // (rank, name): stage files first
    if (ops.inspect(folder + journal.privateFolder).kind == PathKind::Folder) {
        for (std::string& name : ops.listFolder(privateFolder)) {
            if (const auto stage = stageNumberOf(name)) {
                renames.emplace_back(*stage, std::move(name));
            } else if (name == journal.projectFile) {
                renames.emplace_back(INT_MAX - 1, std::move(name));
            } else if (name == kSaveFileName) {
                renames.emplace_back(INT_MAX, std::move(name));
            }
        }
        std::sort(renames.begin(), renames.end());
    }
    const int total = static_cast<int>(journal.inPlace.size() + renames.size());
    int count = 0;

    std::string loaded;
    if (!journal.inPlace.empty() && !contents) {
        loaded = ops.readFile(privateFolder + kContentsName, kMaxContentsBytes);
        contents = loaded;
    }
    for (const InPlaceWrite& write : journal.inPlace) {
        if (!isSavedFileName(write.name, journal)) {
            throw DataError(folder + write.name, 0, Say(Message::NotAProjectFile));
        }
        if (write.offset > contents->size() || write.size > contents->size() - write.offset) {
            throw DataError(privateFolder + kContentsName, 0, Say(Message::SavedBytesIncomplete));
        }
        ops.overwriteFile(folder + write.name, contents->substr(write.offset, write.size));
        if (done) done(++count, total);
    }
    for (const auto& [rank, name] : renames) {
        if (ops.inspect(privateFolder + name).kind == PathKind::File) {
            ops.renameFile(privateFolder + name, folder + name);
        }
        if (done) done(++count, total);
    }
    // One pass for the bytes written in place and the renames alike.
    ops.syncFileSystem(folder);
}

// Finishes (journal) or undoes (private folders without one) an earlier save of the
// folder. The caller holds the folder's lock. `projectFile` is the name of the project
// file being opened or saved; `projectPath` names it in errors.
void settle(FileOperations& ops, const std::string& folder, const std::string& projectFile,
            const std::string& projectPath) {
    const std::string journalPath = folder + kSaveJournalName;
    if (ops.inspect(journalPath).kind == PathKind::File) {
        std::optional<Journal> journal;
        try {
            journal = parseJournal(ops.readFile(journalPath, kMaxJournalBytes));
        } catch (const DataError& error) {
            throw DataError(projectPath, 0, Say(Message::JournalUnreadable, {error.what()}));
        }
        if (journal) {
            try {
                if (!isMovableProjectFileName(journal->projectFile, projectFile)) {
                    throw DataError(folder + journal->projectFile, 0,
                                    Say(Message::JournalNamesNoProject));
                }
                rollForward(ops, folder, *journal);
            } catch (const DataError& error) {
                throw DataError(projectPath, 0,
                                Say(Message::InterruptedSaveUnfinished, {error.what()}));
            }
        }
        // The swap is complete (or the journal was none of ours): the journal has served. While
        // it stays, so must the private folder: a roll-forward reads from it.
        try {
            ops.removeFile(journalPath);
        } catch (const DataError&) {
            return;
        }
    }
    std::vector<std::string> names;
    try {
        names = ops.listFolder(folder);
    } catch (const DataError&) {
        return;  // nothing can be tidied in a folder that cannot be listed
    }
    for (const std::string& name : names) {
        if (IsSaveFolderName(name)) removePrivateFolder(ops, folder + name);
    }
}

// The folder's lock when the folder exists; without a folder there is nothing to settle
// and the read that follows reports the missing file as usual.
std::unique_ptr<FolderLock> lockForReading(FileOperations& ops, const std::string& folder) {
    if (ops.inspect(folder).kind != PathKind::Folder) return nullptr;
    return ops.lockFolder(folder);
}

// True when the file at `file.path` already holds exactly `file.bytes`.
bool holds(FileOperations& ops, const FileBytes& file, const PathInfo& info) {
    if (info.kind != PathKind::File && info.kind != PathKind::Link) return false;
    try {
        return ops.readFile(file.path, file.bytes.size()) == file.bytes;
    } catch (const DataError&) {
        return false;  // larger, unreadable or no file at all: it changes
    }
}

// Whether a file may get its new bytes written over its old ones: an ordinary file of one
// name only (writing through a second name would change another project's file too) that
// may be written and already holds room for them, so that the swap after the commit point
// never needs a free block (a full disk must not stop it half-way).
bool overwritesInPlace(const PathInfo& info, std::size_t size) {
    return info.kind == PathKind::File && info.links == 1 && info.writable &&
           info.allocated >= size;
}

std::string reasonForNotAFile(PathKind kind) {
    return Say(Message::FileCannotBeWritten,
               {WithoutFullStop(Say(kind == PathKind::Folder ? Message::FileIsFolder
                                                             : Message::FileNotOrdinary))});
}

}  // namespace

bool IsSaveFolderName(std::string_view name) {
    const std::string_view prefix = kSaveFolderPrefix;
    return name.size() == prefix.size() + 6 && name.substr(0, prefix.size()) == prefix &&
           std::all_of(name.begin() + static_cast<std::ptrdiff_t>(prefix.size()), name.end(),
                       isLetterOrDigit);
}

ProjectSaveResult SaveStageProject(const std::string& projectPath, const StageProject& project,
                                   const ProjectSaveReport& report, FileOperations* operations) {
    DiskFileOperations disk;
    FileOperations& ops = chosen(operations, disk);
    // Formatting refuses a bad name or count before the disk is touched.
    const std::vector<FileBytes> files = FormatStageProjectFiles(projectPath, project);
    const std::string folder = FolderOf(projectPath);
    const std::string projectFile = FileNameOf(projectPath);
    if (!isPlainName(projectFile) || projectFile == kSaveJournalName ||
        IsSaveFolderName(projectFile)) {
        throw DataError(projectPath, 0, Say(Message::ProjectNameRefused));
    }
    std::unique_ptr<FolderLock> lock;
    try {
        lock = ops.lockFolder(folder);
    } catch (const DataError& error) {
        throw DataError(projectPath, 0, error.reason());
    }
    settle(ops, folder, projectFile, projectPath);

    const int total = static_cast<int>(files.size());
    auto goOn = [&](ProjectSaveProgress::Step step, int done, int of) {
        return !report || report(ProjectSaveProgress{step, done, of});
    };
    Journal journal{{}, projectFile, {}};
    std::string contents;       // the new bytes of the files written over in place
    std::string privateFolder;  // made when the first file that needs one comes
    std::string failing;        // the file an error is about
    auto makePrivateFolder = [&] {
        if (!journal.privateFolder.empty()) return;
        journal.privateFolder = ops.makeTemporaryFolder(folder, kSaveFolderPrefix);
        privateFolder = folder + journal.privateFolder + "/";
    };
    auto dropPrivateFolder = [&] {
        if (!journal.privateFolder.empty())
            removePrivateFolder(ops, folder + journal.privateFolder);
    };
    bool changes = false;
    bool cancelled = false;
    try {
        for (int i = 0; i < total && !cancelled; ++i) {
            const FileBytes& file = files[static_cast<std::size_t>(i)];
            const std::string name = FileNameOf(file.path);
            failing = file.path;
            // A folder or a device where a file goes would make the swap fail after the
            // commit point: refuse it now, while nothing has changed.
            const PathInfo info = ops.inspect(file.path);
            if (info.kind == PathKind::Folder || info.kind == PathKind::Other) {
                throw DataError(file.path, 0, reasonForNotAFile(info.kind));
            }
            // A file that already holds its new bytes stays as it is: re-saving a big project
            // after a few edits touches only the files that changed.
            if (!holds(ops, file, info)) {
                changes = true;
                if (overwritesInPlace(info, file.bytes.size())) {
                    journal.inPlace.push_back({name, contents.size(), file.bytes.size()});
                    contents += file.bytes;
                } else {
                    failing = projectPath;
                    makePrivateFolder();
                    failing = file.path;
                    // It keeps the permissions of the file it replaces; a new one is
                    // readable by all.
                    ops.writeNewFile(privateFolder + name, file.bytes,
                                     info.mode != 0 ? info.mode : kNewFileMode);
                }
            }
            cancelled = !goOn(ProjectSaveProgress::Step::Writing, i + 1, total);
        }
        failing = projectPath;
        if (!cancelled && changes) {
            makePrivateFolder();
            if (!journal.inPlace.empty()) {
                ops.writeNewFile(privateFolder + kContentsName, contents, kContentsMode);
            }
            ops.writeNewFile(privateFolder + kJournalInPrivateFolder, formatJournal(journal),
                             kNewFileMode);
            cancelled = !goOn(ProjectSaveProgress::Step::Syncing, 0, 1);
        }
        if (!cancelled && changes) {
            // One pass for every file instead of one flush each: a flush per file made big
            // projects take minutes.
            ops.syncFileSystem(privateFolder);
            cancelled = !goOn(ProjectSaveProgress::Step::Syncing, 1, 1);
        }
        if (!cancelled && changes) {
            ops.renameFile(privateFolder + kJournalInPrivateFolder, folder + kSaveJournalName);
        }
    } catch (const DataError& error) {
        dropPrivateFolder();
        throw DataError(failing, 0, error.reason());
    }
    if (cancelled) {
        dropPrivateFolder();
        return ProjectSaveResult::Cancelled;
    }
    if (changes) {
        // Committed: from here on the project reads as the new one, whatever happens.
        try {
            ops.syncFolder(folder);
            rollForward(ops, folder, journal, contents, [&](int done, int of) {
                goOn(ProjectSaveProgress::Step::Swapping, done, of);
            });
        } catch (const DataError& error) {
            throw DataError(projectPath, 0, Say(Message::SavedButNotInPlace, {error.what()}));
        }
        // The private folder goes only after the journal: a journal left behind is rolled
        // forward again, from the private folder.
        try {
            ops.removeFile(folder + kSaveJournalName);
            dropPrivateFolder();
        } catch (const DataError&) {
        }
    }
    // Leftovers of WriteFileAtomic for the files just saved (the game writes the save file
    // that way) are stale now.
    try {
        std::unordered_set<std::string> saved;
        for (const FileBytes& file : files) saved.insert(FileNameOf(file.path));
        for (const std::string& name : ops.listFolder(folder)) {
            if (name.size() < 12 || name[0] != '.') continue;
            const std::string target = name.substr(1, name.size() - 12);
            if (saved.count(target) != 0 && IsAtomicWriteTemporaryOf(name, target)) {
                ops.removeAbandonedTemporary(folder + name);
            }
        }
    } catch (const DataError&) {
    }
    return ProjectSaveResult::Saved;
}

void WriteStageProject(const std::string& projectPath, const StageProject& project) {
    SaveStageProject(projectPath, project);
}

void FinishInterruptedSave(const std::string& projectPath, FileOperations* operations) {
    DiskFileOperations disk;
    FileOperations& ops = chosen(operations, disk);
    const std::string folder = FolderOf(projectPath);
    const std::unique_ptr<FolderLock> lock = lockForReading(ops, folder);
    if (lock) settle(ops, folder, FileNameOf(projectPath), projectPath);
}

StageProject OpenStageProject(const std::string& projectPath, FileOperations* operations) {
    DiskFileOperations disk;
    FileOperations& ops = chosen(operations, disk);
    const std::string folder = FolderOf(projectPath);
    const std::unique_ptr<FolderLock> lock = lockForReading(ops, folder);
    if (lock) settle(ops, folder, FileNameOf(projectPath), projectPath);
    return ReadStageProject(projectPath, [&ops](const std::string& path) {
        return ops.readFile(path, kMaxTextFileBytes);
    });
}

StageProjectHeader ReadStageForPlay(const std::string& projectPath, int stageNumber,
                                    StageGrid& grid, FileOperations* operations) {
    DiskFileOperations disk;
    FileOperations& ops = chosen(operations, disk);
    const std::string folder = FolderOf(projectPath);
    const std::unique_ptr<FolderLock> lock = lockForReading(ops, folder);
    if (lock) settle(ops, folder, FileNameOf(projectPath), projectPath);
    const StageProjectHeader header =
        ParseStageProjectHeader(ops.readFile(projectPath, kMaxTextFileBytes), projectPath);
    const std::string stagePath = StageFilePath(projectPath, stageNumber);
    ParseStageFile(ops.readFile(stagePath, kMaxTextFileBytes), stagePath, grid);
    return header;
}

SaveClash FindSaveClash(const std::string& projectPath, int stageCount,
                        FileOperations* operations) {
    DiskFileOperations disk;
    FileOperations& ops = chosen(operations, disk);
    SaveClash clash;
    const std::string folder = FolderOf(projectPath);
    const std::string projectFile = FileNameOf(projectPath);
    std::vector<std::string> names;
    try {
        names = ops.listFolder(folder);
    } catch (const DataError&) {
        return clash;  // the save itself will say what is wrong with the folder
    }
    std::vector<int> stagesThere;
    bool saveFileThere = false;
    std::vector<std::string> others;
    for (const std::string& name : names) {
        if (const auto stage = stageNumberOf(name); stage && *stage <= stageCount) {
            stagesThere.push_back(*stage);
        } else if (name == kSaveFileName) {
            saveFileThere = true;
        } else if (name != projectFile && hasProjectExtension(name)) {
            others.push_back(name);
        }
    }
    std::sort(stagesThere.begin(), stagesThere.end());
    std::sort(others.begin(), others.end());
    for (const std::string& other : others) {
        const PathInfo info = ops.inspect(folder + other);
        if (info.kind != PathKind::File && info.kind != PathKind::Link) continue;
        int owned = INT_MAX;  // an unreadable project file may own any stage file
        try {
            owned = ParseStageProjectHeader(ops.readFile(folder + other, kMaxProjectHeaderBytes),
                                            folder + other)
                        .StageCount;
        } catch (const DataError&) {
        }
        OtherProject found{other, {}};
        for (const int stage : stagesThere) {
            if (stage <= owned) found.stagesReplaced.push_back(stage);
        }
        if (!found.stagesReplaced.empty() || saveFileThere) clash.projects.push_back(found);
    }
    clash.saveFileReset = saveFileThere && clash.any();
    return clash;
}

}  // namespace qon
