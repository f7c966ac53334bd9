// SPDX-License-Identifier: MIT
#pragma once

#include <QImage>
#include <array>
#include <string>

#include "qon/data/graphic_set.h"

namespace qon::graphic_set_creator {

// The three groups of bitmap slots, each picked in one run by its "参照" button.
enum class SlotGroup { Blocks, SpecialBlocks, Parts };

struct SlotRange {
    int first;  // flat slot number 0..22 (the numbering of qon/data/graphic_set.h)
    int count;
};
SlotRange RangeOf(SlotGroup group);
SlotGroup GroupOf(int slot);

// The graphic set being assembled: 23 bitmap entries with their pictures, the set
// name, the author name and which file it belongs to. No widgets and no dialogs; the
// operations that ask the author live in GraphicSetCommands.
//
// An entry holds a full path after a pick in a dialog and the bare name after an open;
// saving passes both through FileNameOf, so either form writes the right line. A bare
// name lies in the folder of the set file it was read from, which the slot remembers.
class GraphicSetDocument {
  public:
    static constexpr const char* kInitialName = "New";

    GraphicSetDocument();

    // Back to the state at start: entries and pictures empty, both names "New", no
    // current file, nothing modified.
    void reset();

    const std::string& entry(int slot) const { return m_entries.at(slot); }
    const QImage& picture(int slot) const { return m_pictures.at(slot); }
    const std::string& blockFile(int i) const { return entry(i); }
    const std::string& sBlockFile(int i) const { return entry(kFirstSpecialSlot + i); }
    const std::string& partFile(int i) const { return entry(kFirstPartSlot + i); }

    // Sets one slot; an empty entry with a null picture empties it. `nameFolder` is the
    // folder a bare entry lies in (ends in "/"); unused for an entry with a folder.
    void setSlot(int slot, std::string entry, QImage picture, std::string nameFolder = {});
    // Where the bitmap of a slot lies: the entry itself when it names a folder, otherwise
    // its folder joined to it. Empty for an empty slot.
    std::string bitmapPath(int slot) const;
    // The slot's bitmap was copied to `path`: the slot names the copy from now on. The
    // picture is the same, so nothing counts as changed.
    void relocate(int slot, std::string path);
    // Empties every slot of the group, entries and pictures.
    void clearGroup(SlotGroup group);

    // A group as it was, to put back when a choosing run is cancelled.
    struct GroupState {
        SlotGroup group;
        std::array<std::string, kBitmapSlots> entries;
        std::array<QImage, kBitmapSlots> pictures;
        std::array<std::string, kBitmapSlots> nameFolders;
        bool modified;
    };
    GroupState groupState(SlotGroup group) const;
    void restoreGroup(const GroupState& state);
    // The first slot whose entry is empty, or -1 when all 23 are set.
    int firstEmptySlot() const;

    const std::string& setName() const { return m_setName; }
    const std::string& staffName() const { return m_staffName; }
    void setSetName(std::string name);
    void setStaffName(std::string name);

    // A current graphic set file is known: overwriting needs no dialog.
    bool fileOpened() const { return m_fileOpened; }
    const std::string& currentFile() const { return m_currentFile; }
    // Marks the document as the content of `path`, saved or freshly opened.
    void markSaved(std::string path);
    // Forgets the current file, so the next overwrite asks for a name.
    void forgetFile();

    // Something changed since start, New, the last open or the last save.
    bool isModified() const { return m_modified; }
    void setModified() { m_modified = true; }

    // The 25 lines to write.
    GraphicSetFile toFile() const;

  private:
    std::array<std::string, kBitmapSlots> m_entries;
    std::array<QImage, kBitmapSlots> m_pictures;
    std::array<std::string, kBitmapSlots> m_nameFolders;
    std::string m_setName;
    std::string m_staffName;
    std::string m_currentFile;
    bool m_fileOpened = false;
    bool m_modified = false;
};

}  // namespace qon::graphic_set_creator
