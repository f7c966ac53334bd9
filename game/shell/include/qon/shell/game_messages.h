// SPDX-License-Identifier: MIT
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

#include "qon/data/language.h"

namespace qon::shell {

// What the game says in its message boxes and on its terminal (never what it draws on its
// screens, which is its look and is the same in every language).
enum class GameMessage {
    // Start-up.
    DisplayFailed,
    DisplayFailedLine,
    SoundFailed,
    FontFailed,
    UnexpectedError,
    // The lists, the settings and the save file.
    ListHoldsNoSet,
    SettingsNotCreated,
    SettingsNotWritten,
    SaveNotRead,
    SaveNotWritten,
    SaveNotLoaded,
    SlotBeyondTheProject,
    SlotBeyondTheOnlyStage,
    // Bad content and music.
    BackToTitle,
    MusicSetNotRead,
    MusicNotLoaded,
    // A test play.
    TestPlayCannotStart,
    NoSuchStage,
    NoSuchStageOfOne,
    NoGraphicSetInList,
    NoMusicSetLine,
};

inline constexpr int kGameMessageCount = static_cast<int>(GameMessage::NoMusicSetLine) + 1;

// The message's text in `language`, with {1}, {2}, ... replaced by `args`. The data
// library's reasons inside a message speak the same language when the program has set it
// (qon does so once at start-up).
std::string GameText(Language language, GameMessage message,
                     std::initializer_list<std::string_view> args = {});

// The template itself, for checking the table.
std::string_view GameMessageTemplate(Language language, GameMessage message);

}  // namespace qon::shell
