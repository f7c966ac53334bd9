// SPDX-License-Identifier: MIT
#pragma once

#include <QImage>
#include <QLabel>
#include <functional>

#include "qon/data/graphic_set.h"

namespace qon::graphic_set_creator {

// One bitmap slot: the picture at its own pixel size, or an empty box of the size the
// slot expects. Clicking it picks that slot alone.
class SlotPreview final : public QLabel {
  public:
    SlotPreview(BitmapSize emptySize, std::function<void()> onClick, QWidget* parent = nullptr);

    void showSlot(const QImage& picture, const QString& entry);

  protected:
    void mousePressEvent(QMouseEvent* event) override;

  private:
    BitmapSize m_emptySize;
    std::function<void()> m_onClick;
};

}  // namespace qon::graphic_set_creator
