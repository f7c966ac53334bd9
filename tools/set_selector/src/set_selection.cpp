// SPDX-License-Identifier: MIT
#include "qon/set_selector/set_selection.h"

#include <filesystem>
#include <utility>

#include "qon/data/text.h"

namespace qon::sorrel {

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
    if (error || !std::filesystem::is_regular_file(status)) return false;
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

SetSelection::SetSelection(std::string listFolder) : m_listFolder(std::move(listFolder)) {}

SetSelection::List& SetSelection::list(SetKind kind) {
    return m_lists[indexOf(kind)];
}

const SetSelection::List& SetSelection::list(SetKind kind) const {
    return m_lists[indexOf(kind)];
}

std::string SetSelection::listPath(SetKind kind) const {
    return m_listFolder + SetListFileName(kind);
}

const std::vector<std::string>& SetSelection::entries(SetKind kind) const {
    return list(kind).entries;
}

bool SetSelection::isEditable(SetKind kind) const {
    return list(kind).editable;
}

std::optional<DataError> SetSelection::load() {
    std::optional<DataError> firstFailure;
    for (SetKind kind : kListOrder) {
        List& target = list(kind);
        target.entries.clear();
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

SetSelection::AddResult SetSelection::add(SetKind kind, const std::string& path) {
    List& target = list(kind);
    if (!target.editable) return AddResult::Locked;
    if (target.entries.size() >= kMaxEntries) return AddResult::Full;
    if (!fitsInListFile(path)) return AddResult::Unwritable;
    target.entries.push_back(path);
    return AddResult::Added;
}

bool SetSelection::remove(SetKind kind, int index) {
    List& target = list(kind);
    if (!target.editable || index < 0 || static_cast<std::size_t>(index) >= target.entries.size())
        return false;
    target.entries.erase(target.entries.begin() + index);
    return true;
}

std::vector<DataError> SetSelection::save() {
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

// ---------------------------------------------------------------------------------------

SetSelector::SetSelector(std::string listFolder, tools::Prompter& prompter)
    : m_selection(std::move(listFolder)), m_prompter(prompter) {}

QString SetSelector::addFilter(SetKind kind) {
    switch (kind) {
        case SetKind::Stage:
            return QStringLiteral("ステージプロジェクト (*.stp)");
        case SetKind::BitMap:
            return QStringLiteral("グラフィックプロジェクト (*.bgp)");
        case SetKind::Music:
            return QStringLiteral("ミュージックセット（*.msp） (*.msp)");
    }
    return {};
}

QString SetSelector::addCaption(SetKind kind) {
    switch (kind) {
        case SetKind::Stage:
            return QStringLiteral("ステージの追加");
        case SetKind::BitMap:
            return QStringLiteral("グラフィックセットの追加");
        case SetKind::Music:
            return QStringLiteral("ミュージックセットの追加");
    }
    return {};
}

void SetSelector::loadLists() {
    if (auto failure = m_selection.load()) {
        m_prompter.message(
            m_parent, QString::fromUtf8(kTitle),
            QStringLiteral("ファイルが見つかりません。\n\n") + tools::toQ(failure->what()));
    }
}

bool SetSelector::addEntry(SetKind kind) {
    const QString title = QString::fromUtf8(kTitle);
    if (!m_selection.isEditable(kind)) {
        m_prompter.message(
            m_parent, title,
            QStringLiteral("この一覧はファイルを読み込めなかったため変更できません。\n") +
                tools::toQ(m_selection.listPath(kind)));
        return false;
    }
    auto chosen = m_prompter.openFile(m_parent, addCaption(kind), addFilter(kind));
    if (!chosen) return false;

    std::string path = tools::fromQ(*chosen);
    switch (m_selection.add(kind, path)) {
        case SetSelection::AddResult::Added:
            return true;
        case SetSelection::AddResult::Locked:
            return false;
        case SetSelection::AddResult::Full:
            m_prompter.message(m_parent, title,
                               QStringLiteral("一覧がいっぱいです。登録できるのは %1 件までです。")
                                   .arg(kMaxEntries));
            return false;
        case SetSelection::AddResult::Unwritable:
            m_prompter.message(
                m_parent, title,
                QStringLiteral(
                    "このパスには一覧ファイルに書けない文字（Shift-JIS にない文字や改行）"
                    "が含まれているため、登録できません。\n") +
                    *chosen);
            return false;
    }
    return false;
}

bool SetSelector::deleteEntry(SetKind kind, int selectedIndex) {
    return m_selection.remove(kind, selectedIndex);
}

bool SetSelector::closeLists() {
    for (;;) {
        std::vector<DataError> failures = m_selection.save();
        if (failures.empty()) return true;
        QString text = QStringLiteral("次の一覧を保存できませんでした。\n");
        for (const DataError& failure : failures)
            text += QStringLiteral("\n") + tools::toQ(failure.what());
        text += QStringLiteral(
            "\n\nもう一度保存しますか？\n保存せずに終了すると、その一覧への変更は失われます。");
        switch (m_prompter.askUnsaved(m_parent, QString::fromUtf8(kTitle), text)) {
            case tools::Prompter::Answer::Save:
                continue;
            case tools::Prompter::Answer::Discard:
                return true;
            case tools::Prompter::Answer::Cancel:
                return false;
        }
    }
}

}  // namespace qon::sorrel
