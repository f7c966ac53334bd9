// SPDX-License-Identifier: MIT
#include "qon/data/messages.h"

#include <cerrno>
#include <cstring>

#include "qon/data/error.h"

namespace qon {

namespace {

struct Row {
    Message message;
    const char* japanese;
    const char* english;
};

// In the order of the enumeration (checked by a test); the Japanese forms are the texts
// the tools have always shown.
constexpr Row kRows[] = {
    {Message::FileMissing, "ファイルがありません。", "the file does not exist"},
    {Message::FileUnreadable, "ファイルを読む権限がありません。",
     "the file may not be read (permission denied)"},
    {Message::FileCannotBeOpened, "ファイルを開けません（{1}）。",
     "the file cannot be opened: {1}"},
    {Message::FileIsFolder, "フォルダです。ファイルではありません。",
     "this is a folder, not a file"},
    {Message::FileIsNamedPipe, "名前付きパイプです。普通のファイルではありません。",
     "this is a named pipe, not an ordinary file"},
    {Message::FileIsDevice, "デバイスです。普通のファイルではありません。",
     "this is a device, not an ordinary file"},
    {Message::FileNotOrdinary, "普通のファイルではありません。", "this is not an ordinary file"},
    {Message::FileTooLarge,
     "ファイルが大きすぎます（{1} バイト）。読み込めるのは {2} バイトまでです。",
     "the file is too large ({1} bytes); at most {2} bytes are accepted here"},
    {Message::FileCannotBeRead, "ファイルを読めません（{1}）。", "the file cannot be read: {1}"},
    {Message::FileCannotBeWritten, "ファイルに書き込めません（{1}）。",
     "cannot write the file: {1}"},
    {Message::FolderCannotBeRead, "フォルダを読めません（{1}）。",
     "the folder cannot be read: {1}"},
    {Message::FolderCannotBeOpened, "フォルダを開けません（{1}）。",
     "the folder cannot be opened: {1}"},
    {Message::FolderBusy,
     "別のプログラムがこのフォルダのステージプロジェクトを保存または読み込みしています。"
     "終わってからもう一度試してください。",
     "another program is saving or reading the stage project in this folder; try again when "
     "it has finished"},
    {Message::FolderCannotBeMade, "ここにフォルダを作れません（{1}）。",
     "cannot create a folder here: {1}"},
    {Message::FileCannotBeRemoved, "ファイルを削除できません（{1}）。",
     "cannot remove the file: {1}"},
    {Message::FolderCannotBeRemoved, "フォルダを削除できません（{1}）。",
     "cannot remove the folder: {1}"},
    {Message::OwnFolderUnknown, "プログラムのあるフォルダがわかりません（{1}）。",
     "the program's own folder cannot be found: {1}"},
    {Message::PathNamesNoFolder, "パスにフォルダが含まれていません（「/」がありません）。",
     "the path names no folder (it holds no \"/\")"},
    {Message::NotBmp, "BMP 画像ではありません（先頭が「BM」ではありません）。",
     "this is not a BMP picture (it does not begin with \"BM\")"},
    {Message::BmpHeaderCutShort, "BMP 画像のヘッダが途中で切れています。",
     "the BMP picture's header is cut short"},
    {Message::BmpSizeOutOfRange,
     "BMP 画像の大きさが {1} x {2} ピクセルになっています。画像は 1 x 1 から {3} x {4} "
     "ピクセルまでです。",
     "the BMP picture claims {1} x {2} pixels; a picture must be from 1 x 1 to {3} x {4} pixels"},
    {Message::ByteNotShiftJis,
     "この行の {2} バイト目（{1}）は Shift-JIS（CP932）の文字ではありません。",
     "the byte {1} at byte {2} of the line is not valid Shift-JIS (CP932) text"},
    {Message::BareCrLineEnds,
     "このファイルの行末は CR だけ（古い Mac OS の行末）で、行末として読まれないため、{1}"
     "がありません。行末を CR LF にして保存し直してください。",
     "the lines of this file end with a bare CR (the old Mac OS line end), which is not read "
     "as a line end, so {1} is missing. Save the file again with CR LF line ends."},
    {Message::FileEndsEarly, "ファイルが途中で終わっています。{1}がありません。",
     "the file ends early: {1} expected"},
    {Message::TextHoldsLineBreak, "{1} に改行が含まれています。1 行の値には書けません。",
     "the text {1} holds a line break, which a one-line value cannot keep"},
    {Message::TextNotShiftJis, "{1} に Shift-JIS（CP932）で書けない文字が含まれています。",
     "the text {1} holds a character that cannot be written in Shift-JIS (CP932)"},
    {Message::NumberOutOfRange, "{1}{2}が範囲外です。{3} から {4} までの整数にしてください。",
     "{1} {2} is out of range: it must be a whole number from {3} to {4}"},
    {Message::NumberNotWhole, "{1}{2}が {3} から {4} までの整数ではありません。",
     "{1} {2} is not a whole number from {3} to {4}"},
    {Message::SetName, "セット名", "the set name"},
    {Message::AuthorName, "製作者名", "the author name"},
    {Message::TitleTrack, "タイトル表示時の曲", "the title track"},
    {Message::EndingTrack, "スタッフロール時の曲", "the ending track"},
    {Message::StageTrackOf, "ゲーム中の曲（{2} 曲中 {1} 曲目）", "stage track {1} of {2}"},
    {Message::TrackCount, "曲数", "the track count"},
    {Message::EntryCount, "件数", "the entry count"},
    {Message::EntryOf, "{2} 件中 {1} 件目", "entry {1} of {2}"},
    {Message::BitmapFor, "「{1}」の画像", "the bitmap for \"{1}\""},
    {Message::ProjectName, "プロジェクト名", "the project name"},
    {Message::StaffName, "製作者名", "the staff name"},
    {Message::StageCount, "ステージ数", "the stage count"},
    {Message::StageRowOf, "ステージの {1} 行目（{2} 行中）", "row {1} of {2} of the stage"},
    {Message::SaveSlotOf, "セーブデータ（{2} 件中 {1} 件目）", "save slot {1} of {2}"},
    {Message::SaveSlot, "セーブデータ {1} 件目", "save slot {1}"},
    {Message::StageSetChoice, "選んだステージセット", "the stage set choice"},
    {Message::GraphicSetChoice, "選んだグラフィックセット", "the graphic set choice"},
    {Message::MusicSetChoice, "選んだミュージックセット", "the music set choice"},
    {Message::ListTooLong, "一覧に登録できるのは {1} 件までです（{2} 件あります）。",
     "a list holds at most {1} entries, not {2}"},
    {Message::TooManyStageTracks, "ゲーム中の曲は {1} 曲までです（{2} 曲あります）。",
     "a music set holds at most {1} stage tracks, not {2}"},
    {Message::StageCountOutOfRange, "ステージ数 {2} が 1 から {1} の範囲にありません。",
     "a stage project holds 1 to {1} stages, not {2}"},
    {Message::SetChoiceHint,
     "（{1} の中のセットの位置で、最初が 0 です）。この行を直すか {2} を削除してから、"
     "設定画面でセットを選び直してください。",
     " (the set's position in {1}, 0 for the first). Correct the line or delete {2}, then "
     "choose the sets again in the configuration screen."},
    {Message::NotAProjectFile, "ステージプロジェクトのファイルではありません。",
     "this is not a file of a stage project"},
    {Message::SavedBytesIncomplete, "保存したデータが欠けています。",
     "the saved bytes are incomplete"},
    {Message::JournalUnreadable, "中断された保存の記録を読めません（{1}）。",
     "the journal of an interrupted save cannot be read ({1})"},
    {Message::JournalNamesNoProject,
     "名前が .stp で終わらないプロジェクトファイルを保存していました。そのファイルを開くと保存が"
     "完了します。",
     "it saved a project file whose name does not end in .stp; open that file to finish it"},
    {Message::InterruptedSaveUnfinished,
     "中断されたこのステージプロジェクトの保存を完了できません（{1}）。完了できるまで、"
     "このプロジェクトは使えません。",
     "an interrupted save of this stage project cannot be finished ({1}); the project is not "
     "used until it can be"},
    {Message::ProjectNameRefused, "この名前ではステージプロジェクトを保存できません。",
     "a stage project cannot be saved under this name"},
    {Message::SavedButNotInPlace,
     "プロジェクトは保存しましたが、一部のファイルを置き換えられませんでした（{1}）。"
     "次にプロジェクトを開いたときに完了します。",
     "the project was saved, but not all of its files could be put in place ({1}); that is "
     "finished when the project is next opened"},
    {Message::ErrorAtLine, "{1} {2} 行目：{3}", "{1}, line {2}: {3}"},
    {Message::ErrorInFile, "{1}：{2}", "{1}: {2}"},
};

static_assert(sizeof kRows / sizeof kRows[0] == kMessageCount, "one row per message");

}  // namespace

std::string FillPlaceholders(std::string_view pattern,
                             std::initializer_list<std::string_view> args) {
    std::string out;
    out.reserve(pattern.size() + 32);
    for (std::size_t at = 0; at < pattern.size();) {
        // "{n}" with one digit n from 1: the tables hold no more than nine arguments.
        if (pattern[at] == '{' && at + 2 < pattern.size() && pattern[at + 2] == '}' &&
            pattern[at + 1] >= '1' && pattern[at + 1] <= '9') {
            const std::size_t index = static_cast<std::size_t>(pattern[at + 1] - '1');
            if (index < args.size()) out.append(*(args.begin() + index));
            at += 3;
            continue;
        }
        out += pattern[at++];
    }
    return out;
}

std::string_view MessageTemplate(Language language, Message message) {
    const Row& row = kRows[static_cast<int>(message)];
    return language == Language::Japanese ? row.japanese : row.english;
}

std::string Say(Language language, Message message, std::initializer_list<std::string_view> args) {
    return FillPlaceholders(MessageTemplate(language, message), args);
}

std::string Say(Message message, std::initializer_list<std::string_view> args) {
    return Say(CurrentLanguage(), message, args);
}

std::string SystemErrorText(int error) {
    if (CurrentLanguage() == Language::Japanese) {
        struct Known {
            int code;
            const char* japanese;
        };
        static constexpr Known kKnown[] = {
            {ENOENT, "ファイルまたはフォルダがありません"},
            {EACCES, "権限がありません"},
            {EPERM, "許可されていない操作です"},
            {ENOSPC, "ディスクに空きがありません"},
            {EDQUOT, "ディスクの使用量の上限を超えました"},
            {EROFS, "読み取り専用のファイルシステムです"},
            {EIO, "入出力エラーです"},
            {EISDIR, "フォルダです"},
            {ENOTDIR, "パスの途中がフォルダではありません"},
            {ENAMETOOLONG, "ファイル名が長すぎます"},
            {ELOOP, "シンボリックリンクが多すぎます"},
            {EMFILE, "開いているファイルが多すぎます"},
            {ENFILE, "システム全体で開いているファイルが多すぎます"},
            {EFBIG, "ファイルが大きすぎます"},
            {EBUSY, "使用中です"},
            {ETXTBSY, "実行中のファイルです"},
            {EXDEV, "別のファイルシステムをまたいでいます"},
            {EAGAIN, "一時的に使えません"},
            {EINVAL, "引数が正しくありません"},
        };
        for (const Known& known : kKnown) {
            if (known.code == error) return known.japanese;
        }
    }
    return std::strerror(error);
}

std::string WithoutFullStop(std::string text) {
    constexpr std::string_view kFullStop = "。";
    if (text.size() >= kFullStop.size() &&
        std::string_view(text).substr(text.size() - kFullStop.size()) == kFullStop)
        text.resize(text.size() - kFullStop.size());
    return text;
}

std::string QuotedValue(std::string_view text) {
    std::string quoted = QuotedText(text);
    if (CurrentLanguage() == Language::English) return quoted;
    // QuotedText always puts its double quotes first and last.
    return "「" + quoted.substr(1, quoted.size() - 2) + "」";
}

}  // namespace qon
