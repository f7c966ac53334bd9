// SPDX-License-Identifier: MIT
#include "qon/data/graphic_set.h"

#include <cassert>
#include <vector>

#include "qon/data/messages.h"
#include "qon/data/paths.h"
#include "qon/data/text.h"

namespace qon {

namespace {

constexpr std::string_view kSlotLabels[kBitmapSlots] = {
    "ブロック1", "ブロック2", "ブロック3", "ブロック4", "ブロック5", "ブロック6", "ブロック7",
    "ブロック8", "壊れないブロック",
    // special blocks, in file order (not stage-code order)
    "ピン", "ミニボール（アイテム）", "磁石", "風（←）", "風（→）", "風（↓）", "風（↑）", "ワープ",
    "バー伸びる", "ファイアボール", "ボム",
    // parts
    "メインボール", "ミニボール（ボール）", "バー"};

bool isSlot(int slot) {
    return slot >= 0 && slot < kBitmapSlots;
}

std::string slotWhat(int slot) {
    return Say(Message::BitmapFor, {kSlotLabels[slot]});
}

}  // namespace

BitmapSize RequiredBitmapSize(int slot) {
    assert(isSlot(slot) && "RequiredBitmapSize: slot out of range");
    if (!isSlot(slot)) {
        return {0, 0};
    }
    if (slot < kFirstPartSlot) {
        return {53, 15};
    }
    switch (slot - kFirstPartSlot) {
        case 0:
            return {12, 12};
        case 1:
            return {6, 6};
        default:
            return {128, 12};
    }
}

std::string_view BitmapSlotLabel(int slot) {
    assert(isSlot(slot) && "BitmapSlotLabel: slot out of range");
    return isSlot(slot) ? kSlotLabels[slot] : std::string_view();
}

int SpecialSlotForKind(int kind) {
    switch (kind) {
        case 101:
            return 0;  // Pin
        case 102:
            return 1;  // MiniBallItem
        case 107:
            return 2;  // Magnet comes before the winds in the file
        case 103:
            return 3;  // WindLeft
        case 104:
            return 4;  // WindRight
        case 105:
            return 5;  // WindDown
        case 106:
            return 6;  // WindUp
        case 108:
            return 7;  // Warp
        case 109:
            return 8;  // BarExtend
        case 110:
            return 9;  // FireBall
        case 111:
            return 10;  // Bomb
        default:
            return -1;
    }
}

GraphicSetFile ParseGraphicSetFile(std::string_view bytes, const std::string& name) {
    LineReader reader(name, std::string(bytes));
    GraphicSetFile set;
    set.setName = reader.require(Say(Message::SetName));
    set.staffName = reader.require(Say(Message::AuthorName));
    for (int slot = 0; slot < kBitmapSlots; ++slot) {
        set.bitmaps[slot] = reader.require(slotWhat(slot));
    }
    return set;
}

GraphicSetFile ReadGraphicSetFile(const std::string& path) {
    return ParseGraphicSetFile(ReadTextFileBytes(path), path);
}

std::string GraphicBitmapPath(const std::string& setPath, const std::string& bitmapName) {
    return FolderOf(setPath) + bitmapName;
}

std::vector<std::string> FormatGraphicSetFile(const GraphicSetFile& set) {
    std::vector<std::string> lines;
    lines.reserve(kGraphicSetLines);
    lines.push_back(set.setName);
    lines.push_back(set.staffName);
    for (const std::string& bitmap : set.bitmaps) {
        lines.push_back(FileNameOf(bitmap));
    }
    return lines;
}

void WriteGraphicSetFile(const std::string& path, const GraphicSetFile& set) {
    WriteLinesAtomic(path, FormatGraphicSetFile(set));
}

PaletteImages ParsePaletteImages(std::string_view bytes, const std::string& setPath) {
    const std::string folder = FolderOf(setPath);
    LineReader reader(setPath, std::string(bytes));
    PaletteImages images;
    // Set name and author are not part of the palette.
    if (!reader.next() || !reader.next()) {
        return images;
    }
    for (int slot = 0; slot < kBlockSlots + kSpecialSlots; ++slot) {
        std::optional<std::string> line = reader.next();
        if (!line) {
            break;
        }
        images.paths[slot] = folder + *line;
        images.count = slot + 1;
    }
    return images;
}

PaletteImages ReadPaletteImages(const std::string& path) {
    FolderOf(path);  // throws for a path without a folder, before the disk is touched
    return ParsePaletteImages(ReadTextFileBytes(path), path);
}

}  // namespace qon
