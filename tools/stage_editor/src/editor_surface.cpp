// SPDX-License-Identifier: MIT
#include "qon/stage_editor/editor_surface.h"

#include <QCoreApplication>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollArea>
#include <QScrollBar>
#include <QWheelEvent>
#include <algorithm>

namespace qon::stage_editor {

// The grid area at the shown factor. It draws; the surface handles its pointer events.
class GridCanvas final : public QWidget {
  public:
    GridCanvas(StageProjectDocument& document, const BlockImages& images, QImage& backS,
               QWidget* parent)
        : QWidget(parent), m_document(document), m_images(images), m_backS(backS) {
        setObjectName("gridCanvas");
        setMouseTracking(true);  // the cursor box follows the pointer without a button
        setAttribute(Qt::WA_OpaquePaintEvent);
    }
    void setFactor(int factor) {
        m_factor = factor;
        setFixedSize(kGridAreaWidth * factor, kGridAreaHeight * factor);
        update();
    }

  protected:
    void paintEvent(QPaintEvent* event) override {
        RedrawGrid(m_backS, m_document, m_images);
        QPainter p(this);
        const QRect exposed = event->rect();
        if (m_factor == 1) {
            p.drawImage(exposed.topLeft(), m_backS, exposed);
        } else {
            // Whole-pixel enlargement: each grid pixel becomes a factor x factor square.
            m_shown = ScaleWhole(m_backS, m_factor);
            p.drawImage(exposed.topLeft(), m_shown, exposed);
        }
        if (!m_document.state().ProjectOpen) {
            p.setPen(QColor(170, 170, 200));
            p.drawText(
                rect(), Qt::AlignCenter,
                QCoreApplication::translate("EditorSurface",
                                            "「ファイル」メニューの「新規作成」か「開く」で\n"
                                            "ステージプロジェクトを始めてください。"));
        }
    }

  private:
    StageProjectDocument& m_document;
    const BlockImages& m_images;
    QImage& m_backS;
    QImage m_shown;
    int m_factor = 1;
};

EditorSurface::EditorSurface(StageProjectDocument& document, const BlockImages& images,
                             QWidget* parent)
    : QWidget(parent),
      m_document(document),
      m_images(images),
      m_backS(kGridAreaWidth, kGridAreaHeight, QImage::Format_RGB32) {
    setMouseTracking(true);
    m_backS.fill(kGridBackground);

    m_scroll = new QScrollArea(this);
    m_scroll->setObjectName("gridScroll");
    m_scroll->setFrameShape(QFrame::NoFrame);
    m_scroll->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_scroll->setWidgetResizable(false);
    m_scroll->setBackgroundRole(QPalette::Window);
    m_canvas = new GridCanvas(m_document, m_images, m_backS, m_scroll);
    m_scroll->setWidget(m_canvas);
    m_scroll->viewport()->setMouseTracking(true);
    m_scroll->viewport()->installEventFilter(this);
    m_canvas->installEventFilter(this);
    m_canvas->setFactor(1);
    setMinimumSize(716, kPanelHeight + 120);
}

QWidget* EditorSurface::gridCanvas() const {
    return m_canvas;
}

void EditorSurface::redrawGrid() {
    m_canvas->update();
}

void EditorSurface::addPanelWidget(QWidget* widget, QRect geometry) {
    m_panel.emplace_back(widget, geometry);
    widget->setGeometry(geometry.translated(0, height() - kPanelHeight - kGridAreaHeight));
}

void EditorSurface::setZoom(Zoom zoom) {
    m_zoom = zoom;
    applyZoom();
}

void EditorSurface::applyZoom() {
    const QSize room(width(), height() - kPanelHeight);
    const int shown = ShownZoomFactor(m_zoom, room.width(), room.height());
    m_document.setZoom(shown);
    if (shown == m_shownZoom) return;
    // Keep the grid point in the middle of the view in the middle.
    const double cx = (m_scroll->horizontalScrollBar()->value() + room.width() / 2.0) / m_shownZoom;
    const double cy = (m_scroll->verticalScrollBar()->value() + room.height() / 2.0) / m_shownZoom;
    m_shownZoom = shown;
    m_canvas->setFactor(shown);
    m_scroll->horizontalScrollBar()->setValue(static_cast<int>(cx * shown - room.width() / 2.0));
    m_scroll->verticalScrollBar()->setValue(static_cast<int>(cy * shown - room.height() / 2.0));
}

QSize EditorSurface::sizeHint() const {
    const int factor = m_zoom.fit ? 1 : std::clamp(m_zoom.factor, 1, kMaxZoomFactor);
    return {std::max(716, kGridAreaWidth * factor),
            std::max(kGridAreaHeight * factor, kGridAreaHeight) + kPanelHeight};
}

void EditorSurface::resizeEvent(QResizeEvent*) {
    const int panelTop = height() - kPanelHeight;
    m_scroll->setGeometry(0, 0, width(), panelTop);
    for (auto& [widget, geometry] : m_panel)
        widget->setGeometry(geometry.translated(0, panelTop - kGridAreaHeight));
    applyZoom();
}

QPoint EditorSurface::gridPoint(const QMouseEvent* event) const {
    return m_canvas->mapFromGlobal(event->globalPosition()).toPoint();
}

void EditorSurface::pointerPress(QMouseEvent* event) {
    const QPoint at = gridPoint(event);
    const bool pick = event->modifiers().testFlag(Qt::AltModifier);
    if (m_document.pointerPressed(at.x(), at.y(), pick)) redrawGrid();
    emit edited();
}

void EditorSurface::pointerMove(QMouseEvent* event) {
    const QPoint at = gridPoint(event);
    if (m_document.state().MouseHeld && event->buttons() == Qt::NoButton) {
        // The release went elsewhere (a dialog took the mouse): end the stroke here so
        // that plain hovering never paints.
        m_document.pointerReleased();
        redrawGrid();
        emit edited();
    }
    if (m_document.pointerMoved(at.x(), at.y())) {
        redrawGrid();
        emit edited();
    }
}

void EditorSurface::pointerRelease(QMouseEvent* event) {
    if (event->buttons() != Qt::NoButton) return;  // another button is still down
    m_document.pointerReleased();
    redrawGrid();
    emit edited();
}

void EditorSurface::mousePressEvent(QMouseEvent* event) {
    pointerPress(event);
}

void EditorSurface::mouseMoveEvent(QMouseEvent* event) {
    pointerMove(event);
}

void EditorSurface::mouseReleaseEvent(QMouseEvent* event) {
    pointerRelease(event);
}

bool EditorSurface::eventFilter(QObject* watched, QEvent* event) {
    if (watched != m_canvas && watched != m_scroll->viewport()) return false;
    switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick:
            pointerPress(static_cast<QMouseEvent*>(event));
            return true;
        case QEvent::MouseMove:
            pointerMove(static_cast<QMouseEvent*>(event));
            return true;
        case QEvent::MouseButtonRelease:
            pointerRelease(static_cast<QMouseEvent*>(event));
            return true;
        case QEvent::Wheel: {
            auto* wheel = static_cast<QWheelEvent*>(event);
            if (!wheel->modifiers().testFlag(Qt::ControlModifier)) return false;  // scrolls
            // A wheel notch is 120; a touchpad sends many small parts of one.
            m_wheelRest += wheel->angleDelta().y();
            while (m_wheelRest >= 120 || m_wheelRest <= -120) {
                const int step = m_wheelRest > 0 ? 1 : -1;
                m_wheelRest -= 120 * step;
                emit zoomStep(step);
            }
            return true;
        }
        default:
            return false;
    }
}

}  // namespace qon::stage_editor
