// SPDX-License-Identifier: MIT
#pragma once

#include <QAbstractButton>
#include <QImage>

namespace qon::stage_editor {

// A picture button of the block palette: it shows its image and no caption. The
// image is centred and clipped to the button; a checked button is framed so the
// author sees which block the mouse paints.
class PaletteButton final : public QAbstractButton {
    Q_OBJECT
  public:
    explicit PaletteButton(QWidget* parent = nullptr);

    void setImage(const QImage& image);
    const QImage& image() const { return m_image; }

    QSize sizeHint() const override { return {49, 17}; }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    QImage m_image;
};

}  // namespace qon::stage_editor
