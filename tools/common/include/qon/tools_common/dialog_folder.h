// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

class QSettings;

namespace qon::tools_common {

// Where a tool's file dialogs open: the folder of the file last chosen or used in that
// tool. With settings it is kept under `key` and outlives the session; without, it lasts
// as long as the tool runs. Until a file has been chosen, and whenever the remembered
// folder has gone, the dialogs open in `fallback`.
class DialogFolder {
  public:
    // `settings` may be null; it must outlive this object.
    DialogFolder(QSettings* settings, QString key, QString fallback);

    // An existing folder, or empty when neither the remembered folder nor the fallback
    // exists (the dialog then picks its own).
    QString folder() const;
    // The folder of `filePath` becomes the one the next dialog opens in.
    void remember(const QString& filePath);

  private:
    QSettings* m_settings;
    QString m_key;
    QString m_fallback;
    QString m_remembered;  // without settings
};

}  // namespace qon::tools_common
