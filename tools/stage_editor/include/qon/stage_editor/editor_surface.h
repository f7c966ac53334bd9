// SPDX-License-Identifier: MIT
#pragma once

#include <QImage>
#include <QWidget>
#include <utility>
#include <vector>

#include "qon/stage_editor/block_images.h"
#include "qon/stage_editor/editor_settings.h"
#include "qon/stage_editor/stage_project_document.h"

class QScrollArea;

namespace qon::stage_editor {

class GridCanvas;

// The window surface: the grid area at its top-left, in a scroll area that shows it
// enlarged by the zoom, and below it the panel on which the palette, the labels and the
// arrows sit. At the default size (716 x 585) every element stands where the editor has
// always had it; when the window grows, the grid area takes the room and the panel stays
// at the bottom.
//
// A button pressed anywhere on the surface (the grid, the ground around it, the panel)
// paints; the release always comes back here, even over a palette button, because the
// pressed widget holds the mouse grab from press to release and hands its events to the
// surface. Pointer positions are turned into pixels of the enlarged grid picture.
//
// It is redrawn only when something changed (update() coalesces bursts of pointer events
// into one paint), so an idle editor costs no CPU.
class EditorSurface final : public QWidget {
    Q_OBJECT
  public:
    // Height of the panel below the grid area.
    static constexpr int kPanelHeight = 105;

    EditorSurface(StageProjectDocument& document, const BlockImages& images,
                  QWidget* parent = nullptr);

    // `BackS`: the picture of the grid area as last drawn, at its own size.
    const QImage& backS() const { return m_backS; }
    void redrawGrid();

    // Puts a panel element at `geometry`, its place at the default size; it keeps its
    // distance from the bottom edge when the surface grows.
    void addPanelWidget(QWidget* widget, QRect geometry);

    void setZoom(Zoom zoom);
    Zoom zoom() const { return m_zoom; }
    // The whole factor the grid is shown at now.
    int shownZoom() const { return m_shownZoom; }
    QWidget* gridCanvas() const;
    QScrollArea* gridScroll() const { return m_scroll; }

    // The grid at the chosen factor with the panel below it (a fitted grid at 1x); never
    // smaller than the default size.
    QSize sizeHint() const override;

  signals:
    // The document changed through the pointer (paint, pick, cursor box, stroke end).
    void edited();
    // Ctrl and the wheel: +1 to zoom in, -1 to zoom out.
    void zoomStep(int step);

  protected:
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void pointerPress(QMouseEvent* event);
    void pointerMove(QMouseEvent* event);
    void pointerRelease(QMouseEvent* event);
    QPoint gridPoint(const QMouseEvent* event) const;
    void applyZoom();

    StageProjectDocument& m_document;
    const BlockImages& m_images;
    QImage m_backS;
    QScrollArea* m_scroll = nullptr;
    GridCanvas* m_canvas = nullptr;
    std::vector<std::pair<QWidget*, QRect>> m_panel;
    Zoom m_zoom;
    int m_shownZoom = 1;
    int m_wheelRest = 0;
};

}  // namespace qon::stage_editor
