// SPDX-License-Identifier: MIT
#include "qon/music_set_creator/music_set_commands.h"

#include <QCoreApplication>
#include <filesystem>
#include <map>
#include <utility>

#include "qon/data/error.h"
#include "qon/data/music_set.h"
#include "qon/data/paths.h"
#include "qon/data/text.h"
#include "qon/tools_common/error_text.h"
#include "qon/tools_common/qt_text.h"
#include "qon/tools_common/unsaved_changes.h"

namespace qon::music_set_creator {

namespace {

std::optional<QString> problemWith(const QString& field, const std::string& text) {
    // A line break inside a value would shift every later line of the file.
    if (text.find_first_of("\r\n") != std::string::npos)
        return QCoreApplication::translate("MusicSetCommands", "「%1」に改行が含まれています。")
            .arg(field);
    if (!IsCp932Representable(text))
        return QCoreApplication::translate(
                   "MusicSetCommands", "「%1」に Shift-JIS で保存できない文字が含まれています: %2")
            .arg(field, tools_common::toQ(text));
    return std::nullopt;
}

}  // namespace

MusicSetCommands::MusicSetCommands(MusicSetDocument& document, tools_common::Prompter& prompter)
    : m_document(document),
      m_prompter(prompter),
      m_copier(prompter, QString::fromUtf8(kTitle),
               QCoreApplication::translate("MusicSetCommands", "ミュージックセット"),
               kMaxMidiFileBytes) {}

void MusicSetCommands::setDialogParent(QWidget* parent) {
    m_parent = parent;
    m_copier.setDialogParent(parent);
}

QString MusicSetCommands::midiFilter() {
    return QCoreApplication::translate("MusicSetCommands", "MIDIファイル(*.mid)");
}

QString MusicSetCommands::setFilter() {
    return QCoreApplication::translate("MusicSetCommands", "ミュージックセット(*.msp)");
}

std::optional<std::string> MusicSetCommands::chooseMidiFile(const QString& caption) {
    auto chosen = m_prompter.openFile(m_parent, caption, midiFilter());
    if (!chosen) return std::nullopt;
    std::string path = tools_common::fromQ(*chosen);
    // Only the file name is saved; refuse it now rather than at every save.
    if (auto problem = problemWith(QCoreApplication::translate("MusicSetCommands", "ファイル名"),
                                   FileNameOf(path))) {
        m_prompter.message(
            m_parent, QString::fromUtf8(kTitle),
            QCoreApplication::translate("MusicSetCommands", "この曲は選べません。\n") + *problem);
        return std::nullopt;
    }
    return path;
}

bool MusicSetCommands::ChooseTitleTrack() {
    auto path =
        chooseMidiFile(QCoreApplication::translate("MusicSetCommands", "タイトル表示時の曲"));
    if (!path) return false;
    m_document.setTitleTrack(*path);
    return true;
}

bool MusicSetCommands::ChooseEndingTrack() {
    auto path =
        chooseMidiFile(QCoreApplication::translate("MusicSetCommands", "スタッフロール時の曲"));
    if (!path) return false;
    m_document.setEndingTrack(*path);
    return true;
}

bool MusicSetCommands::AddStageTrack() {
    auto path = chooseMidiFile(QCoreApplication::translate("MusicSetCommands", "ゲーム中の曲"));
    if (!path) return false;
    m_document.addStageTrack(std::move(*path));
    return true;
}

bool MusicSetCommands::RemoveStageTrack() {
    return m_document.removeSelectedStageTrack();
}

bool MusicSetCommands::MoveStageTrack(int from, int to) {
    return m_document.moveStageTrack(from, to);
}

bool MusicSetCommands::settleUnsavedChanges() {
    if (!m_document.isModified()) return true;
    return tools_common::SettleUnsavedChanges(
        m_prompter, m_parent, QString::fromUtf8(kTitle),
        QCoreApplication::translate("MusicSetCommands",
                                    "ミュージックセットは変更されています。保存しますか？"),
        [this] { return SaveSet(); });
}

bool MusicSetCommands::NewSet() {
    if (!settleUnsavedChanges()) return false;
    m_document.reset();
    return true;
}

bool MusicSetCommands::OpenSet() {
    if (!settleUnsavedChanges()) return false;
    auto chosen = m_prompter.openFile(
        m_parent, QCoreApplication::translate("MusicSetCommands", "ミュージックセットを開く"),
        setFilter());
    if (!chosen) return false;
    return openPath(tools_common::fromQ(*chosen));
}

bool MusicSetCommands::OpenSetFrom(const std::string& path) {
    if (!settleUnsavedChanges()) return false;
    std::error_code ignored;
    if (!std::filesystem::exists(path, ignored)) {
        const QString shown = tools_common::toQ(path);
        QString text = QCoreApplication::translate("MusicSetCommands",
                                                   "ミュージックセット %1 が見つかりません。")
                           .arg(shown);
        if (m_recent && m_recent->contains(shown)) {
            text += QCoreApplication::translate("MusicSetCommands",
                                                "\n最近使ったファイルの一覧から外します。");
            m_recent->remove(shown);
        }
        m_prompter.message(m_parent, QString::fromUtf8(kTitle), text);
        return false;
    }
    m_prompter.noteFileUsed(tools_common::toQ(path));
    return openPath(path);
}

bool MusicSetCommands::openPath(const std::string& path) {
    // The whole file is read before the document is touched, so a bad file changes nothing.
    try {
        m_document.openedFrom(path, ReadMusicSetForEditing(path));
    } catch (const DataError& error) {
        m_prompter.message(m_parent, QString::fromUtf8(kTitle),
                           QCoreApplication::translate(
                               "MusicSetCommands", "ミュージックセットを開けませんでした。\n\n") +
                               tools_common::ErrorText(error));
        return false;
    }
    if (m_recent) m_recent->add(tools_common::toQ(path));
    return true;
}

std::optional<QString> MusicSetCommands::unsavableText() const {
    const MusicSetDocument& d = m_document;
    if (auto p = problemWith(
            QCoreApplication::translate("MusicSetCommands", "ミュージックセット名"), d.setName()))
        return p;
    if (auto p =
            problemWith(QCoreApplication::translate("MusicSetCommands", "製作者"), d.staffName()))
        return p;
    if (auto p = problemWith(QCoreApplication::translate("MusicSetCommands", "タイトル表示時の曲"),
                             FileNameOf(d.titleTrack())))
        return p;
    if (auto p =
            problemWith(QCoreApplication::translate("MusicSetCommands", "スタッフロール時の曲"),
                        FileNameOf(d.endingTrack())))
        return p;
    for (std::size_t i = 0; i < d.stageTracks().size(); ++i) {
        if (auto p = problemWith(
                QCoreApplication::translate("MusicSetCommands", "ゲーム中の曲 %1 曲目").arg(i + 1),
                FileNameOf(d.stageTracks()[i])))
            return p;
    }
    return std::nullopt;
}

bool MusicSetCommands::writeTo(const std::string& path) {
    if (auto problem = unsavableText()) {
        m_prompter.message(
            m_parent, QString::fromUtf8(kTitle),
            QCoreApplication::translate("MusicSetCommands", "保存できません。\n") + *problem);
        return false;
    }
    if (!bringTracksBeside(path)) return false;
    try {
        WriteMusicSetFile(path, m_document.toFile());
    } catch (const DataError& error) {
        // The author must not believe the set is saved.
        m_prompter.message(
            m_parent, QString::fromUtf8(kTitle),
            QCoreApplication::translate("MusicSetCommands",
                                        "ミュージックセットを保存できませんでした。\n\n") +
                tools_common::ErrorText(error));
        return false;
    }
    m_document.markSaved(path);
    if (m_recent) m_recent->add(tools_common::toQ(path));
    return true;
}

bool MusicSetCommands::bringTracksBeside(const std::string& setPath) {
    std::vector<std::string> tracks = {m_document.titleTrack(), m_document.endingTrack()};
    tracks.insert(tracks.end(), m_document.stageTracks().begin(), m_document.stageTracks().end());
    std::map<std::string, std::string> copies;
    if (!tools_common::BesideSetCopier::SaveGoesOn(m_copier.offer(tracks, setPath, copies)))
        return false;
    for (const auto& [source, copy] : copies) m_document.relocateTrack(source, copy);
    return true;
}

bool MusicSetCommands::SaveSetAs() {
    // Refuse before the dialog: picking a name only to be refused would waste the author's time.
    if (auto problem = unsavableText()) {
        m_prompter.message(
            m_parent, QString::fromUtf8(kTitle),
            QCoreApplication::translate("MusicSetCommands", "保存できません。\n") + *problem);
        return false;
    }
    // Start in the current file's folder; after New, suggesting the old file itself would
    // invite overwriting a set that is no longer this document.
    std::string suggested = m_document.currentFile();
    if (!m_document.fileOpened())
        suggested = std::filesystem::path(m_document.currentFile()).parent_path().string();
    auto chosen = m_prompter.saveFile(
        m_parent, QCoreApplication::translate("MusicSetCommands", "名前を付けて保存"), setFilter(),
        tools_common::toQ(suggested));
    if (!chosen) return false;
    return writeTo(tools_common::fromQ(*chosen));
}

bool MusicSetCommands::SaveSet() {
    // After New the file opened before is no longer this document's: ask for a name.
    if (!m_document.fileOpened()) return SaveSetAs();
    return writeTo(m_document.currentFile());
}

}  // namespace qon::music_set_creator
