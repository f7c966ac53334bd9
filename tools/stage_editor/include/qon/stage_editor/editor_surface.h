// SPDX-License-Identifier: MIT
#pragma once

#include <QImage>
#include <QWidget>

#include "qon/stage_editor/block_images.h"
#include "qon/stage_editor/stage_project_document.h"

namespace qon::stage_editor {

// The window surface: the 640 x 480 grid area at its top-left and the ground on which
// the palette, the labels and the arrows sit. A button pressed anywhere on it paints;
// the release always comes back here, even over a palette button, because the
// surface holds the mouse grab from press to release.
//
// It is redrawn only when something changed (update() coalesces bursts of pointer
// events into one paint), so an idle editor costs no CPU.
class EditorSurface final : public QWidget {
    Q_OBJECT
  public:
    EditorSurface(StageProjectDocument& document, const BlockImages& images,
                  QWidget* parent = nullptr);

    // `BackS`: the picture of the grid area as last drawn.
    const QImage& backS() const { return m_backS; }
    void redrawGrid() { update(QRect(0, 0, kGridAreaWidth, kGridAreaHeight)); }

  signals:
    // The document changed through the pointer (paint, cursor box, stroke end).
    void edited();

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    StageProjectDocument& m_document;
    const BlockImages& m_images;
    QImage m_backS;
};

}  // namespace qon::stage_editor
