// SPDX-License-Identifier: MIT
// The stage-clear save screen and the load screen: the two readers of the stage set's
// save file, and its one writer in the game.

#include <string>

#include "qon/data/error.h"
#include "qon/data/project_save.h"
#include "qon/data/save_file.h"
#include "qon/data/stage.h"
#include "qon/shell/shell.h"
#include "screen_style.h"

namespace qon::shell {

using namespace detail;

namespace {

constexpr int kSlotMenuX = 240;
constexpr int kSlotMenuY = 270;
constexpr int kSlotMenuExit = kSaveSlotCount;  // "NEXT" / "Exit", after the four slots

}  // namespace

std::string GameShell::slotProblem(const std::string& savePath, int slot, std::int16_t stage) {
    StageProjectHeader header;
    try {
        header = ReadStageProjectHeader(m_game.stageProjectPath);
    } catch (const DataError&) {
        // Play reads the project again and reports what is wrong with it.
        return {};
    }
    if (stage >= 1 && stage <= header.StageCount) return {};
    // A project that lost stages since the slot was saved, or a hand-edited save file: the
    // stage file is not the problem, the slot is.
    return say(header.StageCount == 1 ? GameMessage::SlotBeyondTheOnlyStage
                                      : GameMessage::SlotBeyondTheProject,
               {QuotedPath(savePath), std::to_string(slot + 1), SaveSlotLabel(stage),
                std::to_string(stage), QuotedPath(m_game.stageProjectPath),
                std::to_string(header.StageCount)});
}

void GameShell::StageClearSave() {
    m_game.screen = "save";
    play::Menu& menu = m_game.menu;
    menu.MenuClear();
    const std::string savePath = m_folders.saveToWrite(m_game.stageProjectPath);
    try {
        // A stage project without a save file (made by hand) gets a fresh one.
        m_saveSlots = ReadOrCreateSaveFile(m_folders.saveToRead(m_game.stageProjectPath), savePath);
    } catch (const DataError& error) {
        // A damaged save file must not cost the player the game in progress, nor be
        // overwritten unseen: say so and go on to the next stage without saving.
        m_media.ShowMessage(kMessageTitle, say(GameMessage::SaveNotRead, {error.what()}));
        m_game.screen = "play";
        return;
    }
    for (std::int16_t slot : m_saveSlots) menu.MenuAdd(SaveSlotLabel(slot));
    menu.MenuAdd("NEXT");
    for (;;) {
        const int choice = menu.MenuPoll(m_media, m_game.sounds, kMenuSelect, kSlotMenuX,
                                         kSlotMenuY, kMenuSpacing);
        if (choice >= 0 && choice < kSaveSlotCount) {
            // Only in memory until "NEXT". The screen shows only while a stage follows, so
            // the number is at most the stage count and fits the file's 16 bits.
            const auto stage = static_cast<std::int16_t>(m_game.play.StageNumber);
            m_saveSlots[static_cast<std::size_t>(choice)] = stage;
            menu.MenuItems[static_cast<std::size_t>(choice)].Text = SaveSlotLabel(stage);
            if (m_game.sounds.SeSelect) m_media.PlaySoundEffect(*m_game.sounds.SeSelect);
        } else if (choice == kSlotMenuExit) {
            try {
                MakeFolderFor(savePath);
                WriteSaveFile(savePath, m_saveSlots);
            } catch (const DataError& error) {
                m_media.ShowMessage(kMessageTitle,
                                    say(GameMessage::SaveNotWritten, {error.what()}));
            }
            m_game.screen = "play";
            return;
        }
        play::DrawPlayScreen(m_game);
        menu.DrawMenuItems(m_media);
        m_media.FlipScreen();
        pump();
    }
}

bool GameShell::LoadGameMenu() {
    m_game.screen = "load";
    play::Menu& menu = m_game.menu;
    const std::string savePath = m_folders.saveToRead(m_game.stageProjectPath);
    try {
        // The save file is one of the project's files: a save of the project that the
        // stage editor did not get to complete is finished first, or its slots would
        // point into the project as it was before.
        FinishInterruptedSave(m_game.stageProjectPath);
        // A stage set that was never saved by the stage editor gets a fresh file with
        // every slot at stage 1.
        m_saveSlots =
            ReadOrCreateSaveFile(savePath, m_folders.saveToWrite(m_game.stageProjectPath));
    } catch (const DataError& error) {
        m_media.ShowMessage(kMessageTitle, say(GameMessage::SaveNotLoaded, {error.what()}));
        refillMainMenu();
        return false;
    }
    menu.MenuClear();
    for (std::int16_t slot : m_saveSlots) menu.MenuAdd(SaveSlotLabel(slot));
    menu.MenuAdd("Exit");
    for (;;) {
        const int choice = menu.MenuPoll(m_media, m_game.sounds, kMenuSelect, kSlotMenuX,
                                         kSlotMenuY, kMenuSpacing);
        if (choice >= 0 && choice < kSaveSlotCount) {
            const std::int16_t stage = m_saveSlots[static_cast<std::size_t>(choice)];
            if (const std::string problem = slotProblem(savePath, choice, stage);
                !problem.empty()) {
                // Stay in the menu: the other slots may still be good.
                m_media.ShowMessage(kMessageTitle, problem);
            } else {
                m_game.play.StageNumber = stage;
                if (m_game.sounds.SeSelect) m_media.PlaySoundEffect(*m_game.sounds.SeSelect);
                return true;
            }
        }
        if (choice == kSlotMenuExit) {
            refillMainMenu();
            if (m_game.sounds.SeSelect) m_media.PlaySoundEffect(*m_game.sounds.SeSelect);
            return false;
        }
        drawTitleBackground();
        menu.DrawMenuItems(m_media);
        m_media.FlipScreen();
        pump();
    }
}

}  // namespace qon::shell
