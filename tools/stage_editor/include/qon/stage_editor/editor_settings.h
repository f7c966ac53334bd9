// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVariantMap>
#include <memory>

class QSettings;

namespace qon::stage_editor {

// How much larger than its own 640 x 480 pixels the grid area is shown: a fixed whole
// factor, or the largest whole factor that fits the window. Whole factors only, so every
// cell stays crisp and every screen pixel belongs to exactly one grid pixel.
struct Zoom {
    bool fit = false;
    int factor = 1;  // used when not fitting
    bool operator==(const Zoom&) const = default;
};

// The fixed factors of the View menu and the steps of zooming in and out.
inline constexpr int kMaxZoomFactor = 3;

// The largest whole factor at which the grid area fits into `width` x `height`; at least 1.
int FitZoomFactor(int width, int height);
// The factor `zoom` shows in an area of `width` x `height`.
int ShownZoomFactor(Zoom zoom, int width, int height);
// One step larger or smaller than the factor shown now, as a fixed factor. Zooming in
// from kMaxZoomFactor or more (a fitted factor may be larger) keeps `current`.
Zoom ZoomIn(Zoom current, int shownFactor);
Zoom ZoomOut(int shownFactor);

// "1", "2", "3" or "fit", and back; anything else reads as 1x.
QString FormatZoom(Zoom zoom);
Zoom ParseZoom(const QString& text);

inline constexpr int kMaxRecentProjects = 8;

// `recent` with `path` put first: no duplicate, at most kMaxRecentProjects entries.
QStringList WithRecentProject(QStringList recent, const QString& path);

// What Tessel remembers between sessions: the zoom, the recent projects, the folder its
// file dialogs last used, and whether the author has had enough of the notice about
// renumbered stages.
class EditorSettings {
  public:
    // The user's own settings of Tessel.
    EditorSettings();
    // Settings kept in the INI file at `path`, for tests.
    explicit EditorSettings(const QString& path);
    // Settings that live only as long as this object and touch no file.
    static std::unique_ptr<EditorSettings> InMemory();
    ~EditorSettings();
    EditorSettings(const EditorSettings&) = delete;
    EditorSettings& operator=(const EditorSettings&) = delete;

    Zoom zoom() const;
    void setZoom(Zoom zoom);

    // Most recent first.
    QStringList recentProjects() const;
    void addRecentProject(const QString& path);
    void removeRecentProject(const QString& path);

    // Empty until a file dialog has been used.
    QString lastFolder() const;
    void setLastFolder(const QString& folder);

    bool renumberNoticeOptedOut() const;
    void optOutOfRenumberNotice();

  private:
    struct InMemoryTag {};
    explicit EditorSettings(InMemoryTag);
    QVariant value(const QString& key, const QVariant& fallback = {}) const;
    void setValue(const QString& key, const QVariant& value);

    std::unique_ptr<QSettings> m_settings;  // nullptr: in memory only
    QVariantMap m_memory;
};

}  // namespace qon::stage_editor
