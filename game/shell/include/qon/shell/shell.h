// SPDX-License-Identifier: MIT
#pragma once

// The game's shell: start-up, the endless cycle of screens around play, and shutdown.
// One GameShell is the game's main window object: it owns the game state and runs every
// screen on the media layer it is given (SDL for the player, the headless twin for the
// replay runner and tests).

#include <cstdint>
#include <functional>
#include <string>

#include "qon/data/game_folders.h"
#include "qon/data/language.h"
#include "qon/data/save_file.h"
#include "qon/data/set_list.h"
#include "qon/data/settings.h"
#include "qon/media/media.h"
#include "qon/play/game.h"
#include "qon/shell/command_line.h"
#include "qon/shell/game_messages.h"

namespace qon::shell {

// Exit statuses of Form_Load.
inline constexpr int kExitNormal = 0;   // Exit, the quit key, a window close
inline constexpr int kExitFailure = 1;  // the game could not start or went on

class GameShell final {
  public:
    // `programFolder` ends in "/"; the fixed files (Logo.bmp, Se/, the lists, Init.bse)
    // are found there, and every file is written where it is read. `language` is the
    // language of the game's messages (game_messages.h).
    GameShell(media::Media& media, std::string programFolder,
              Language language = Language::Japanese);
    // The game folder and the per-user folder of an installed or read-only game.
    GameShell(media::Media& media, GameFolders folders, Language language = Language::Japanese);

    // Runs the whole game: StartMedia, PrepareGame, MainCycle, ShutDown. Every way the
    // program ends comes back here, so the media layer is always released. Returns the
    // exit status: kExitFailure when the game ended because something could not be
    // loaded or started (after a message naming it), kExitNormal otherwise.
    int Form_Load();

    // A test play (see command_line.h): StartMedia, the sets of the test play, then play
    // from the given stage until it would go back to the title, and shutdown. Returns
    // kExitFailure, after a message naming the file, when the stage project or a set
    // cannot be read, a stage is out of range or a stage cannot be loaded on the way;
    // kExitNormal otherwise.
    int TestPlay(const TestPlayOptions& options);

    // -- the steps, public for tests --
    // Display, sound, font, the logo and the eight effects. False (after a message) when
    // the game cannot run.
    bool StartMedia();
    // Resets the game and reads the lists, "Init.bse" (created with three 0 lines when
    // missing) and the chosen music set. False (after a message asking the player to
    // register sets with Sorrel) when a list holds no set.
    bool PrepareGame();
    // PrepareGame's counterpart for a test play: the same reset, then the project, the
    // stage and the sets of the test play, "Now Loading" and the music. Reads "Init.bse"
    // and the lists only when a set is not given, and never creates or writes a file.
    // False (after a message naming the file) when the test play cannot start.
    bool PrepareTestPlay(const TestPlayOptions& options);
    // Opening, title, play, prepare ... until the player chooses Exit. False when a
    // PrepareGame after play failed.
    bool MainCycle();
    // The stage loop: plays from the current StageNumber, stage after stage, with the
    // stage-clear save between two stages (not in a test play), until the last stage is
    // cleared (then the ending) or the player leaves for the title; StageNumber is 1
    // again afterwards.
    // Throws what play throws for a stage that cannot be loaded.
    void PlayGame();
    void ReleaseMedia();

    // -- screens --
    void OpeningLogo();
    // True when a game is to start; false on "Exit".
    bool TitleMenu();
    // Steps through the three lists; writes "Init.bse" on "EXIT" and leaves the main
    // menu's four items in the shared menu.
    void ConfigScreen();
    // True when a save slot was chosen (StageNumber is then its stage); false on "Exit",
    // with the main menu's four items back in the shared menu. A missing save file is
    // created with four slots of 1; a damaged one is reported and answers false. A slot
    // whose stage the stage project does not have is reported, naming the slot and the
    // project's stage count, and the menu stays.
    bool LoadGameMenu();
    // Lets the player store StageNumber in any of the four slots; the file is written on
    // "NEXT" only. A damaged save file is reported and left alone, and play goes on.
    void StageClearSave();
    void PlayEnding();
    // Unloads the previous tracks and loads those of the music set at MusicSetIndex. A
    // set that cannot be read, or a track that cannot be loaded, is reported (once) and
    // stays silent; the game goes on.
    void LoadMusicSet();

    play::Game& game() { return m_game; }
    const SetLists& lists() const { return m_lists; }
    const GameSettings& settings() const { return m_settings; }
    bool MusicSetChanged = false;

  private:
    void pump();
    // Runs `steps` (false: the game could not start or go on) and turns every way the
    // program can end into an exit status; the media layer is always released.
    int runGuarded(const std::function<bool()>& steps);
    // PrepareGame's reset of the play state, the menu, the joystick and the seed.
    void resetGame();
    // The set at the player's chosen index of a list, for a test play: "Init.bse" and
    // the list are only read; an unreadable "Init.bse" chooses the first entry, an
    // unreadable or empty list gives "".
    std::string chosenSetPath(SetKind kind);
    void unloadMusicSet();
    // Loads the tracks of the music set file into the unloaded set.
    void loadMusicSetFrom(const std::string& setPath);
    // The stage project and graphic set of the chosen indices, for play to load.
    // "Init.bse", created with three lines of 0 when missing; a player's first per-user
    // copy starts from the delivered choice.
    GameSettings readSettings();
    void useChosenSets();
    // The main menu's four items, laid out by one poll whose choice is not used.
    void refillMainMenu();
    void drawTitleBackground();
    void drawTitleWord(int x);
    void drawCopyright();
    void drawNowLoading(int x, int y, int size);
    void showStaffRollPage(int page);
    void drawStaffRollPage(int page);
    // The message for a stage, graphic set or bitmap that cannot be loaded.
    void reportBadContent(const std::string& what);
    void reportMusicProblem(const std::string& text);
    // Why save slot `slot` (0-based) holding `stage` cannot be played in the current stage
    // project; empty when it can (or when the project cannot be read, which play reports).
    std::string slotProblem(const std::string& savePath, int slot, std::int16_t stage);

    // The game's message in the language of this game.
    std::string say(GameMessage message, std::initializer_list<std::string_view> args = {}) const {
        return GameText(m_language, message, args);
    }

    media::Media& m_media;
    GameFolders m_folders;
    Language m_language;
    play::Game m_game;
    media::SurfacePtr m_logoSurface;
    SetLists m_lists;
    GameSettings m_settings;
    // A missing "Init.bse" that could not be created has been reported once already.
    bool m_settingsUncreatableReported = false;
    SaveSlots m_saveSlots{};
    std::string m_lastMusicProblem;
    // A test play: no save screen between stages.
    bool m_testPlay = false;
};

// The one-line copyright notice of the title screen.
inline constexpr const char* kCopyrightNotice = "(C) qon project. All rights reserved.";

}  // namespace qon::shell
