// SPDX-License-Identifier: MIT
#pragma once

#include <QCoreApplication>
#include <QImage>
#include <QString>
#include <functional>
#include <string>

#include "qon/graphic_set_creator/graphic_set_document.h"
#include "qon/graphic_set_creator/image_loader.h"
#include "qon/tools_common/beside_set.h"
#include "qon/tools_common/prompter.h"
#include "qon/tools_common/recent_files.h"

class QWidget;

namespace qon::graphic_set_creator {

// The program's name, for the command line and the settings.
inline constexpr const char* kProgramName = "Pavane";
// The window's title, which every message box of the tool carries too.
inline constexpr const char* kWindowTitle = "QONPavane";
// The message of a bitmap whose pixel size does not fit its slot (translated as shown).
inline constexpr const char* kWrongSizeMessage =
    QT_TRANSLATE_NOOP("GraphicSetCommands", "サイズが違います。");

// The name of bitmap `slot` (0..22) in the tool's language ("ブロック3", "ピン", ...).
QString SlotLabel(int slot);

// File dialog filters in Qt's form.
QString GraphicSetFilter();
// The bitmap dialog's filter while picking `slot` (0..22): block slots name their
// number ("ブロック3/*.bmp (*.bmp)"); special and part slots share one filter each.
QString BitmapFilter(int slot);

// The operations of the tool's menu items and buttons, acting on one document. They
// create no widgets: every dialog and message goes through the Prompter, every picture
// through the ImageLoader, so tests drive them with scripted answers.
//
// Contract shared by all operations: they return true when they completed; a cancelled
// dialog returns false with the document exactly as it was.
class GraphicSetCommands {
  public:
    GraphicSetCommands(GraphicSetDocument& document, tools_common::Prompter& prompter,
                       const ImageLoader& loader);

    // Parent window of the dialogs; nullptr in tests.
    void setDialogParent(QWidget* parent);
    // Where opened and saved files are listed; none in most tests.
    void setRecentFiles(tools_common::RecentFiles* recent) { m_recent = recent; }
    // Told about each slot as soon as its bitmap is picked in a choosing run, while the
    // dialog for the next slot is still to come, so the window can show the picture.
    void setPickShown(std::function<void(int slot)> shown) { m_pickShown = std::move(shown); }

    // Pick every slot of a group, one dialog after another; each picked bitmap shows at
    // once. A bitmap of the wrong size ("サイズが違います。") or one that cannot be loaded
    // empties the whole group, so a run sets all of its slots or none. A cancelled dialog
    // puts the group back as it was before the run.
    bool ChooseBlocks() { return chooseGroup(SlotGroup::Blocks); }
    bool ChooseSpecialBlocks() { return chooseGroup(SlotGroup::SpecialBlocks); }
    bool ChooseParts() { return chooseGroup(SlotGroup::Parts); }
    bool chooseGroup(SlotGroup group);

    // Pick one slot with the same size check. A refused bitmap leaves the slot as it was:
    // fixing one wrong file must not cost the author the rest of the group.
    bool ChooseSlot(int slot);

    // Each of these first asks about unsaved changes.
    bool NewSet();
    // Reads the names, then the 23 bitmaps in file order, without a size check. A
    // bitmap that cannot be loaded stops the open at its slot: earlier slots hold the
    // new set, later ones keep what they had, and the mixed result is no longer tied to
    // any file, so the next overwrite asks for a name.
    bool OpenSet();
    // Opens `path` without a dialog (the recent files menu, the command line). A file
    // that is no longer there is said so and leaves the recent files.
    bool OpenSetFrom(const std::string& path);

    // Refused, with a message naming the problem, while a slot is empty or a text
    // cannot be written as a line of Shift-JIS. Bitmaps that lie outside the folder the
    // set is saved to are listed, with the offer to copy them beside it: yes copies,
    // no saves the set as it is, cancel saves nothing.
    bool SaveSetAs();
    // Overwrites the current file; without one it is SaveSetAs.
    bool SaveSet();

    // Asks about unsaved changes before the window closes; true when it may close.
    bool confirmClose() { return settleUnsavedChanges(); }

  private:
    enum class Pick { Accepted, Cancelled, Refused };
    Pick pickBitmap(int slot, std::string& path, QImage& picture);
    // Asks about unsaved changes; true when the caller may go on (saved or dropped).
    bool settleUnsavedChanges();
    bool checkSavable();
    bool openPath(const std::string& setPath);
    // Copies stray bitmaps beside the set when the author wants; false to stop the save.
    bool bringBitmapsBeside(const std::string& setPath);
    bool saveTo(const std::string& path);
    bool writeTo(const std::string& path);
    QString suggestedSavePath() const;
    void tell(const QString& text);

    GraphicSetDocument& m_document;
    tools_common::Prompter& m_prompter;
    const ImageLoader& m_loader;
    QWidget* m_parent = nullptr;
    tools_common::RecentFiles* m_recent = nullptr;
    std::function<void(int)> m_pickShown;
    tools_common::BesideSetCopier m_copier;
};

}  // namespace qon::graphic_set_creator
