// SPDX-License-Identifier: MIT
#include "qon/stage_editor/save_progress_dialog.h"

#include <QCoreApplication>
#include <QEvent>
#include <QWidget>
#include <QWindow>

namespace qon::stage_editor {

namespace {

// Showing progress costs far more than writing one stage file: a few updates a second.
constexpr qint64 kUpdateEveryMs = 50;
constexpr int kShowAfterMs = 300;

bool isInput(QEvent::Type type) {
    switch (type) {
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
        case QEvent::ShortcutOverride:
        case QEvent::Shortcut:
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::MouseMove:
        case QEvent::Wheel:
        case QEvent::ContextMenu:
        case QEvent::TouchBegin:
        case QEvent::TouchUpdate:
        case QEvent::TouchEnd:
            return true;
        default:
            return false;
    }
}

}  // namespace

SaveProgressDialog::SaveProgressDialog(QWidget* parent)
    : m_dialog(tr("保存の準備をしています…"), tr("キャンセル"), 0, 1, parent) {
    m_dialog.setObjectName("frmSaveProgress");
    m_dialog.setWindowTitle(tr("保存"));
    m_dialog.setWindowModality(Qt::WindowModal);
    m_dialog.setMinimumDuration(kShowAfterMs);
    m_dialog.setAutoClose(false);
    m_dialog.setAutoReset(false);
    m_dialog.setValue(0);  // starts the clock of the minimum duration
    QCoreApplication::instance()->installEventFilter(this);
}

SaveProgressDialog::~SaveProgressDialog() {
    QCoreApplication::processEvents();
    QCoreApplication::instance()->removeEventFilter(this);
}

bool SaveProgressDialog::eventFilter(QObject* watched, QEvent* event) {
    if (!isInput(event->type())) return false;
    if (auto* widget = qobject_cast<QWidget*>(watched)) {
        if (widget == &m_dialog || m_dialog.isAncestorOf(widget)) return false;
    } else if (auto* window = qobject_cast<QWindow*>(watched)) {
        if (window == m_dialog.windowHandle()) return false;
    }
    // Accepted, so that a shortcut override eaten here does not fire the shortcut either.
    event->accept();
    return true;
}

bool SaveProgressDialog::update(const ProjectSaveProgress& progress) {
    using Step = ProjectSaveProgress::Step;
    if (progress.step != Step::Syncing && m_files == 0) {
        m_files = progress.total;
        // One bar for the whole save: the files written, the flush, the files put in place.
        m_dialog.setMaximum(2 * m_files + 1);
    }
    if (progress.step == Step::Swapping && m_cancelOffered) {
        // Past the commit point a cancel can no longer be honoured: do not offer one.
        m_cancelOffered = false;
        m_dialog.setCancelButton(nullptr);
    }
    const bool stepEnds = progress.done == progress.total;
    if (m_sinceUpdate.isValid() && m_sinceUpdate.elapsed() < kUpdateEveryMs && !stepEnds) {
        return !m_dialog.wasCanceled();
    }
    m_sinceUpdate.start();
    int value = 0;
    switch (progress.step) {
        case Step::Writing:
            m_dialog.setLabelText(tr("ステージファイルを書き込んでいます… (%1 / %2)")
                                      .arg(progress.done)
                                      .arg(progress.total));
            value = progress.done;
            break;
        case Step::Syncing:
            m_dialog.setLabelText(tr("ディスクに書き込んでいます…"));
            value = m_files + progress.done;
            break;
        case Step::Swapping:
            m_dialog.setLabelText(
                tr("仕上げています… (%1 / %2)").arg(progress.done).arg(progress.total));
            value = m_files + 1 + progress.done;
            break;
    }
    // Once shown, the modal dialog lets events through here (repaints, the cancel button).
    m_dialog.setValue(std::max(value, 1));
    // Before that, repaints at least, so the window does not look hung.
    if (!m_dialog.isVisible()) QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    return !m_dialog.wasCanceled();
}

}  // namespace qon::stage_editor
