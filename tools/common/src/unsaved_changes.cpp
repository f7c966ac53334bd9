// SPDX-License-Identifier: MIT
#include "qon/tools_common/unsaved_changes.h"

namespace qon::tools_common {

bool SettleUnsavedChanges(Prompter& prompter, QWidget* parent, const QString& title,
                          const QString& question, const std::function<bool()>& save) {
    switch (prompter.askUnsaved(parent, title, question)) {
        case Prompter::Answer::Save:
            return save();
        case Prompter::Answer::Discard:
            return true;
        case Prompter::Answer::Cancel:
            return false;
    }
    return false;
}

}  // namespace qon::tools_common
