// SPDX-License-Identifier: MIT
#include "qon/stage_editor/editor_surface.h"

#include <QMouseEvent>
#include <QPainter>

namespace qon::stage_editor {

EditorSurface::EditorSurface(StageProjectDocument& document, const BlockImages& images,
                             QWidget* parent)
    : QWidget(parent),
      m_document(document),
      m_images(images),
      m_backS(kGridAreaWidth, kGridAreaHeight, QImage::Format_RGB32) {
    setMouseTracking(true);  // the cursor box follows the pointer without a button
    m_backS.fill(kGridBackground);
}

void EditorSurface::paintEvent(QPaintEvent*) {
    RedrawGrid(m_backS, m_document, m_images);
    QPainter p(this);
    p.drawImage(0, 0, m_backS);
    if (!m_document.state().ProjectOpen) {
        p.setPen(QColor(170, 170, 200));
        p.drawText(QRect(0, 0, kGridAreaWidth, kGridAreaHeight), Qt::AlignCenter,
                   QString::fromUtf8("「ファイル」メニューの「新規作成」か「開く」で\n"
                                     "ステージプロジェクトを始めてください。"));
    }
}

void EditorSurface::mousePressEvent(QMouseEvent* event) {
    QPoint at = event->position().toPoint();
    bool changed = m_document.pointerPressed(at.x(), at.y());
    if (changed) redrawGrid();
    emit edited();
}

void EditorSurface::mouseMoveEvent(QMouseEvent* event) {
    QPoint at = event->position().toPoint();
    if (m_document.state().MouseHeld && event->buttons() == Qt::NoButton) {
        // The release went elsewhere (a dialog took the mouse): end the stroke here so
        // that plain hovering never paints.
        m_document.pointerReleased();
        emit edited();
    }
    if (m_document.pointerMoved(at.x(), at.y())) {
        redrawGrid();
        emit edited();
    }
}

void EditorSurface::mouseReleaseEvent(QMouseEvent* event) {
    if (event->buttons() != Qt::NoButton) return;  // another button is still down
    m_document.pointerReleased();
    emit edited();
}

}  // namespace qon::stage_editor
