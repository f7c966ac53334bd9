// SPDX-License-Identifier: MIT
#include "qon/stage_editor/editor_settings.h"

#include <QSettings>
#include <algorithm>

#include "qon/stage_editor/stage_project_document.h"

namespace qon::stage_editor {

namespace {

const QString kZoomKey = QStringLiteral("view/zoom");
const QString kRecentKey = QStringLiteral("files/recentProjects");
const QString kLastFolderKey = QStringLiteral("files/lastFolder");
const QString kRenumberKey = QStringLiteral("notices/renumberOptedOut");

}  // namespace

int FitZoomFactor(int width, int height) {
    return std::max(1, std::min(width / kGridAreaWidth, height / kGridAreaHeight));
}

int ShownZoomFactor(Zoom zoom, int width, int height) {
    return zoom.fit ? FitZoomFactor(width, height) : std::clamp(zoom.factor, 1, kMaxZoomFactor);
}

Zoom ZoomIn(Zoom current, int shownFactor) {
    if (shownFactor >= kMaxZoomFactor) return current;
    return Zoom{.fit = false, .factor = std::max(shownFactor + 1, 1)};
}

Zoom ZoomOut(int shownFactor) {
    return Zoom{.fit = false, .factor = std::clamp(shownFactor - 1, 1, kMaxZoomFactor)};
}

QString FormatZoom(Zoom zoom) {
    return zoom.fit ? QStringLiteral("fit") : QString::number(zoom.factor);
}

Zoom ParseZoom(const QString& text) {
    if (text == QStringLiteral("fit")) return Zoom{.fit = true};
    bool ok = false;
    const int factor = text.toInt(&ok);
    if (!ok || factor < 1 || factor > kMaxZoomFactor) return Zoom{};
    return Zoom{.factor = factor};
}

QStringList WithRecentProject(QStringList recent, const QString& path) {
    recent.removeAll(path);
    recent.prepend(path);
    while (recent.size() > kMaxRecentProjects) recent.removeLast();
    return recent;
}

EditorSettings::EditorSettings()
    : m_settings(std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope,
                                             QStringLiteral("qon"), QStringLiteral("Tessel"))) {}

EditorSettings::EditorSettings(const QString& path)
    : m_settings(std::make_unique<QSettings>(path, QSettings::IniFormat)) {}

EditorSettings::EditorSettings(InMemoryTag) {}

std::unique_ptr<EditorSettings> EditorSettings::InMemory() {
    return std::unique_ptr<EditorSettings>(new EditorSettings(InMemoryTag{}));
}

EditorSettings::~EditorSettings() = default;

QVariant EditorSettings::value(const QString& key, const QVariant& fallback) const {
    if (m_settings) return m_settings->value(key, fallback);
    return m_memory.value(key, fallback);
}

void EditorSettings::setValue(const QString& key, const QVariant& value) {
    if (m_settings)
        m_settings->setValue(key, value);
    else
        m_memory.insert(key, value);
}

Zoom EditorSettings::zoom() const {
    return ParseZoom(value(kZoomKey).toString());
}

void EditorSettings::setZoom(Zoom zoom) {
    setValue(kZoomKey, FormatZoom(zoom));
}

QStringList EditorSettings::recentProjects() const {
    QStringList recent = value(kRecentKey).toStringList();
    recent.removeAll(QString());
    while (recent.size() > kMaxRecentProjects) recent.removeLast();
    return recent;
}

void EditorSettings::addRecentProject(const QString& path) {
    setValue(kRecentKey, WithRecentProject(recentProjects(), path));
}

void EditorSettings::removeRecentProject(const QString& path) {
    QStringList recent = recentProjects();
    recent.removeAll(path);
    setValue(kRecentKey, recent);
}

QString EditorSettings::lastFolder() const {
    return value(kLastFolderKey).toString();
}

void EditorSettings::setLastFolder(const QString& folder) {
    setValue(kLastFolderKey, folder);
}

bool EditorSettings::renumberNoticeOptedOut() const {
    return value(kRenumberKey, false).toBool();
}

void EditorSettings::optOutOfRenumberNotice() {
    setValue(kRenumberKey, true);
}

}  // namespace qon::stage_editor
