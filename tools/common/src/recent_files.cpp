// SPDX-License-Identifier: MIT
#include "qon/tools_common/recent_files.h"

#include <QFileInfo>
#include <QSettings>
#include <utility>

namespace qon::tools_common {

namespace {

// One spelling per file, so that "a/../b.bgp" and "b.bgp" are one entry.
QString normalised(const QString& path) {
    return QFileInfo(path).absoluteFilePath();
}

}  // namespace

RecentFiles::RecentFiles(QSettings* settings, QString key)
    : m_settings(settings), m_key(std::move(key)) {}

QStringList RecentFiles::paths() const {
    // Another copy of the tool may have changed the list since.
    if (m_settings) m_settings->sync();
    QStringList paths = m_settings ? m_settings->value(m_key).toStringList() : m_paths;
    // Settings can be edited by hand: drop empty entries and keep the cap.
    paths.removeAll(QString());
    paths.removeDuplicates();
    while (paths.size() > kMaxFiles) paths.removeLast();
    return paths;
}

bool RecentFiles::contains(const QString& path) const {
    return !path.isEmpty() && paths().contains(normalised(path));
}

void RecentFiles::add(const QString& path) {
    if (path.isEmpty()) return;
    const QString file = normalised(path);
    QStringList paths = this->paths();
    paths.removeAll(file);
    paths.prepend(file);
    while (paths.size() > kMaxFiles) paths.removeLast();
    store(paths);
}

void RecentFiles::remove(const QString& path) {
    QStringList paths = this->paths();
    paths.removeAll(path);
    paths.removeAll(normalised(path));
    store(paths);
}

void RecentFiles::clear() {
    store({});
}

void RecentFiles::store(const QStringList& paths) {
    if (m_settings) {
        m_settings->setValue(m_key, paths);
        m_settings->sync();
    } else {
        m_paths = paths;
    }
}

}  // namespace qon::tools_common
