// SPDX-License-Identifier: MIT
#include "qon/set_selector/selection_lists_document.h"

#include <QCoreApplication>
#include <cctype>
#include <filesystem>
#include <utility>

#include "qon/data/files.h"
#include "qon/data/graphic_set.h"
#include "qon/data/paths.h"
#include "qon/data/text.h"
#include "qon/tools_common/error_text.h"
#include "qon/tools_common/qt_text.h"

namespace qon::set_selector {

namespace {

using tools_common::toQ;

// A text of the selector in the tool's language, as the data library's strings are kept.
std::string say(const QString& text) {
    return tools_common::fromQ(text);
}

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
            result.failure = DataError(
                path, 1,
                say(QCoreApplication::translate("SelectionListsDocument",
                                                "ファイルが空です。1 行目の件数がありません。")));
            result.nothingToLose = true;
            result.complete = true;
            return result;
        }
        auto count = ParseInt16(*countLine);
        if (!count) {
            result.failure =
                DataError(path, 1,
                          say(QCoreApplication::translate("SelectionListsDocument",
                                                          "件数「%1」が数ではありません。")
                                  .arg(toQ(*countLine))));
            return result;
        }
        // A count below 1 is an empty list, not an error.
        for (int i = 0; i < *count; ++i) {
            auto entry = reader->next();
            if (!entry) {
                result.failure =
                    DataError(path, reader->lineNumber() + 1,
                              say(QCoreApplication::translate("SelectionListsDocument",
                                                              "ファイルが途中で終わっています。件数"
                                                              "は %1 ですが、%2 件しかありません。")
                                      .arg(*count)
                                      .arg(i)));
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

std::string SetKindName(SetKind kind) {
    switch (kind) {
        case SetKind::Stage:
            return say(
                QCoreApplication::translate("SelectionListsDocument", "ステージプロジェクト"));
        case SetKind::BitMap:
            return say(QCoreApplication::translate("SelectionListsDocument", "グラフィックセット"));
        case SetKind::Music:
            return say(QCoreApplication::translate("SelectionListsDocument", "ミュージックセット"));
    }
    return "";
}

const char* SetKindExtension(SetKind kind) {
    switch (kind) {
        case SetKind::Stage:
            return ".stp";
        case SetKind::BitMap:
            return ".bgp";
        case SetKind::Music:
            return ".msp";
    }
    return "";
}

namespace {

// Enough for the header of any set; a music set's track names may go on beyond it.
constexpr std::size_t kEntryLookBytes = 64u * 1024u;

std::string lowerExtension(const std::string& path) {
    const std::string name = FileNameOf(path);
    const std::size_t dot = name.rfind('.');
    if (dot == std::string::npos) return {};
    std::string extension = name.substr(dot);
    for (char& c : extension) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return extension;
}

std::string lineNumber(std::size_t index) {
    return say(QCoreApplication::translate("SelectionListsDocument", "%1 行目").arg(index + 1));
}

// Why the first lines of a file are not those of a set of `kind`; nothing when they are.
// `whole`: the lines are the whole file, so a short file is known to be short.
std::optional<std::string> contentProblem(SetKind kind, const std::vector<std::string>& lines,
                                          bool whole) {
    if (lines.empty())
        return say(QCoreApplication::translate("SelectionListsDocument", "中身が空です。"));
    switch (kind) {
        case SetKind::Stage: {
            // Project name, stage count, author.
            if (lines.size() < 2)
                return say(QCoreApplication::translate("SelectionListsDocument",
                                                       "2 行目のステージ数がありません。"));
            const auto count = ParseInt16(lines[1]);
            if (!count || *count < 1)
                return say(QCoreApplication::translate("SelectionListsDocument",
                                                       "%1「%2」がステージ数ではありません。")
                               .arg(toQ(lineNumber(1)), toQ(lines[1])));
            if (lines.size() < 3 && whole)
                return say(QCoreApplication::translate("SelectionListsDocument",
                                                       "3 行目の製作者名がありません。"));
            return std::nullopt;
        }
        case SetKind::BitMap: {
            // Set name, author, then 23 bitmap file names.
            for (std::size_t i = 2; i < static_cast<std::size_t>(kGraphicSetLines); ++i) {
                if (i >= lines.size())
                    return say(QCoreApplication::translate("SelectionListsDocument",
                                                           "25 行のはずが %1 行しかありません。")
                                   .arg(lines.size()));
                if (lines[i].empty())
                    return say(QCoreApplication::translate("SelectionListsDocument",
                                                           "%1のビットマップ名が空です。")
                                   .arg(toQ(lineNumber(i))));
                if (ParseInt16(lines[i]))
                    return say(
                        QCoreApplication::translate("SelectionListsDocument",
                                                    "%1「%2」がビットマップ名ではありません。")
                            .arg(toQ(lineNumber(i)), toQ(lines[i])));
            }
            return std::nullopt;
        }
        case SetKind::Music: {
            // Set name, author, title track, ending track, the count, then the tracks.
            if (lines.size() < 5)
                return say(QCoreApplication::translate("SelectionListsDocument",
                                                       "5 行目の曲数がありません。"));
            const auto count = ParseInt16(lines[4]);
            if (!count || *count < 0)
                return say(QCoreApplication::translate("SelectionListsDocument",
                                                       "%1「%2」が曲数ではありません。")
                               .arg(toQ(lineNumber(4)), toQ(lines[4])));
            if (whole && lines.size() < 5u + static_cast<std::size_t>(*count))
                return say(
                    QCoreApplication::translate("SelectionListsDocument",
                                                "曲数は %1 ですが、曲名が %2 行しかありません。")
                        .arg(*count)
                        .arg(lines.size() - 5));
            return std::nullopt;
        }
    }
    return std::nullopt;
}

// What another list's file the entry seems to be: by its extension first, then by what
// its lines look like.
std::optional<SetKind> seemsToBe(SetKind listed, const std::string& extension,
                                 const std::vector<std::string>& lines, bool whole) {
    for (SetKind other : kListOrder) {
        if (other != listed && extension == SetKindExtension(other)) return other;
    }
    if (lines.empty()) return std::nullopt;
    // Music first: a music set's fifth line is a count, which a graphic set never has.
    for (SetKind other : {SetKind::Music, SetKind::BitMap, SetKind::Stage}) {
        if (other != listed && !contentProblem(other, lines, whole)) return other;
    }
    return std::nullopt;
}

}  // namespace

EntryInfo DescribeEntryBytes(SetKind kind, const std::string& path, std::string_view bytes,
                             bool whole) {
    EntryInfo info;
    // A line cut by the end of what was read is not judged (nor decoded half).
    if (!whole) {
        const std::size_t end = bytes.rfind('\n');
        bytes = end == std::string_view::npos ? std::string_view() : bytes.substr(0, end + 1);
    }
    std::vector<std::string> lines;
    try {
        lines = ParseLines(bytes, path);
    } catch (const DataError& error) {
        info.state = EntryInfo::State::Unreadable;
        info.problem = say(
            QCoreApplication::translate(
                "SelectionListsDocument",
                "Shift-JIS のテキストとして読めません（%1 行目）。%2のファイルではないようです。")
                .arg(error.line())
                .arg(toQ(SetKindName(kind))));
        return info;
    }
    if (!lines.empty()) info.displayName = lines.front();

    const std::string extension = lowerExtension(path);
    const std::optional<SetKind> other = seemsToBe(kind, extension, lines, whole);
    const std::string seems =
        other
            ? say(QCoreApplication::translate("SelectionListsDocument", "%1のファイルのようです。")
                      .arg(toQ(SetKindName(*other))))
            : std::string();
    if (extension != SetKindExtension(kind)) {
        info.state = EntryInfo::State::WrongKind;
        info.problem = say(QCoreApplication::translate("SelectionListsDocument",
                                                       "拡張子が %1 ではありません。")
                               .arg(QString::fromLatin1(SetKindExtension(kind)))) +
                       seems;
        return info;
    }
    if (auto problem = contentProblem(kind, lines, whole)) {
        info.state = EntryInfo::State::WrongKind;
        info.problem =
            say(QCoreApplication::translate("SelectionListsDocument", "%1の形になっていません：%2")
                    .arg(toQ(SetKindName(kind)), toQ(*problem))) +
            seems;
        return info;
    }
    info.state = EntryInfo::State::Fits;
    return info;
}

EntryInfo DescribeEntry(SetKind kind, const std::string& path) {
    std::error_code error;
    if (!std::filesystem::exists(path, error) && !error) {
        EntryInfo info;
        info.state = EntryInfo::State::Missing;
        info.problem = say(
            QCoreApplication::translate("SelectionListsDocument", "ファイルが見つかりません。"));
        return info;
    }
    std::string bytes;
    try {
        bytes = ReadFileStart(path, kEntryLookBytes + 1);
    } catch (const DataError& failure) {
        EntryInfo info;
        info.state = EntryInfo::State::Unreadable;
        info.problem = failure.reason();
        return info;
    }
    const bool whole = bytes.size() <= kEntryLookBytes;
    if (!whole) bytes.resize(kEntryLookBytes);
    return DescribeEntryBytes(kind, path, bytes, whole);
}

SelectionListsDocument::SelectionListsDocument(std::string listFolder)
    : m_folders(SingleGameFolder(std::move(listFolder))) {}

SelectionListsDocument::SelectionListsDocument(GameFolders folders)
    : m_folders(std::move(folders)) {}

SelectionListsDocument::List& SelectionListsDocument::list(SetKind kind) {
    return m_lists[indexOf(kind)];
}

const SelectionListsDocument::List& SelectionListsDocument::list(SetKind kind) const {
    return m_lists[indexOf(kind)];
}

std::string SelectionListsDocument::listPath(SetKind kind) const {
    return m_folders.listToWrite(kind);
}

std::string SelectionListsDocument::listFolder() const {
    return FolderOf(listPath(SetKind::Stage));
}

std::string SelectionListsDocument::resolve(const std::string& entry) const {
    return m_folders.resolve(entry);
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
        // Per-user lists are read from the delivered ones until the selector first writes
        // them; `emptyOnDisk` always speaks of the file that will be written.
        const std::string path = m_folders.listToRead(kind);
        const std::string written = listPath(kind);
        if (firstFailure) {
            // Not reached: the list stays empty, and its file must outlive this session.
            target.emptyOnDisk = holdsNothing(written);
            target.editable = holdsNothing(path);
            continue;
        }
        PartialSetList read = ReadSetListUpToFailure(path);
        target.entries = std::move(read.entries);
        target.emptyOnDisk = path == written ? read.nothingToLose : holdsNothing(written);
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
            failures.emplace_back(
                path, 0,
                say(QCoreApplication::translate(
                    "SelectionListsDocument",
                    "ここで開いている間に別のプログラムがこのファイルを書きました。"
                    "書き換えずにそのままにしてあります。")));
            continue;
        }
        try {
            if (m_folders.listsInUser) MakeFolderFor(path);
            WriteSetList(path, source.entries);
            source.emptyOnDisk = false;  // our own file from now on
        } catch (const DataError& error) {
            failures.push_back(error);
        }
    }
    return failures;
}

}  // namespace qon::set_selector
