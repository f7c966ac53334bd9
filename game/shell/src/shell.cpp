// SPDX-License-Identifier: MIT
// Start-up, the main cycle and shutdown, with set loading and the game reset.

#include "qon/shell/shell.h"

#include <exception>
#include <filesystem>
#include <iostream>

#include "qon/data/error.h"
#include "qon/data/music_set.h"
#include "screen_style.h"

namespace qon::shell {
namespace {

using detail::kMessageTitle;
constexpr int kDeadZone = 16384;

std::string describe(const std::exception& error) {
    return error.what();
}

}  // namespace

GameShell::GameShell(media::Media& media, std::string programFolder, Language language)
    : GameShell(media, SingleGameFolder(std::move(programFolder)), language) {}

GameShell::GameShell(media::Media& media, GameFolders folders, Language language)
    : m_media(media), m_folders(std::move(folders)), m_language(language), m_game(media) {}

void GameShell::pump() {
    m_media.PumpEvents();
}

int GameShell::Form_Load() {
    MusicSetChanged = false;
    return runGuarded([this] { return StartMedia() && PrepareGame() && MainCycle(); });
}

int GameShell::TestPlay(const TestPlayOptions& options) {
    MusicSetChanged = false;
    m_testPlay = true;
    return runGuarded([&] {
        if (!StartMedia() || !PrepareTestPlay(options)) return false;
        // Where the game would go back to the title, a test play ends. A stage that
        // cannot be loaded on the way ends it too, with its message.
        PlayGame();
        return true;
    });
}

int GameShell::runGuarded(const std::function<bool()>& steps) {
    int status = kExitNormal;
    try {
        if (!steps()) status = kExitFailure;
    } catch (const media::QuitRequested&) {
        status = kExitNormal;
    } catch (const DataError& error) {
        // Only start-up (and a test play) reaches here with a data problem: the game's
        // own problems in play are reported inside the cycle and lead back to the title.
        m_media.ShowMessage(kMessageTitle, describe(error));
        status = kExitFailure;
    } catch (const media::MediaError& error) {
        m_media.ShowMessage(kMessageTitle, describe(error));
        status = kExitFailure;
    } catch (const std::exception& error) {
        m_media.ShowMessage(kMessageTitle, say(GameMessage::UnexpectedError, {describe(error)}));
        status = kExitFailure;
    }
    ReleaseMedia();
    return status;
}

void GameShell::ReleaseMedia() {
    // Tracks and effects go before the services that play them.
    for (media::MusicTrackPtr& track : m_game.music.StageMusic) m_media.UnloadMusic(track);
    m_media.UnloadMusic(m_game.music.TitleMusic);
    m_media.UnloadMusic(m_game.music.EndingMusic);
    m_game.sounds = play::SoundEffects{};
    m_game.images = play::StageImages{};
    m_logoSurface.reset();
    m_media.ReleaseMedia();
    m_media.ShowMouseCursor();
}

bool GameShell::StartMedia() {
    m_media.HideMouseCursor();
    std::string reason;
    if (!m_media.InitDisplay(reason)) {
        ReleaseMedia();
        std::cerr << say(GameMessage::DisplayFailedLine, {reason}) << '\n';
        m_media.ShowMessage(kMessageTitle, say(GameMessage::DisplayFailed));
        return false;
    }
    if (!m_media.InitSound(reason)) {
        m_media.ShowMessage(kMessageTitle, say(GameMessage::SoundFailed));
        return false;
    }
    if (!m_media.InitFont(reason)) {
        m_media.ShowMessage(kMessageTitle, say(GameMessage::FontFailed, {reason}));
        return false;
    }
    m_logoSurface = m_media.LoadSurfaceFromFile(m_folders.game + "Logo.bmp");
    play::SoundEffects& se = m_game.sounds;
    const std::string se_folder = m_folders.game + "Se/";
    se.SeBar = m_media.LoadSoundEffect(se_folder + "SeBar.wav");
    se.SeBlock = m_media.LoadSoundEffect(se_folder + "SeBlock.wav");
    se.SeCur = m_media.LoadSoundEffect(se_folder + "SeCur.wav");
    se.SeItem = m_media.LoadSoundEffect(se_folder + "SeItem.wav");
    se.SeSelect = m_media.LoadSoundEffect(se_folder + "SeSelect.wav");
    se.SeBreak = m_media.LoadSoundEffect(se_folder + "SeBreak.wav");
    se.SeBlack = m_media.LoadSoundEffect(se_folder + "SeBlack.wav");
    se.SeKin = m_media.LoadSoundEffect(se_folder + "SeKin.wav");
    return true;
}

void GameShell::resetGame() {
    play::PlayState& p = m_game.play;
    p.StageMusicIndex = -1;
    m_game.TitleMusicPlaying = false;
    m_saveSlots = SaveSlots{};
    m_game.menu.downLatch = false;
    m_media.InitJoystick(kDeadZone);
    play::SeedRandom(p, m_media.RandomSeed());
    // Lives, the launch speeds and every other start value of play.
    play::ResetForNewGame(p);
}

bool GameShell::PrepareGame() {
    play::PlayState& p = m_game.play;
    resetGame();

    m_game.screen = "loading";
    // The lists and settings are read again before every title, so sets registered
    // with the set selector meanwhile take effect. A list that held entries at start-up
    // and is empty now must not leave the old entries in use: it ends the game too.
    ReadSetLists(m_folders, m_lists);
    if (!m_lists.stoppedAt.empty()) {
        m_media.ShowMessage(kMessageTitle,
                            say(GameMessage::ListHoldsNoSet, {QuotedPath(m_lists.stoppedAt)}));
        return false;
    }
    p.StageNumber = 1;
    m_settings = BoundSettings(readSettings(), m_lists);
    useChosenSets();

    m_media.FillSurface(m_media.BackBuffer(), m_media.ToSurfaceColor(media::Rgb(0, 0, 0)));
    drawNowLoading(220, 200, 24);
    m_media.FlipScreen();
    LoadMusicSet();
    return true;
}

GameSettings GameShell::readSettings() {
    const std::string path = m_folders.settingsToWrite();
    std::error_code ignored;
    const bool existed = std::filesystem::exists(path, ignored);
    try {
        if (!existed && path != m_folders.settingsToRead()) {
            // A player's first start of an installed game: the delivered choice becomes
            // theirs, in their own folder.
            GameSettings delivered;
            try {
                delivered = ReadSettingsFile(m_folders.settingsToRead());
            } catch (const DataError&) {
                // None delivered, or damaged: the first set of each list.
            }
            MakeFolderFor(path);
            WriteSettingsFile(path, delivered);
            return delivered;
        }
        return ReadOrCreateSettingsFile(path);
    } catch (const DataError& error) {
        // A damaged file is reported and ends the game. A missing one that cannot be
        // created (a read-only game folder) must not stop anyone from playing: the first
        // set of each list is used, as three lines of 0 would choose.
        if (existed) throw;
        if (!m_settingsUncreatableReported) {
            m_settingsUncreatableReported = true;
            m_media.ShowMessage(kMessageTitle,
                                say(GameMessage::SettingsNotCreated, {describe(error)}));
        }
        return GameSettings{};
    }
}

void GameShell::useChosenSets() {
    m_game.stageProjectPath =
        m_lists.stage.paths.at(static_cast<std::size_t>(m_settings.StageSetIndex));
    m_game.graphicSetPath =
        m_lists.bitmap.paths.at(static_cast<std::size_t>(m_settings.BitMapSetIndex));
}

void GameShell::unloadMusicSet() {
    play::MusicSet& music = m_game.music;
    for (media::MusicTrackPtr& track : music.StageMusic) m_media.UnloadMusic(track);
    m_media.UnloadMusic(music.TitleMusic);
    m_media.UnloadMusic(music.EndingMusic);
    music = play::MusicSet{};
    music.StageMusic.resize(1);  // the empty entry after the last stage track
    MusicSetChanged = false;
}

void GameShell::LoadMusicSet() {
    unloadMusicSet();
    loadMusicSetFrom(m_lists.music.paths.at(static_cast<std::size_t>(m_settings.MusicSetIndex)));
}

void GameShell::loadMusicSetFrom(const std::string& setPath) {
    play::MusicSet& music = m_game.music;
    MusicSetFile file;
    try {
        file = ReadMusicSetForGame(setPath);
    } catch (const DataError& error) {
        // Without its music the game is still worth playing: say what is wrong and go on
        // in silence.
        reportMusicProblem(say(GameMessage::MusicSetNotRead, {describe(error)}));
        return;
    }
    // A track that cannot be loaded stays empty (silent); the others play.
    std::string problems;
    auto load = [&](const std::string& name) {
        try {
            return m_media.LoadMusic(MusicTrackPath(setPath, name));
        } catch (const media::MediaError& error) {
            problems += "\n" + describe(error);
            return media::MusicTrackPtr{};
        }
    };
    music.musicStaff = file.staffName;
    music.TitleMusic = load(file.titleTrack);
    music.EndingMusic = load(file.endingTrack);
    std::vector<media::MusicTrackPtr> stages;
    for (const std::string& track : file.stageTracks) stages.push_back(load(track));
    stages.emplace_back();
    music.StageMusicCount = static_cast<std::int16_t>(file.stageTracks.size());
    music.StageMusic = std::move(stages);
    if (problems.empty()) {
        m_lastMusicProblem.clear();
    } else {
        reportMusicProblem(say(GameMessage::MusicNotLoaded, {problems}));
    }
}

void GameShell::reportMusicProblem(const std::string& text) {
    // The set is read again before every title; one message per problem is enough.
    if (text == m_lastMusicProblem) return;
    m_lastMusicProblem = text;
    m_media.ShowMessage(kMessageTitle, text);
}

bool GameShell::MainCycle() {
    for (;;) {
        OpeningLogo();
        if (!TitleMenu()) return true;
        try {
            PlayGame();
        } catch (const DataError& error) {
            reportBadContent(describe(error));
        } catch (const media::MediaError& error) {
            reportBadContent(describe(error));
        }
        if (!PrepareGame()) return false;
    }
}

void GameShell::PlayGame() {
    play::PlayState& p = m_game.play;
    for (;;) {
        const play::StageEnd end = play::PlayStage(m_game);
        if (end == play::StageEnd::Cleared) {
            // A test play saves nothing, so it has no save screen to show.
            if (!m_testPlay && p.StageNumber <= p.StageCount) {
                // The save screen is a menu too: a Space still held from play must not
                // pick a slot.
                play::LatchPressesHeldFromPlay(m_game);
                StageClearSave();
            }
            play::ResetForNextStage(p);
        }
        if (end == play::StageEnd::Quit || p.StageNumber > p.StageCount) {
            p.StageNumber = 1;
            if (end != play::StageEnd::Quit) PlayEnding();
            return;
        }
        pump();
    }
}

void GameShell::reportBadContent(const std::string& what) {
    // Nothing of the failed stage may stay on: its music stops and its images go.
    for (media::MusicTrackPtr& track : m_game.music.StageMusic) {
        if (track) m_media.StopMusic(track.get());
    }
    m_game.images = play::StageImages{};
    m_media.ShowMessage(kMessageTitle, say(GameMessage::BackToTitle, {what}));
}

}  // namespace qon::shell
