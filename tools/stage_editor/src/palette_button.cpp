// SPDX-License-Identifier: MIT
#include "qon/stage_editor/palette_button.h"

#include <QPainter>

namespace qon::stage_editor {

PaletteButton::PaletteButton(QWidget* parent) : QAbstractButton(parent) {
    setCheckable(true);
    setFocusPolicy(Qt::TabFocus);
}

void PaletteButton::setImage(const QImage& image) {
    m_image = image;
    update();
}

void PaletteButton::paintEvent(QPaintEvent*) {
    QPainter p(this);
    QRect outer = rect();
    p.fillRect(outer, isDown() ? palette().dark() : palette().button());
    QRect inner = outer.adjusted(1, 1, -1, -1);
    if (!m_image.isNull()) {
        p.setClipRect(inner);
        QPoint topLeft(inner.center().x() - m_image.width() / 2,
                       inner.center().y() - m_image.height() / 2);
        p.drawImage(topLeft, m_image);
        p.setClipping(false);
    }
    p.setPen(palette().color(QPalette::Shadow));
    p.drawRect(outer.adjusted(0, 0, -1, -1));
    if (isChecked()) {
        p.setPen(QPen(QColor(255, 200, 0), 2));
        p.drawRect(outer.adjusted(1, 1, -1, -1));
    }
    if (hasFocus()) {
        p.setPen(QPen(palette().color(QPalette::Highlight), 1, Qt::DotLine));
        p.drawRect(outer.adjusted(2, 2, -3, -3));
    }
}

}  // namespace qon::stage_editor
