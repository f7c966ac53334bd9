// SPDX-License-Identifier: MIT
#include "qon/graphic_set_creator/graphic_set_document.h"

#include <cassert>

namespace qon::graphic_set_creator {

SlotRange RangeOf(SlotGroup group) {
    switch (group) {
        case SlotGroup::Blocks:
            return {0, kBlockSlots};
        case SlotGroup::SpecialBlocks:
            return {kFirstSpecialSlot, kSpecialSlots};
        case SlotGroup::Parts:
            return {kFirstPartSlot, kPartSlots};
    }
    assert(!"unknown slot group");
    return {0, 0};
}

SlotGroup GroupOf(int slot) {
    assert(slot >= 0 && slot < kBitmapSlots && "bitmap slot out of range");
    if (slot < kFirstSpecialSlot) return SlotGroup::Blocks;
    if (slot < kFirstPartSlot) return SlotGroup::SpecialBlocks;
    return SlotGroup::Parts;
}

GraphicSetDocument::GraphicSetDocument() {
    reset();
}

void GraphicSetDocument::reset() {
    for (auto& entry : m_entries) entry.clear();
    for (auto& picture : m_pictures) picture = QImage();
    for (auto& folder : m_nameFolders) folder.clear();
    m_setName = kInitialName;
    m_staffName = kInitialName;
    m_currentFile.clear();
    m_fileOpened = false;
    m_modified = false;
}

void GraphicSetDocument::setSlot(int slot, std::string entry, QImage picture,
                                 std::string nameFolder) {
    // Comparing the picture as well would cost a pixel compare per slot; a new pick of
    // the same path may be a changed file, so any pick counts as a change.
    m_entries.at(slot) = std::move(entry);
    m_pictures.at(slot) = std::move(picture);
    m_nameFolders.at(slot) = std::move(nameFolder);
    m_modified = true;
}

std::string GraphicSetDocument::bitmapPath(int slot) const {
    const std::string& entry = m_entries.at(slot);
    if (entry.empty() || entry.find('/') != std::string::npos) return entry;
    return m_nameFolders.at(slot) + entry;
}

void GraphicSetDocument::relocate(int slot, std::string path) {
    m_entries.at(slot) = std::move(path);
    m_nameFolders.at(slot).clear();
}

GraphicSetDocument::GroupState GraphicSetDocument::groupState(SlotGroup group) const {
    return {group, m_entries, m_pictures, m_nameFolders, m_modified};
}

void GraphicSetDocument::restoreGroup(const GroupState& state) {
    const SlotRange range = RangeOf(state.group);
    for (int slot = range.first; slot < range.first + range.count; ++slot) {
        m_entries[slot] = state.entries[slot];
        m_pictures[slot] = state.pictures[slot];
        m_nameFolders[slot] = state.nameFolders[slot];
    }
    m_modified = state.modified;
}

void GraphicSetDocument::clearGroup(SlotGroup group) {
    const SlotRange range = RangeOf(group);
    for (int slot = range.first; slot < range.first + range.count; ++slot) {
        if (!m_entries[slot].empty() || !m_pictures[slot].isNull()) m_modified = true;
        m_entries[slot].clear();
        m_pictures[slot] = QImage();
        m_nameFolders[slot].clear();
    }
}

int GraphicSetDocument::firstEmptySlot() const {
    for (int slot = 0; slot < kBitmapSlots; ++slot) {
        if (m_entries[slot].empty()) return slot;
    }
    return -1;
}

void GraphicSetDocument::setSetName(std::string name) {
    if (name == m_setName) return;
    m_setName = std::move(name);
    m_modified = true;
}

void GraphicSetDocument::setStaffName(std::string name) {
    if (name == m_staffName) return;
    m_staffName = std::move(name);
    m_modified = true;
}

void GraphicSetDocument::markSaved(std::string path) {
    m_currentFile = std::move(path);
    m_fileOpened = true;
    m_modified = false;
}

void GraphicSetDocument::forgetFile() {
    m_currentFile.clear();
    m_fileOpened = false;
}

GraphicSetFile GraphicSetDocument::toFile() const {
    GraphicSetFile file;
    file.setName = m_setName;
    file.staffName = m_staffName;
    file.bitmaps = m_entries;  // the writer keeps only FileNameOf of each
    return file;
}

}  // namespace qon::graphic_set_creator
