// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <functional>

#include "qon/tools_common/prompter.h"

class QWidget;

namespace qon::tools_common {

// The one question a tool asks before work that is not on disk would be lost (a new
// document, another file opened, the window closed, a list that could not be written).
// The author answers Save, Discard or Cancel; Save runs `save` first.
//
// True when the caller may go on: the work was saved (`save` returned true) or the author
// chose to drop it. False when the author cancelled or the save did not complete; the
// caller then leaves everything as it was.
bool SettleUnsavedChanges(Prompter& prompter, QWidget* parent, const QString& title,
                          const QString& question, const std::function<bool()>& save);

}  // namespace qon::tools_common
