// SPDX-License-Identifier: MIT
#include "qon/tools_common/dialog_folder.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <utility>

namespace qon::tools_common {

namespace {

bool isFolder(const QString& path) {
    return !path.isEmpty() && QFileInfo(path).isDir();
}

}  // namespace

DialogFolder::DialogFolder(QSettings* settings, QString key, QString fallback)
    : m_settings(settings), m_key(std::move(key)), m_fallback(std::move(fallback)) {}

QString DialogFolder::folder() const {
    const QString remembered = m_settings ? m_settings->value(m_key).toString() : m_remembered;
    // A folder that was removed or renamed since would leave the dialog somewhere else
    // entirely; the fallback is a better start.
    if (isFolder(remembered)) return QDir::cleanPath(remembered);
    if (isFolder(m_fallback)) return QDir::cleanPath(m_fallback);
    return {};
}

void DialogFolder::remember(const QString& filePath) {
    if (filePath.isEmpty()) return;
    const QString folder = QFileInfo(filePath).absolutePath();
    if (m_settings) {
        m_settings->setValue(m_key, folder);
    } else {
        m_remembered = folder;
    }
}

}  // namespace qon::tools_common
