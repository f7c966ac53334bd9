// SPDX-License-Identifier: MIT
#pragma once

#include <QMainWindow>
#include <array>

#include "qon/graphic_set_creator/graphic_set_commands.h"
#include "qon/graphic_set_creator/graphic_set_document.h"
#include "qon/tools_common/recent_files.h"

class QLineEdit;
class QCloseEvent;
class QSettings;

namespace qon::graphic_set_creator {

class SlotPreview;

// The main window "QONPavane". It only shows the document and forwards the author's
// clicks to the GraphicSetCommands; all decisions are made there.
class GraphicSetWindow final : public QMainWindow {
    Q_OBJECT
  public:
    // The recent files live in `settings` (null: for this session only), which must
    // outlive the window.
    GraphicSetWindow(tools_common::Prompter& prompter, const ImageLoader& loader,
                     QSettings* settings = nullptr, QWidget* parent = nullptr);

    const GraphicSetDocument& document() const { return m_document; }

    // Opens a set given on the command line, as "開く" would after its dialog.
    void openAtStart(const QString& path);

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    void buildMenu();
    QWidget* buildGroup(SlotGroup group, const QString& title, const char* previewName,
                        const char* buttonName);
    // Runs one operation, then shows the document as it now is.
    template <typename Operation>
    void run(Operation operation);
    void refresh();

    GraphicSetDocument m_document;
    GraphicSetCommands m_commands;
    tools_common::RecentFiles m_recent;
    std::array<SlotPreview*, kBitmapSlots> m_previews{};
    QLineEdit* m_setName = nullptr;
    QLineEdit* m_staffName = nullptr;
};

}  // namespace qon::graphic_set_creator
