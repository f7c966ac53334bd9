// SPDX-License-Identifier: MIT
#pragma once

// The rules of play: one game from its first stage to its last. Play reaches display,
// sound, input and the clock only through media::Media, so the whole of it runs on the
// headless twin as well as on SDL.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "qon/media/media.h"
#include "qon/play/menu.h"
#include "qon/play/play_state.h"

namespace qon::play {

// The eight effects, loaded by the shell at start-up. An empty pointer plays nothing.
struct SoundEffects {
    media::SoundEffectPtr SeBar, SeBlock, SeCur, SeItem, SeSelect, SeBreak, SeBlack, SeKin;
};

// The tracks of the chosen music set, loaded by the shell. StageMusic holds
// StageMusicCount + 1 entries, the last one empty; an empty entry plays nothing, so a
// set without stage tracks leaves the stages silent.
struct MusicSet {
    media::MusicTrackPtr TitleMusic, EndingMusic;
    std::vector<media::MusicTrackPtr> StageMusic;
    std::int16_t StageMusicCount = 0;
    std::string musicStaff;
};

// The images of the chosen graphic set, loaded anew at every stage start.
struct StageImages {
    std::array<media::SurfacePtr, 9> BlockSurface;
    std::array<media::SurfacePtr, 11> SpecialSurface;
    media::SurfacePtr BallSurface, MiniBallSurface, BarSurface;
};

// Reads the graphic set file and loads its 23 bitmaps from the set's folder, each slot
// released before it is loaded again; the author line goes to graphicStaff. Throws
// qon::DataError for a missing or short set file and media::MediaError for a bitmap
// that cannot be loaded; after a failure every image slot is empty.
void LoadGraphicSet(media::Media& media, StageImages& images, std::string& graphicStaff,
                    const std::string& graphicSetPath);

// The one object that owns the game's state. The shell fills sounds, music and the two
// paths before PlayStage.
struct Game {
    explicit Game(media::Media& m) : media(m) {}
    Game(const Game&) = delete;
    Game& operator=(const Game&) = delete;

    media::Media& media;
    PlayState play;
    StageImages images;
    std::string graphicStaff;
    SoundEffects sounds;
    MusicSet music;
    Menu menu;
    bool TitleMusicPlaying = false;
    std::string stageProjectPath;  // the chosen stage project file (.stp)
    std::string graphicSetPath;    // the chosen graphic set file (.bgp)
    // What is being shown ("loading", "title", "intro", "play", "pause", ...), set by
    // every screen of play and of the shell, for whoever watches the game (the replay
    // runner's trace). Nothing in the game reads it.
    std::string_view screen;
};

// ---- the game ----------------------------------------------------------------------

// How a stage ended.
enum class StageEnd {
    Cleared,  // the banner has run and StageNumber is advanced (past StageCount after the last)
    Restart,  // "   ReStart" in the pause menu or " Continue" after a game over: the same
              // stage again, with the restart's resets already made
    Quit,     // "  Goto Title" in the pause menu or the game-over menu
};

// One stage from its start to its end: the title and stage tracks stop, the stage of
// StageNumber is loaded, the intro banner runs, then frames are played until the stage
// is cleared or the player restarts it or leaves. What follows is the shell's to decide.
// Throws qon::DataError / media::MediaError when the stage or its graphic set cannot be
// loaded (before anything of it is shown), and lets media::QuitRequested through.
StageEnd PlayStage(Game& game);

// Play reads Space and the buttons directly, so the menu latches have not seen a press
// still held from play. Every menu opened from play, and the shell's save screen after
// a cleared stage, latches them first, so that a held press cannot choose.
void LatchPressesHeldFromPlay(Game& game);

// The game-over overlay over the frozen field: false = " Continue", true = "Goto  Title"
// (which also stops every stage track).
bool GameOverMenu(Game& game);

// The pause overlay: 0 "  Continue", 1 "   ReStart", 2 "  Goto Title".
int PauseMenu(Game& game);

// ---- stages and banners --------------------------------------------------------------

// Grid, project header, stage file of StageNumber, graphic set; read from disk at every
// stage start, restarts included.
void LoadStage(Game& game);
void ShowStageIntro(Game& game);
void ShowStageClear(Game& game);
// The MISS banner, then one life less and ResetBallAndBar; true when no life is left.
bool ShowMiss(Game& game);

// ---- one frame of play ------------------------------------------------------------------

// Reads the controller, moves the Bar (and a resting ball with it), launches a resting
// ball on Space or ControllerButtons == 4.
void BarAndLaunchStep(Game& game);
// Moves the main ball, then every mini ball, bouncing them off the walls.
void MotionStep(Game& game);
// Bar and block contacts and their reactions; returns true when the main ball is lost.
bool CollisionStep(Game& game);
// Every live debris square flies one step and ages.
void DebrisStep(PlayState& play);
// True when no breakable block is alive in rows 0 to 27.
bool IsStageClear(const PlayState& play);
// Draws the whole play screen into BackBuffer (not presented). Also ages the combo,
// removes and scores broken blocks and flips TrailBlink, so it must run exactly once
// per drawn frame.
void DrawPlayScreen(Game& game);

// ---- parts of the steps, exposed for tests ------------------------------------------

enum class Side : std::int8_t { None, Left, Right, Top, Bottom };

struct BlockContact {
    int cell = -1;  // row * 12 + column, -1 for none
    Side side = Side::None;
};

// Insets of the top and bottom strips around a block.
inline constexpr int kMainBallInset = 6;
inline constexpr int kMiniBallInset = 4;

// The contact a ball rectangle makes with the live blocks: of all contacts, the one
// latest in the scan order pass (left, right, top, bottom) > row > column.
BlockContact FindBlockContact(const ::qon::StageGrid& grid, const media::Rect& ball, int inset);

// Five mini balls at (x, y), each with random speeds 1..6 right and down.
void SpawnMiniBalls(Game& game, std::int16_t x, std::int16_t y);
// Four debris squares flying out from (x, y).
void SpawnDebris(PlayState& play, std::int16_t x, std::int16_t y);
// The reaction of the touched block to the main ball / to mini ball `slot`.
void MainBallReaction(Game& game, const BlockContact& contact);
void MiniBallReaction(Game& game, int slot, const BlockContact& contact);
// Bar width x 1.5 (half to even), capped at kBarMaxWidth; the Bar (and a ball resting
// on it) is moved left as needed so that the Bar stays inside the right wall.
void ExtendBar(PlayState& play);

}  // namespace qon::play
