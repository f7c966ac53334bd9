// SPDX-License-Identifier: MIT
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "qon/data/error.h"
#include "qon/data/game_folders.h"
#include "qon/data/set_list.h"

namespace qon::set_selector {

// Lists are loaded and written in this order.
inline constexpr std::array<SetKind, 3> kListOrder{SetKind::Stage, SetKind::BitMap, SetKind::Music};

// The game reads every count as a 16-bit number, so no list may grow beyond this.
inline constexpr std::size_t kMaxEntries = 32767;

// One list file read the way the selector reads it: the entries up to the first failure.
struct PartialSetList {
    std::vector<std::string> entries;
    // The first failure; empty when the whole list was read.
    std::optional<DataError> failure;
    // True when `entries` holds every entry the file has: the file was read completely,
    // or it simply ended before its count was reached. Replacing such a file loses
    // nothing the user has not seen.
    bool complete = false;
    // True when the file does not exist or holds no bytes at all.
    bool nothingToLose = false;
};

PartialSetList ReadSetListUpToFailure(const std::string& path);

// What the selector shows about one entry: the listed set's display name (the first line
// of the file, as the game shows it), and whether the file is one the game can use in this
// list. The look is cheap: the extension, and the first lines of the file.
struct EntryInfo {
    enum class State {
        Fits,        // the right kind of file, as far as its first lines tell
        Missing,     // nothing at the path (most often: the set was moved or deleted)
        WrongKind,   // another kind of file: a .bgp in the stage list, a picture ...
        Unreadable,  // there, but it cannot be read as text (a folder, a pipe, binary data)
    };
    State state = State::Missing;
    std::string displayName;  // when the first line could be read
    std::string problem;      // why the entry does not fit, in Japanese; empty when it does
};

// The kind of set a list holds, in words: "ステージプロジェクト" ...
std::string SetKindName(SetKind kind);
// The extension of the files a list holds: ".stp", ".bgp", ".msp".
const char* SetKindExtension(SetKind kind);

// Looks at the file of one entry of `kind`'s list. Reads at most the first 64 KiB.
EntryInfo DescribeEntry(SetKind kind, const std::string& path);

// The same look at bytes from the start of a file (`whole`: the bytes are the whole file),
// for tests and for DescribeEntry.
EntryInfo DescribeEntryBytes(SetKind kind, const std::string& path, std::string_view bytes,
                             bool whole);

// The three selection lists as the selector edits them. No widgets and no dialogs; the
// commands that ask the user live in SelectionListsCommands.
class SelectionListsDocument {
  public:
    // `listFolder` ends in "/"; the list files live there, and relative entries name
    // files inside it.
    explicit SelectionListsDocument(std::string listFolder);
    // An installed or read-only game: the lists are read from the per-user copies once
    // they exist (the delivered ones until then) and always written to the per-user
    // folder; relative entries name files inside the game folder.
    explicit SelectionListsDocument(GameFolders folders);

    // The list file the selector writes (and reads, once it exists).
    std::string listPath(SetKind kind) const;
    // The folder that holds the list files the selector writes.
    std::string listFolder() const;
    // An entry as a path to open: a relative entry is a file inside the game folder.
    // Entries themselves are kept and written back as they were read.
    std::string resolve(const std::string& entry) const;
    const std::vector<std::string>& entries(SetKind kind) const;

    // Loads the lists in order and stops at the first failure, which it returns. Lists
    // after the failing one stay empty.
    std::optional<DataError> load();

    // False for a list whose file exists but whose entries were not all loaded: such a
    // list may be neither edited nor written, so that the file survives untouched.
    bool isEditable(SetKind kind) const;

    enum class AddResult { Added, Locked, Unwritable, Full };
    // Appends `path` as given; duplicates are allowed. `Unwritable` when the path holds
    // a line break or a character the list file's code page cannot hold.
    AddResult add(SetKind kind, const std::string& path);

    // The selected entry of a list, -1 when none is. Loading clears every selection.
    int selected(SetKind kind) const;
    // Selects the entry at `index`; an index outside the list selects nothing.
    void select(SetKind kind, int index);

    // Removes the selected entry and leaves nothing selected, so that a second press of
    // the delete button (a double click) removes nothing more. False, changing nothing,
    // when nothing is selected or the list may not be edited.
    bool removeSelected(SetKind kind);

    // Writes every editable list, in order, and returns the failures (one per file that
    // could not be written). Locked lists are skipped and never count as failures. A file
    // that was missing at load but has been filled by another program since is not
    // replaced either; it is reported as a failure.
    std::vector<DataError> save();

  private:
    struct List {
        std::vector<std::string> entries;
        int selected = -1;
        bool editable = true;
        // The file was missing or empty when the lists were loaded.
        bool emptyOnDisk = false;
    };
    List& list(SetKind kind);
    const List& list(SetKind kind) const;

    GameFolders m_folders;
    std::array<List, 3> m_lists;
};

}  // namespace qon::set_selector
