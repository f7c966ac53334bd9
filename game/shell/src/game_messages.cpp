// SPDX-License-Identifier: MIT
#include "qon/shell/game_messages.h"

#include "qon/data/messages.h"

namespace qon::shell {

namespace {

struct Row {
    GameMessage message;
    const char* english;
    const char* japanese;
};

// In the order of the enumeration (checked by a test).
const Row kRows[] = {
    {GameMessage::DisplayFailed, "The display cannot be started.", "DirectDrawの初期化に失敗"},
    {GameMessage::DisplayFailedLine, "qon: the display cannot start: {1}",
     "qon: 画面を開始できません: {1}"},
    {GameMessage::SoundFailed, "The sound cannot be started.", "DirectSoundの初期化に失敗"},
    {GameMessage::FontFailed, "The font cannot be loaded.\n{1}", "フォントの初期化に失敗\n{1}"},
    {GameMessage::UnexpectedError, "The game stopped on an unexpected error: {1}",
     "予期しないエラーのためゲームを終了しました: {1}"},
    {GameMessage::ListHoldsNoSet,
     "{1}: no set is registered in this list. Register one with the set selector Sorrel, then "
     "start qon again.",
     "{1}: この一覧にはセットが登録されていません。セット選択ツール Sorrel で登録してから、"
     "もう一度 qon を起動してください。"},
    {GameMessage::SettingsNotCreated, "{1}\n\nThe game goes on with the first set of each list.",
     "{1}\n\n各一覧の最初のセットでゲームを続けます。"},
    {GameMessage::SettingsNotWritten,
     "{1}\n\nThe chosen sets cannot be remembered: they hold only until the next return to the "
     "title.",
     "{1}\n\n選んだセットを記録できません。次にタイトルへ戻るまでの間だけ有効です。"},
    {GameMessage::SaveNotRead,
     "{1}\n\nThe progress cannot be saved; the game goes on with the next stage.",
     "{1}\n\n進行状況を保存できません。次のステージへ進みます。"},
    {GameMessage::SaveNotWritten,
     "{1}\n\nThe progress is not saved; the game goes on with the next stage.",
     "{1}\n\n進行状況は保存されませんでした。次のステージへ進みます。"},
    {GameMessage::SaveNotLoaded, "{1}\n\nNo saved game can be loaded from it.",
     "{1}\n\nここからセーブデータを読み込めません。"},
    {GameMessage::SlotBeyondTheProject,
     "{1}: save slot {2} ({3}) resumes at stage {4}, but the stage project {5} has {6} stages. "
     "Choose another slot, or start a new game.",
     "{1}: セーブ {2}（{3}）はステージ {4} から再開しますが、ステージプロジェクト {5} の"
     "ステージ数は {6} です。別のセーブを選ぶか、新しく始めてください。"},
    {GameMessage::SlotBeyondTheOnlyStage,
     "{1}: save slot {2} ({3}) resumes at stage {4}, but the stage project {5} has {6} stage. "
     "Choose another slot, or start a new game.",
     "{1}: セーブ {2}（{3}）はステージ {4} から再開しますが、ステージプロジェクト {5} の"
     "ステージ数は {6} です。別のセーブを選ぶか、新しく始めてください。"},
    {GameMessage::BackToTitle, "{1}\n\nThe game goes back to the title.",
     "{1}\n\nタイトルに戻ります。"},
    {GameMessage::MusicSetNotRead,
     "The music set cannot be read; the game plays without music.\n{1}",
     "ミュージックセットを読み込めません。音楽なしで遊びます。\n{1}"},
    {GameMessage::MusicNotLoaded, "Some music cannot be loaded and stays silent:{1}",
     "読み込めない曲があります。その曲は鳴りません:{1}"},
    {GameMessage::TestPlayCannotStart, "{1}\n\nThe test play cannot start.",
     "{1}\n\nテストプレイを始められません。"},
    {GameMessage::NoSuchStage, "{1}: the stage project has {2} stages; there is no stage {3}.",
     "{1}: ステージプロジェクトのステージ数は {2} です。ステージ {3} はありません。"},
    {GameMessage::NoSuchStageOfOne, "{1}: the stage project has {2} stage; there is no stage {3}.",
     "{1}: ステージプロジェクトのステージ数は {2} です。ステージ {3} はありません。"},
    {GameMessage::NoGraphicSetInList,
     "{1}: no graphic set can be read from this list. Name one with --graphic-set.",
     "{1}: この一覧から読み込めるグラフィックセットがありません。--graphic-set "
     "で指定してください。"},
    {GameMessage::NoMusicSetLine, "qon: no music set can be read from {1}; the test play is silent",
     "qon: {1} から読み込めるミュージックセットがありません。音楽なしでテストプレイします"},
};

static_assert(sizeof kRows / sizeof kRows[0] == kGameMessageCount, "one row per message");

}  // namespace

std::string_view GameMessageTemplate(Language language, GameMessage message) {
    const Row& row = kRows[static_cast<int>(message)];
    return language == Language::Japanese ? row.japanese : row.english;
}

std::string GameText(Language language, GameMessage message,
                     std::initializer_list<std::string_view> args) {
    return FillPlaceholders(GameMessageTemplate(language, message), args);
}

}  // namespace qon::shell
