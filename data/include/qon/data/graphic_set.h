// SPDX-License-Identifier: MIT
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace qon {

inline constexpr int kBlockSlots = 9;
inline constexpr int kSpecialSlots = 11;
inline constexpr int kPartSlots = 3;
inline constexpr int kBitmapSlots = kBlockSlots + kSpecialSlots + kPartSlots;  // 23
inline constexpr int kGraphicSetLines = 2 + kBitmapSlots;                      // 25

// Bitmap slot numbering across the file: 0..8 blocks, 9..19 special blocks, 20..22
// parts (main ball, mini ball, bar). File line = slot + 3.
inline constexpr int kFirstSpecialSlot = kBlockSlots;
inline constexpr int kFirstPartSlot = kBlockSlots + kSpecialSlots;

struct BitmapSize {
    int width;
    int height;
};

// Required size of a bitmap slot (0..22): 53x15 blocks and specials, 12x12 main ball,
// 6x6 mini ball, 128x12 bar.
BitmapSize RequiredBitmapSize(int slot);

// Caption of a slot (0..22) in the graphic set creator, e.g. "ブロック1", "風（←）".
std::string_view BitmapSlotLabel(int slot);

// Special block slot (0..10) that draws stage code 101..111; -1 for other codes.
// Code 107 (Magnet) uses slot 2, codes 103..106 (winds) use slots 3..6.
int SpecialSlotForKind(int kind);

struct GraphicSetFile {
    std::string setName;                            // line 1
    std::string staffName;                          // line 2
    std::array<std::string, kBitmapSlots> bitmaps;  // lines 3..25, bare file names
};

// The 25 lines; `name` names the file in errors. Lines after 25 are ignored. Throws
// DataError for a file of fewer than 25 lines (naming the line that is missing).
GraphicSetFile ParseGraphicSetFile(std::string_view bytes, const std::string& name);

// ParseGraphicSetFile of the file; a missing file is a DataError too.
GraphicSetFile ReadGraphicSetFile(const std::string& path);

// FolderOf(setPath) + bitmap name.
std::string GraphicBitmapPath(const std::string& setPath, const std::string& bitmapName);

// The 25 lines; each bitmap line is FileNameOf(the given path).
std::vector<std::string> FormatGraphicSetFile(const GraphicSetFile& set);

// Writes FormatGraphicSetFile atomically.
void WriteGraphicSetFile(const std::string& path, const GraphicSetFile& set);

// The stage editor's palette reading: lines 1 and 2 skipped, lines 3..22 as full paths
// (FolderOf(setPath) + line). A shorter file gives the slots it has; `count` tells how
// many were read (0..20). Lines 23..25 are never read.
struct PaletteImages {
    std::array<std::string, kBlockSlots + kSpecialSlots> paths;
    int count = 0;
};

// The palette reading of the bytes of the graphic set file at setPath, which also names
// the file in errors.
PaletteImages ParsePaletteImages(std::string_view bytes, const std::string& setPath);

// ParsePaletteImages of the file. A path without a folder is refused before the file is
// read; a missing file is a DataError too.
PaletteImages ReadPaletteImages(const std::string& path);

}  // namespace qon
