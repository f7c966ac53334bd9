// SPDX-License-Identifier: MIT
#include "qon/set_selector/selection_lists_commands.h"

#include <QCoreApplication>

#include "qon/tools_common/error_text.h"
#include "qon/tools_common/qt_text.h"
#include "qon/tools_common/unsaved_changes.h"

namespace qon::set_selector {

SelectionListsCommands::SelectionListsCommands(SelectionListsDocument& document,
                                               tools_common::Prompter& prompter)
    : m_document(document), m_prompter(prompter) {}

QString SelectionListsCommands::addFilter(SetKind kind) {
    switch (kind) {
        case SetKind::Stage:
            return QCoreApplication::translate("SelectionListsCommands",
                                               "ステージプロジェクト (*.stp)");
        case SetKind::BitMap:
            return QCoreApplication::translate("SelectionListsCommands",
                                               "グラフィックプロジェクト (*.bgp)");
        case SetKind::Music:
            return QCoreApplication::translate("SelectionListsCommands",
                                               "ミュージックセット（*.msp） (*.msp)");
    }
    return {};
}

QString SelectionListsCommands::addCaption(SetKind kind) {
    switch (kind) {
        case SetKind::Stage:
            return QCoreApplication::translate("SelectionListsCommands", "ステージの追加");
        case SetKind::BitMap:
            return QCoreApplication::translate("SelectionListsCommands",
                                               "グラフィックセットの追加");
        case SetKind::Music:
            return QCoreApplication::translate("SelectionListsCommands",
                                               "ミュージックセットの追加");
    }
    return {};
}

void SelectionListsCommands::loadLists() {
    if (auto failure = m_document.load()) {
        m_prompter.message(m_parent, QString::fromUtf8(kTitle),
                           QCoreApplication::translate("SelectionListsCommands",
                                                       "ファイルが見つかりません。\n\n") +
                               tools_common::ErrorText(*failure));
    }
}

bool SelectionListsCommands::addEntry(SetKind kind) {
    const QString title = QString::fromUtf8(kTitle);
    if (!m_document.isEditable(kind)) {
        m_prompter.message(m_parent, title,
                           QCoreApplication::translate(
                               "SelectionListsCommands",
                               "この一覧はファイルを読み込めなかったため変更できません。\n") +
                               tools_common::toQ(m_document.listPath(kind)));
        return false;
    }
    auto chosen = m_prompter.openFile(m_parent, addCaption(kind), addFilter(kind));
    if (!chosen) return false;

    std::string path = tools_common::fromQ(*chosen);
    switch (m_document.add(kind, path)) {
        case SelectionListsDocument::AddResult::Added:
            return true;
        case SelectionListsDocument::AddResult::Locked:
            return false;
        case SelectionListsDocument::AddResult::Full:
            m_prompter.message(
                m_parent, title,
                QCoreApplication::translate("SelectionListsCommands",
                                            "一覧がいっぱいです。登録できるのは %1 件までです。")
                    .arg(kMaxEntries));
            return false;
        case SelectionListsDocument::AddResult::Unwritable:
            m_prompter.message(
                m_parent, title,
                QCoreApplication::translate(
                    "SelectionListsCommands",
                    "このパスには一覧ファイルに書けない文字（Shift-JIS にない文字や改行）"
                    "が含まれているため、登録できません。\n") +
                    *chosen);
            return false;
    }
    return false;
}

bool SelectionListsCommands::deleteEntry(SetKind kind) {
    return m_document.removeSelected(kind);
}

bool SelectionListsCommands::closeLists() {
    std::vector<DataError> failures = m_document.save();
    if (failures.empty()) return true;
    QString text =
        QCoreApplication::translate("SelectionListsCommands", "次の一覧を保存できませんでした。\n");
    for (const DataError& failure : failures)
        text += QStringLiteral("\n") + tools_common::ErrorText(failure);
    text += QCoreApplication::translate(
        "SelectionListsCommands",
        "\n\nもう一度保存しますか？\n保存せずに終了すると、その一覧への変更は失われます。");
    // Save tries again, and asks again when it fails again.
    return tools_common::SettleUnsavedChanges(m_prompter, m_parent, QString::fromUtf8(kTitle), text,
                                              [this] { return closeLists(); });
}

}  // namespace qon::set_selector
