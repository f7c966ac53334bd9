// SPDX-License-Identifier: MIT
#include "qon/music_set_creator/music_set_editor.h"

#include <filesystem>
#include <utility>

#include "qon/data/error.h"
#include "qon/data/music_set.h"
#include "qon/data/paths.h"
#include "qon/data/text.h"

namespace qon::orvinth {

namespace {

// A track line left empty in the file stays an empty box rather than showing the folder.
std::string trackPathFromFile(const std::string& setPath, const std::string& name) {
    return name.empty() ? std::string() : MusicTrackPath(setPath, name);
}

std::optional<QString> problemWith(const QString& field, const std::string& text) {
    // A line break inside a value would shift every later line of the file.
    if (text.find_first_of("\r\n") != std::string::npos)
        return QStringLiteral("「%1」に改行が含まれています。").arg(field);
    if (!IsCp932Representable(text))
        return QStringLiteral("「%1」に Shift-JIS で保存できない文字が含まれています: %2")
            .arg(field, tools::toQ(text));
    return std::nullopt;
}

}  // namespace

MusicSetEditor::MusicSetEditor(tools::Prompter& prompter) : m_prompter(prompter) {}

QString MusicSetEditor::midiFilter() {
    return QStringLiteral("MIDIファイル(*.mid)");
}

QString MusicSetEditor::setFilter() {
    return QStringLiteral("ミュージックセット(*.msp)");
}

void MusicSetEditor::edit(std::string& field, const std::string& text) {
    if (field == text) return;
    field = text;
    m_modified = true;
}

void MusicSetEditor::setSetName(const std::string& text) {
    edit(m_document.setName, text);
}
void MusicSetEditor::setStaffName(const std::string& text) {
    edit(m_document.staffName, text);
}
void MusicSetEditor::setTitleTrack(const std::string& text) {
    edit(m_document.titleTrack, text);
}
void MusicSetEditor::setEndingTrack(const std::string& text) {
    edit(m_document.endingTrack, text);
}

std::optional<std::string> MusicSetEditor::chooseMidiFile(const QString& caption) {
    auto chosen = m_prompter.openFile(m_parent, caption, midiFilter());
    if (!chosen) return std::nullopt;
    std::string path = tools::fromQ(*chosen);
    // Only the file name is saved; refuse it now rather than at every save.
    if (auto problem = problemWith(QStringLiteral("ファイル名"), FileNameOf(path))) {
        m_prompter.message(m_parent, QString::fromUtf8(kTitle),
                           QStringLiteral("この曲は選べません。\n") + *problem);
        return std::nullopt;
    }
    return path;
}

bool MusicSetEditor::ChooseTitleTrack() {
    auto path = chooseMidiFile(QStringLiteral("タイトル表示時の曲"));
    if (!path) return false;
    edit(m_document.titleTrack, *path);
    return true;
}

bool MusicSetEditor::ChooseEndingTrack() {
    auto path = chooseMidiFile(QStringLiteral("スタッフロール時の曲"));
    if (!path) return false;
    edit(m_document.endingTrack, *path);
    return true;
}

bool MusicSetEditor::AddStageTrack() {
    auto path = chooseMidiFile(QStringLiteral("ゲーム中の曲"));
    if (!path) return false;
    m_document.stageTracks.push_back(std::move(*path));
    m_modified = true;
    return true;
}

bool MusicSetEditor::RemoveStageTrack(int index) {
    auto& tracks = m_document.stageTracks;
    if (index < 0 || static_cast<std::size_t>(index) >= tracks.size()) return false;
    tracks.erase(tracks.begin() + index);
    m_modified = true;
    return true;
}

bool MusicSetEditor::settleUnsavedChanges() {
    if (!m_modified) return true;
    switch (m_prompter.askUnsaved(
        m_parent, QString::fromUtf8(kTitle),
        QStringLiteral("ミュージックセットは変更されています。保存しますか？"))) {
        case tools::Prompter::Answer::Save:
            return SaveSet();
        case tools::Prompter::Answer::Discard:
            return true;
        case tools::Prompter::Answer::Cancel:
            return false;
    }
    return false;
}

bool MusicSetEditor::NewSet() {
    if (!settleUnsavedChanges()) return false;
    m_document = MusicSetDocument{};
    m_fileOpened = false;
    m_modified = false;
    return true;
}

bool MusicSetEditor::OpenSet() {
    if (!settleUnsavedChanges()) return false;
    auto chosen =
        m_prompter.openFile(m_parent, QStringLiteral("ミュージックセットを開く"), setFilter());
    if (!chosen) return false;
    const std::string path = tools::fromQ(*chosen);

    // Read everything before touching the document, so a bad file changes nothing.
    MusicSetDocument opened;
    std::int32_t count = 0;
    try {
        MusicSetFile file = ReadMusicSetForEditing(path);
        opened.setName = std::move(file.setName);
        opened.staffName = std::move(file.staffName);
        opened.titleTrack = trackPathFromFile(path, file.titleTrack);
        opened.endingTrack = trackPathFromFile(path, file.endingTrack);
        for (const std::string& name : file.stageTracks)
            opened.stageTracks.push_back(trackPathFromFile(path, name));
        count = static_cast<std::int32_t>(file.stageTracks.size());
    } catch (const DataError& error) {
        m_prompter.message(m_parent, QString::fromUtf8(kTitle),
                           QStringLiteral("ミュージックセットを開けませんでした。\n\n") +
                               tools::toQ(error.what()));
        return false;
    }
    // The opened set replaces the document: its tracks are not appended to the old ones.
    m_document = std::move(opened);
    m_trackCount = count;
    m_currentFile = path;
    m_fileOpened = true;
    m_modified = false;
    return true;
}

std::optional<QString> MusicSetEditor::unsavableText() const {
    const MusicSetDocument& d = m_document;
    if (auto p = problemWith(QStringLiteral("ミュージックセット名"), d.setName)) return p;
    if (auto p = problemWith(QStringLiteral("製作者"), d.staffName)) return p;
    if (auto p = problemWith(QStringLiteral("タイトル表示時の曲"), FileNameOf(d.titleTrack)))
        return p;
    if (auto p = problemWith(QStringLiteral("スタッフロール時の曲"), FileNameOf(d.endingTrack)))
        return p;
    for (std::size_t i = 0; i < d.stageTracks.size(); ++i) {
        if (auto p = problemWith(QStringLiteral("ゲーム中の曲 %1 曲目").arg(i + 1),
                                 FileNameOf(d.stageTracks[i])))
            return p;
    }
    return std::nullopt;
}

bool MusicSetEditor::writeTo(const std::string& path) {
    if (auto problem = unsavableText()) {
        m_prompter.message(m_parent, QString::fromUtf8(kTitle),
                           QStringLiteral("保存できません。\n") + *problem);
        return false;
    }
    MusicSetFile file;
    file.setName = m_document.setName;
    file.staffName = m_document.staffName;
    file.titleTrack = FileNameOf(m_document.titleTrack);
    file.endingTrack = FileNameOf(m_document.endingTrack);
    for (const std::string& track : m_document.stageTracks)
        file.stageTracks.push_back(FileNameOf(track));
    try {
        WriteMusicSetFile(path, file);
    } catch (const DataError& error) {
        // The author must not believe the set is saved.
        m_prompter.message(m_parent, QString::fromUtf8(kTitle),
                           QStringLiteral("ミュージックセットを保存できませんでした。\n\n") +
                               tools::toQ(error.what()));
        return false;
    }
    m_trackCount = static_cast<std::int32_t>(file.stageTracks.size());
    m_currentFile = path;
    m_fileOpened = true;
    m_modified = false;
    return true;
}

bool MusicSetEditor::SaveSetAs() {
    // Refuse before the dialog: picking a name only to be refused would waste the author's time.
    if (auto problem = unsavableText()) {
        m_prompter.message(m_parent, QString::fromUtf8(kTitle),
                           QStringLiteral("保存できません。\n") + *problem);
        return false;
    }
    // Start in the current file's folder; after New, suggesting the old file itself would
    // invite overwriting a set that is no longer this document.
    std::string suggested = m_currentFile;
    if (!m_fileOpened) suggested = std::filesystem::path(m_currentFile).parent_path().string();
    auto chosen = m_prompter.saveFile(m_parent, QStringLiteral("名前を付けて保存"), setFilter(),
                                      tools::toQ(suggested));
    if (!chosen) return false;
    return writeTo(tools::fromQ(*chosen));
}

bool MusicSetEditor::SaveSet() {
    // After New the file opened before is no longer this document's: ask for a name.
    if (!m_fileOpened) return SaveSetAs();
    return writeTo(m_currentFile);
}

}  // namespace qon::orvinth
