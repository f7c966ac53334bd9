// SPDX-License-Identifier: MIT
#pragma once

#include <QColor>
#include <QImage>
#include <array>
#include <string>

#include "qon/data/graphic_set.h"
#include "qon/stage_editor/stage_project_document.h"

namespace qon::stage_editor {

// The 20 images of the palette and the grid: nine normal block images `BlockS` and
// eleven special block images `SBlockS`, both indexed by graphic set slot. Special
// slots are not in code order (code 107 uses slot 2, codes 103..106 slots 3..6), so
// always go through imageForKind() to draw a code; that is the picture the game shows.
class BlockImages {
  public:
    // Starts with the built-in images.
    BlockImages();

    std::array<QImage, kBlockSlots> BlockS;
    std::array<QImage, kSpecialSlots> SBlockS;

    // The image the game draws for a stage code; nullptr for 255 and unknown codes.
    const QImage* imageForKind(int kind) const;

    struct LoadResult {
        int loaded = 0;       // images replaced, 0..20, in file order
        std::string problem;  // empty when all 20 were replaced
    };
    // Reads lines 3..22 of a graphic set file and replaces the images in file order,
    // stopping at the first picture that cannot be loaded. Images not reached keep
    // their previous pictures. Pictures of any size are accepted; the grid uses their
    // top-left 53 x 15 pixels.
    LoadResult loadGraphicSet(const std::string& path);
};

// Built-in pictures, 53 x 15, 24-bit: a bevelled tile with pips for hits (normal slot
// 0..8), a pictogram on black (special slot 0..10).
QImage BuiltInBlockImage(int slot);
QImage BuiltInSpecialImage(int slot);

inline constexpr QRgb kGridBackground = qRgb(24, 24, 40);
inline constexpr QRgb kCellOutline = qRgb(44, 44, 66);
inline constexpr QRgb kCursorColour = qRgb(255, 255, 0);
inline constexpr QRgb kUnknownMark = qRgb(220, 40, 40);

// `image` enlarged by a whole `factor` (1 or more): every pixel becomes a factor x factor
// square of the same colour, so edges stay sharp. The result is 32-bit.
QImage ScaleWhole(const QImage& image, int factor);

// One redraw of the edited stage into `backS` (at least 640 x 480): background, every
// cell's picture, then the cursor box one pixel larger than a cell. Without a project
// only the background is drawn.
void RedrawGrid(QImage& backS, const StageProjectDocument& document, const BlockImages& images);

}  // namespace qon::stage_editor
