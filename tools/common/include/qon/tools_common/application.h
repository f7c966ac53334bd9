// SPDX-License-Identifier: MIT
#pragma once

class QApplication;

namespace qon::tools_common {

// The tools speak Japanese: let Qt's own buttons and dialogs (Save, Cancel, Open...) do
// so too when Qt's translations are installed. Does nothing when they are not.
void InstallJapaneseQtTexts(QApplication& app);

}  // namespace qon::tools_common
