// SPDX-License-Identifier: MIT
#include "qon/set_selector/selection_lists_document.h"

#include <filesystem>
#include <utility>

#include "qon/data/files.h"
#include "qon/data/text.h"

namespace qon::set_selector {

namespace {

std::size_t indexOf(SetKind kind) {
    switch (kind) {
        case SetKind::Stage:
            return 0;
        case SetKind::BitMap:
            return 1;
        case SetKind::Music:
            return 2;
    }
    return 0;
}

// A missing or zero-byte file holds no entries, so writing over it loses nothing.
bool holdsNothing(const std::string& path) {
    std::error_code error;
    auto status = std::filesystem::status(path, error);
    if (status.type() == std::filesystem::file_type::not_found) return true;
    if (error || !IsOrdinaryFile(path)) return false;
    auto size = std::filesystem::file_size(path, error);
    return !error && size == 0;
}

bool fitsInListFile(const std::string& path) {
    // A line break would split the entry into two lines and shift every later entry.
    if (path.find_first_of("\r\n") != std::string::npos) return false;
    return IsCp932Representable(path);
}

}  // namespace

PartialSetList ReadSetListUpToFailure(const std::string& path) {
    PartialSetList result;
    std::optional<LineReader> reader;
    try {
        reader.emplace(LineReader::FromFile(path));
    } catch (const DataError& error) {
        result.failure = error;
        result.nothingToLose = holdsNothing(path);
        result.complete = result.nothingToLose;
        return result;
    }

    try {
        auto countLine = reader->next();
        if (!countLine) {
            result.failure = DataError(path, 1, "the file is empty; the entry count is missing");
            result.nothingToLose = true;
            result.complete = true;
            return result;
        }
        auto count = ParseInt16(*countLine);
        if (!count) {
            result.failure =
                DataError(path, 1, "the entry count \"" + *countLine + "\" is not a number");
            return result;
        }
        // A count below 1 is an empty list, not an error.
        for (int i = 0; i < *count; ++i) {
            auto entry = reader->next();
            if (!entry) {
                result.failure =
                    DataError(path, reader->lineNumber() + 1,
                              "the file ends early: " + std::to_string(*count) +
                                  " entries expected, " + std::to_string(i) + " found");
                // Every entry the file has was read; only the count was wrong.
                result.complete = true;
                return result;
            }
            result.entries.push_back(std::move(*entry));
        }
        result.complete = true;
    } catch (const DataError& error) {
        result.failure = error;
    }
    return result;
}

EntryInfo DescribeEntry(const std::string& path) {
    EntryInfo info;
    std::error_code error;
    if (!std::filesystem::exists(path, error) && !error) {
        info.missing = true;
        info.problem = "file not found";
        return info;
    }
    try {
        info.displayName = ReadDisplayName(path);
        info.readable = true;
    } catch (const DataError& e) {
        info.problem = e.reason();
    }
    return info;
}

SelectionListsDocument::SelectionListsDocument(std::string listFolder)
    : m_listFolder(std::move(listFolder)) {}

SelectionListsDocument::List& SelectionListsDocument::list(SetKind kind) {
    return m_lists[indexOf(kind)];
}

const SelectionListsDocument::List& SelectionListsDocument::list(SetKind kind) const {
    return m_lists[indexOf(kind)];
}

std::string SelectionListsDocument::listPath(SetKind kind) const {
    return m_listFolder + SetListFileName(kind);
}

const std::vector<std::string>& SelectionListsDocument::entries(SetKind kind) const {
    return list(kind).entries;
}

bool SelectionListsDocument::isEditable(SetKind kind) const {
    return list(kind).editable;
}

std::optional<DataError> SelectionListsDocument::load() {
    std::optional<DataError> firstFailure;
    for (SetKind kind : kListOrder) {
        List& target = list(kind);
        target.entries.clear();
        target.selected = -1;
        std::string path = listPath(kind);
        if (firstFailure) {
            // Not reached: the list stays empty, and its file must outlive this session.
            target.emptyOnDisk = holdsNothing(path);
            target.editable = target.emptyOnDisk;
            continue;
        }
        PartialSetList read = ReadSetListUpToFailure(path);
        target.entries = std::move(read.entries);
        target.emptyOnDisk = read.nothingToLose;
        target.editable = read.complete || read.nothingToLose;
        if (read.failure) firstFailure = std::move(read.failure);
    }
    return firstFailure;
}

SelectionListsDocument::AddResult SelectionListsDocument::add(SetKind kind,
                                                              const std::string& path) {
    List& target = list(kind);
    if (!target.editable) return AddResult::Locked;
    if (target.entries.size() >= kMaxEntries) return AddResult::Full;
    if (!fitsInListFile(path)) return AddResult::Unwritable;
    target.entries.push_back(path);
    return AddResult::Added;
}

int SelectionListsDocument::selected(SetKind kind) const {
    return list(kind).selected;
}

void SelectionListsDocument::select(SetKind kind, int index) {
    List& target = list(kind);
    const bool inside = index >= 0 && static_cast<std::size_t>(index) < target.entries.size();
    target.selected = inside ? index : -1;
}

bool SelectionListsDocument::removeSelected(SetKind kind) {
    List& target = list(kind);
    if (!target.editable || target.selected < 0) return false;
    target.entries.erase(target.entries.begin() + target.selected);
    target.selected = -1;
    return true;
}

std::vector<DataError> SelectionListsDocument::save() {
    std::vector<DataError> failures;
    for (SetKind kind : kListOrder) {
        List& source = list(kind);
        if (!source.editable) continue;
        std::string path = listPath(kind);
        if (source.emptyOnDisk && !holdsNothing(path)) {
            failures.emplace_back(path, 0,
                                  "another program wrote this file while it was open here; it "
                                  "was left as it is");
            continue;
        }
        try {
            WriteSetList(path, source.entries);
            source.emptyOnDisk = false;  // our own file from now on
        } catch (const DataError& error) {
            failures.push_back(error);
        }
    }
    return failures;
}

}  // namespace qon::set_selector
