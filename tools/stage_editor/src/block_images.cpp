// SPDX-License-Identifier: MIT
#include "qon/stage_editor/block_images.h"

#include <QCoreApplication>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <algorithm>
#include <cstring>
#include <exception>
#include <filesystem>

#include "qon/data/error.h"
#include "qon/data/stage.h"
#include "qon/stage_editor/problem_text.h"
#include "qon/tools_common/picture_file.h"
#include "qon/tools_common/qt_text.h"

namespace qon::stage_editor {

namespace {

constexpr int kGridLeftEdge = 2;  // X of column 0 in the editor

// Face colours of the nine built-in normal blocks.
constexpr std::array<QRgb, kBlockSlots> kFaceColours = {
    qRgb(172, 172, 255), qRgb(74, 255, 165),  qRgb(143, 170, 173),
    qRgb(255, 134, 255), qRgb(255, 255, 128), qRgb(255, 151, 151),
    qRgb(255, 140, 26),  qRgb(192, 185, 122), qRgb(192, 192, 192),
};

QColor Scaled(QRgb face, double factor) {
    return QColor(static_cast<int>(qRed(face) * factor), static_cast<int>(qGreen(face) * factor),
                  static_cast<int>(qBlue(face) * factor));
}

QColor Lightened(QRgb face) {
    return QColor((qRed(face) + 255) / 2, (qGreen(face) + 255) / 2, (qBlue(face) + 255) / 2);
}

QImage NewTile() {
    QImage image(kCellWidth, kCellHeight, QImage::Format_RGB32);
    image.fill(Qt::black);
    return image;
}

}  // namespace

QImage BuiltInBlockImage(int slot) {
    QRgb face = kFaceColours.at(static_cast<std::size_t>(slot));
    QColor light = Lightened(face);
    QColor shadow = Scaled(face, 0.7);
    QColor dark = Scaled(face, 0.45);
    QImage image = NewTile();
    QPainter p(&image);
    p.fillRect(0, 0, kCellWidth, kCellHeight, QColor(face));
    // Two-pixel bevel: light top and left, shadow bottom and right, a dark outer rim.
    p.fillRect(0, 0, kCellWidth, 2, light);
    p.fillRect(0, 0, 2, kCellHeight, light);
    p.fillRect(0, kCellHeight - 2, kCellWidth, 2, shadow);
    p.fillRect(kCellWidth - 2, 0, 2, kCellHeight, shadow);
    p.fillRect(1, kCellHeight - 1, kCellWidth - 1, 1, dark);
    p.fillRect(kCellWidth - 1, 1, 1, kCellHeight - 1, dark);
    if (slot < Kind::kUnbreakable) {
        // One pip per hit the block takes, so tiles differ by more than colour.
        int pips = slot + 1;
        int width = pips * 3 + (pips - 1) * 2;
        int left = (kCellWidth - width) / 2;
        for (int i = 0; i < pips; ++i) p.fillRect(left + i * 5, 6, 3, 3, dark);
    } else {
        // The unbreakable block is hatched.
        p.setClipRect(2, 2, kCellWidth - 4, kCellHeight - 4);
        p.setPen(shadow);
        for (int x = 2 - kCellHeight; x < kCellWidth - 2; x += 6)
            p.drawLine(x, kCellHeight - 3, x + 10, 2);
    }
    return image.convertToFormat(QImage::Format_RGB888);
}

QImage BuiltInSpecialImage(int slot) {
    QImage image = NewTile();
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const QPointF centre(26.5, 7.5);
    auto chevron = [&](QPointF tip, QPointF dir, double size) {
        // Two strokes meeting at `tip`, opening against `dir`.
        QPointF back(-dir.x() * size, -dir.y() * size);
        QPointF side(dir.y() * size, -dir.x() * size);
        p.drawLine(tip, tip + back + side);
        p.drawLine(tip, tip + back - side);
    };
    switch (slot) {
        case 0: {  // Pin: a steel ball on a pin; the ball turns away at random.
            p.setPen(QPen(QColor(120, 120, 130), 1));
            p.drawLine(QPointF(12, 7.5), QPointF(41, 7.5));
            p.setPen(Qt::NoPen);
            p.setBrush(QColor(200, 200, 215));
            p.drawEllipse(centre, 4.5, 4.5);
            p.setBrush(Qt::white);
            p.drawEllipse(QPointF(25, 6), 1.3, 1.3);
            break;
        }
        case 1: {  // Mini balls: five little balls fly out.
            p.setPen(Qt::NoPen);
            p.setBrush(QColor(255, 255, 160));
            const double ys[] = {10, 6.5, 4.5, 6.5, 10};
            for (int i = 0; i < 5; ++i) p.drawEllipse(QPointF(14.5 + 6 * i, ys[i]), 2.2, 2.2);
            break;
        }
        case 2: {  // Magnet: a horseshoe; the ball sticks to the bar.
            QPainterPath path;
            path.moveTo(34, 3);
            path.lineTo(24, 3);
            path.arcTo(QRectF(19, 3, 9, 9), 90, 180);
            path.lineTo(34, 12);
            p.setPen(QPen(QColor(230, 40, 40), 3, Qt::SolidLine, Qt::FlatCap));
            p.drawPath(path);
            p.setPen(QPen(QColor(210, 210, 210), 3, Qt::SolidLine, Qt::FlatCap));
            p.drawLine(QPointF(31, 3), QPointF(35, 3));
            p.drawLine(QPointF(31, 12), QPointF(35, 12));
            break;
        }
        case 3:    // Wind to the left.
        case 4:    // Wind to the right.
        case 5:    // Wind downwards.
        case 6: {  // Wind upwards.
            p.setPen(QPen(QColor(110, 220, 255), 1.6, Qt::SolidLine, Qt::RoundCap));
            if (slot <= 4) {
                QPointF dir(slot == 3 ? -1 : 1, 0);
                for (int i = 0; i < 3; ++i) {
                    double x = (slot == 3 ? 16.5 : 20.5) + 8 * i;
                    chevron(QPointF(x, 7.5), dir, 4.5);
                }
            } else {
                QPointF dir(0, slot == 5 ? 1 : -1);
                for (int i = 0; i < 3; ++i) {
                    double x = 15.5 + 11 * i;
                    chevron(QPointF(x, slot == 5 ? 6.5 : 3.5), dir, 3);
                    chevron(QPointF(x, slot == 5 ? 11.5 : 8.5), dir, 3);
                }
            }
            break;
        }
        case 7: {  // Warp: a swirl; the ball reappears somewhere else.
            p.setBrush(Qt::NoBrush);
            p.setPen(QPen(QColor(170, 60, 230), 1.5));
            p.drawEllipse(centre, 11, 6);
            p.setPen(QPen(QColor(220, 120, 255), 1.5));
            p.drawEllipse(centre, 6.5, 3.8);
            p.setPen(Qt::NoPen);
            p.setBrush(Qt::white);
            p.drawEllipse(centre, 2, 1.6);
            break;
        }
        case 8: {  // Bar extend: a bar with arrows pointing outwards.
            p.fillRect(QRectF(18, 6, 17, 4), QColor(90, 230, 90));
            p.setPen(QPen(QColor(90, 230, 90), 1.6, Qt::SolidLine, Qt::RoundCap));
            chevron(QPointF(10, 8), QPointF(-1, 0), 3.5);
            chevron(QPointF(43, 8), QPointF(1, 0), 3.5);
            break;
        }
        case 9: {  // Fire ball: a ball with a flame tail.
            p.setPen(Qt::NoPen);
            p.setBrush(QColor(230, 40, 20));
            p.drawPolygon(QPolygonF({QPointF(12, 7.5), QPointF(32, 2.5), QPointF(32, 12.5)}));
            p.setBrush(QColor(255, 170, 30));
            p.drawPolygon(QPolygonF({QPointF(19, 7.5), QPointF(33, 4), QPointF(33, 11)}));
            p.setBrush(QColor(255, 230, 80));
            p.drawEllipse(QPointF(34, 7.5), 5, 5);
            break;
        }
        case 10: {  // Bomb: breaks itself and its eight neighbours.
            p.setPen(QPen(QColor(200, 160, 100), 1.2));
            p.drawLine(QPointF(27, 5), QPointF(31, 2.5));
            p.setPen(Qt::NoPen);
            p.setBrush(QColor(110, 110, 125));
            p.drawEllipse(QPointF(24, 9), 5, 5);
            p.setBrush(QColor(190, 190, 205));
            p.drawEllipse(QPointF(22.5, 7.5), 1.4, 1.4);
            p.setPen(QPen(QColor(255, 210, 40), 1.2));
            p.drawLine(QPointF(30, 1), QPointF(34, 4));
            p.drawLine(QPointF(30, 4), QPointF(34, 1));
            p.drawLine(QPointF(32, 0.5), QPointF(32, 4.5));
            break;
        }
        default:
            break;
    }
    p.end();
    return image.convertToFormat(QImage::Format_RGB888);
}

namespace {

std::string PictureProblem(const std::string& path, tools_common::PictureRead::Failure failure) {
    using Failure = tools_common::PictureRead::Failure;
    switch (failure) {
        case Failure::Missing:
            return tools_common::fromQ(
                QCoreApplication::translate("BlockImages", "画像ファイルがありません。"));
        case Failure::Folder:
            return tools_common::fromQ(
                QCoreApplication::translate("BlockImages", "画像ファイルではなくフォルダです。"));
        case Failure::NotAPicture:
            return tools_common::fromQ(QCoreApplication::translate(
                "BlockImages", "画像として読めません（対応していない形式です）。"));
        case Failure::Unreadable:
        case Failure::None:
            break;
    }
    std::error_code ignored;
    switch (std::filesystem::status(path, ignored).type()) {
        case std::filesystem::file_type::fifo:
            return tools_common::fromQ(QCoreApplication::translate(
                "BlockImages", "名前付きパイプです。画像ファイルではありません。"));
        case std::filesystem::file_type::character:
        case std::filesystem::file_type::block:
            return tools_common::fromQ(QCoreApplication::translate(
                "BlockImages", "デバイスです。画像ファイルではありません。"));
        default:
            return tools_common::fromQ(
                QCoreApplication::translate("BlockImages", "画像ファイルを読み込めません。"));
    }
}

}  // namespace

BlockImages::BlockImages() {
    for (int i = 0; i < kBlockSlots; ++i)
        BlockS[static_cast<std::size_t>(i)] = BuiltInBlockImage(i);
    for (int i = 0; i < kSpecialSlots; ++i)
        SBlockS[static_cast<std::size_t>(i)] = BuiltInSpecialImage(i);
}

const QImage* BlockImages::imageForKind(int kind) const {
    if (kind >= Kind::kNormalFirst && kind <= Kind::kUnbreakable)
        return &BlockS[static_cast<std::size_t>(kind)];
    int slot = SpecialSlotForKind(kind);
    if (slot >= 0 && slot < kSpecialSlots) return &SBlockS[static_cast<std::size_t>(slot)];
    return nullptr;
}

BlockImages::LoadResult BlockImages::loadGraphicSet(const std::string& path) {
    LoadResult result;
    PaletteImages palette;
    try {
        palette = ReadPaletteImages(path);
    } catch (const DataError& error) {
        result.problem = DescribeProblem(error);
        return result;
    } catch (const std::exception&) {
        result.problem = DescribeProblem(path, 0, "ファイルを読み込めませんでした。");
        return result;
    }
    for (int i = 0; i < palette.count; ++i) {
        const std::string& picture = palette.paths[static_cast<std::size_t>(i)];
        tools_common::PictureRead read = tools_common::ReadPictureFile(picture);
        if (read.picture.isNull()) {
            result.problem = DescribeProblem(picture, 0, PictureProblem(picture, read.failure));
            return result;
        }
        const QImage& image = read.picture;
        if (i < kBlockSlots)
            BlockS[static_cast<std::size_t>(i)] = image;
        else
            SBlockS[static_cast<std::size_t>(i - kBlockSlots)] = image;
        result.loaded = i + 1;
    }
    if (palette.count < kBlockSlots + kSpecialSlots) {
        result.problem =
            DescribeProblem(path, 0,
                            "ファイルが途中で終わっています。ブロックの画像 20 枚のうち " +
                                std::to_string(palette.count) + " 枚だけを読み込みました。");
    }
    return result;
}

QImage ScaleWhole(const QImage& image, int factor) {
    const QImage source = image.convertToFormat(QImage::Format_RGB32);
    factor = std::max(factor, 1);
    if (factor == 1) return source;
    QImage scaled(source.width() * factor, source.height() * factor, QImage::Format_RGB32);
    const auto rowBytes = static_cast<std::size_t>(scaled.bytesPerLine());
    for (int y = 0; y < source.height(); ++y) {
        const auto* in = reinterpret_cast<const QRgb*>(source.constScanLine(y));
        auto* first = reinterpret_cast<QRgb*>(scaled.scanLine(y * factor));
        for (int x = 0; x < source.width(); ++x)
            std::fill_n(first + static_cast<std::ptrdiff_t>(x) * factor, factor, in[x]);
        for (int copy = 1; copy < factor; ++copy)
            std::memcpy(scaled.scanLine(y * factor + copy), first, rowBytes);
    }
    return scaled;
}

void RedrawGrid(QImage& backS, const StageProjectDocument& document, const BlockImages& images) {
    backS.fill(kGridBackground);
    const EditorState& state = document.state();
    if (!state.ProjectOpen) return;
    QPainter p(&backS);
    const StageGrid& grid = document.grid(state.EditedStage);
    for (const BlockCell& cell : grid) {
        if (const QImage* image = images.imageForKind(cell.Kind)) {
            p.drawImage(QPoint(cell.X, cell.Y), *image, QRect(0, 0, cell.Width, cell.Height));
        } else if (cell.Kind == Kind::kEmpty) {
            p.setPen(QColor(kCellOutline));
            p.drawRect(cell.X, cell.Y, cell.Width - 1, cell.Height - 1);
        } else {
            // A code no block has (only a hand-made file holds one): the game treats it
            // as empty, so mark it for the author to paint over.
            p.setPen(QColor(kUnknownMark));
            p.drawLine(cell.X + 2, cell.Y + 2, cell.X + cell.Width - 3, cell.Y + cell.Height - 3);
            p.drawLine(cell.X + 2, cell.Y + cell.Height - 3, cell.X + cell.Width - 3, cell.Y + 2);
        }
    }
    if (auto rectangle = document.pendingRectangle()) {
        // What the release will paint: the selected kind's picture in every cell (an
        // eraser shows the empty ground), framed.
        const QImage* image = images.imageForKind(state.SelectedKind);
        const QRect area(kGridLeftEdge + kCellWidth * rectangle->left(),
                         kCellHeight * rectangle->top(),
                         kCellWidth * (rectangle->right() - rectangle->left() + 1),
                         kCellHeight * (rectangle->bottom() - rectangle->top() + 1));
        for (int row = rectangle->top(); row <= rectangle->bottom(); ++row)
            for (int column = rectangle->left(); column <= rectangle->right(); ++column) {
                const QPoint at(kGridLeftEdge + kCellWidth * column, kCellHeight * row);
                if (image)
                    p.drawImage(at, *image, QRect(0, 0, kCellWidth, kCellHeight));
                else
                    p.fillRect(QRect(at, QSize(kCellWidth, kCellHeight)), QColor(kGridBackground));
            }
        p.setPen(QPen(QColor(kCursorColour), 1, Qt::DashLine));
        p.setBrush(Qt::NoBrush);
        p.drawRect(area.adjusted(0, 0, -1, -1));
    }
    // One pixel larger than a cell on the right and bottom: it also touches the first
    // pixels of the next cells.
    p.setPen(QPen(QColor(kCursorColour), 1, Qt::SolidLine));
    p.setBrush(Qt::NoBrush);
    p.drawRect(state.CursorX, state.CursorY, kCellWidth, kCellHeight);
}

}  // namespace qon::stage_editor
