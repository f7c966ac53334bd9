// SPDX-License-Identifier: MIT
#include "qon/shell/game_messages.h"

#include "qon/data/messages.h"

namespace qon::shell {

namespace {

struct Row {
    GameMessage message;
    const char* english;
    const char* japanese = nullptr;  // nullptr: said in English in both languages
};

// In the order of the enumeration (checked by a test).
const Row kRows[] = {
    {GameMessage::DisplayFailed, "The display cannot be started.", "DirectDrawの初期化に失敗"},
    {GameMessage::DisplayFailedLine, "qon: the display cannot start: {1}"},
    {GameMessage::SoundFailed, "The sound cannot be started.", "DirectSoundの初期化に失敗"},
    {GameMessage::FontFailed, "The font cannot be loaded.\n{1}", "フォントの初期化に失敗\n{1}"},
    {GameMessage::UnexpectedError, "The game stopped on an unexpected error: {1}"},
    {GameMessage::ListHoldsNoSet,
     "{1}: no set is registered in this list. Register one with the set selector Sorrel, then "
     "start qon again."},
    {GameMessage::SettingsNotCreated, "{1}\n\nThe game goes on with the first set of each list."},
    {GameMessage::SettingsNotWritten,
     "{1}\n\nThe chosen sets cannot be remembered: they hold only until the next return to the "
     "title."},
    {GameMessage::SaveNotRead,
     "{1}\n\nThe progress cannot be saved; the game goes on with the next stage."},
    {GameMessage::SaveNotWritten,
     "{1}\n\nThe progress is not saved; the game goes on with the next stage."},
    {GameMessage::SaveNotLoaded, "{1}\n\nNo saved game can be loaded from it."},
    {GameMessage::SlotBeyondTheProject,
     "{1}: save slot {2} ({3}) resumes at stage {4}, but the stage project {5} has {6} stages. "
     "Choose another slot, or start a new game."},
    {GameMessage::SlotBeyondTheOnlyStage,
     "{1}: save slot {2} ({3}) resumes at stage {4}, but the stage project {5} has {6} stage. "
     "Choose another slot, or start a new game."},
    {GameMessage::BackToTitle, "{1}\n\nThe game goes back to the title."},
    {GameMessage::MusicSetNotRead,
     "The music set cannot be read; the game plays without music.\n{1}"},
    {GameMessage::MusicNotLoaded, "Some music cannot be loaded and stays silent:{1}"},
    {GameMessage::TestPlayCannotStart, "{1}\n\nThe test play cannot start."},
    {GameMessage::NoSuchStage, "{1}: the stage project has {2} stages; there is no stage {3}."},
    {GameMessage::NoSuchStageOfOne, "{1}: the stage project has {2} stage; there is no stage {3}."},
    {GameMessage::NoGraphicSetInList,
     "{1}: no graphic set can be read from this list. Name one with --graphic-set."},
    {GameMessage::NoMusicSetLine,
     "qon: no music set can be read from {1}; the test play is silent"},
};

static_assert(sizeof kRows / sizeof kRows[0] == kGameMessageCount, "one row per message");

}  // namespace

bool HasJapaneseForm(GameMessage message) {
    return kRows[static_cast<int>(message)].japanese != nullptr;
}

std::string_view GameMessageTemplate(Language language, GameMessage message) {
    const Row& row = kRows[static_cast<int>(message)];
    return language == Language::Japanese && row.japanese != nullptr ? row.japanese : row.english;
}

std::string GameText(Language language, GameMessage message,
                     std::initializer_list<std::string_view> args) {
    return FillPlaceholders(GameMessageTemplate(language, message), args);
}

}  // namespace qon::shell
