// SPDX-License-Identifier: MIT
#include "slot_preview.h"

#include <QCoreApplication>
#include <QMouseEvent>
#include <QPixmap>

namespace qon::graphic_set_creator {

SlotPreview::SlotPreview(BitmapSize emptySize, std::function<void()> onClick, QWidget* parent)
    : QLabel(parent), m_emptySize(emptySize), m_onClick(std::move(onClick)) {
    setFrameStyle(QFrame::Box | QFrame::Plain);
    setLineWidth(1);
    setCursor(Qt::PointingHandCursor);
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
    showSlot(QImage(), QString());
}

void SlotPreview::showSlot(const QImage& picture, const QString& entry) {
    const int frame = 2 * frameWidth();
    if (picture.isNull()) {
        clear();
        setFixedSize(m_emptySize.width + frame, m_emptySize.height + frame);
    } else {
        setPixmap(QPixmap::fromImage(picture));
        setFixedSize(picture.width() + frame, picture.height() + frame);
    }
    const QString hint =
        QCoreApplication::translate("SlotPreview", "クリックするとこの画像だけを選び直します");
    setToolTip(entry.isEmpty() ? hint : entry + QLatin1Char('\n') + hint);
}

void SlotPreview::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && m_onClick) {
        m_onClick();
        return;
    }
    QLabel::mousePressEvent(event);
}

}  // namespace qon::graphic_set_creator
