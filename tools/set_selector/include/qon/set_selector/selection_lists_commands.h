// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

#include "qon/set_selector/selection_lists_document.h"
#include "qon/tools_common/prompter.h"

class QWidget;

namespace qon::set_selector {

// The selector's commands with their dialogs and messages, driven by the window (or by
// a test with a ScriptedPrompter). Creates no widgets itself.
class SelectionListsCommands {
  public:
    // The window's title, which every message box of the tool carries too.
    static constexpr const char* kTitle = "QONSelecter";

    SelectionListsCommands(SelectionListsDocument& document, tools_common::Prompter& prompter);

    void setDialogParent(QWidget* parent) { m_parent = parent; }

    // Form_Load: loads the lists; a failure is reported with one message.
    void loadLists();

    // Asks for a file and appends it. False when nothing was added (cancelled or refused).
    bool addEntry(SetKind kind);

    // Removes the list's selected entry, leaving nothing selected; with nothing selected
    // it does nothing and returns false.
    bool deleteEntry(SetKind kind);

    // Form_Unload: writes the lists. When a file cannot be written the user is told which
    // and why and may try again (Save), leave without it (Discard), or go back to the
    // window (Cancel). Returns true when the window may close.
    bool closeLists();

    // The add filter of each list in the file dialog's form.
    static QString addFilter(SetKind kind);
    static QString addCaption(SetKind kind);

  private:
    SelectionListsDocument& m_document;
    tools_common::Prompter& m_prompter;
    QWidget* m_parent = nullptr;
};

}  // namespace qon::set_selector
