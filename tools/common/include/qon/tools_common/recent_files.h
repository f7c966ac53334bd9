// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <QStringList>

class QSettings;

namespace qon::tools_common {

// The files a tool opened or saved last, newest first, for its "最近使ったファイル" menu.
// The list lives in the tool's settings, so it outlives the session; each change reads the
// settings first, so two copies of a tool running side by side do not undo each other.
class RecentFiles {
  public:
    static constexpr int kMaxFiles = 8;

    // `settings` may be null (a list for this session only); it must outlive this object.
    explicit RecentFiles(QSettings* settings, QString key = QStringLiteral("recentFiles"));

    // Absolute paths, newest first, at most kMaxFiles.
    QStringList paths() const;
    bool contains(const QString& path) const;
    // Puts the file first. The same file further down goes, and so does the oldest past
    // kMaxFiles.
    void add(const QString& path);
    // Forgets a file (one that could not be opened any more).
    void remove(const QString& path);
    void clear();

  private:
    void store(const QStringList& paths);

    QSettings* m_settings;
    QString m_key;
    QStringList m_paths;  // without settings
};

}  // namespace qon::tools_common
