// SPDX-License-Identifier: MIT
#include "qon/stage_editor/problem_text.h"

#include <unistd.h>

#include <filesystem>
#include <string_view>

namespace qon::stage_editor {

namespace {

namespace fs = std::filesystem;

bool Mentions(const std::string& text, std::string_view part) {
    return text.find(part) != std::string::npos;
}

// Why a whole file could not be read, from the file itself.
std::string ReadReason(const DataError& error) {
    std::error_code ignored;
    const fs::file_status status = fs::status(error.file(), ignored);
    switch (status.type()) {
        case fs::file_type::not_found:
            return "ファイルがありません。";
        case fs::file_type::directory:
            return "ファイルではなくフォルダです。";
        case fs::file_type::regular:
            break;
        case fs::file_type::fifo:
            return "名前付きパイプです。普通のファイルではありません。";
        case fs::file_type::character:
        case fs::file_type::block:
            return "デバイスです。普通のファイルではありません。";
        default:
            return "普通のファイルではありません。";
    }
    if (::access(error.file().c_str(), R_OK) != 0) return "ファイルを読む許可がありません。";
    if (Mentions(error.reason(), "too large")) return "ファイルが大きすぎます。";
    return "ファイルを読み込めませんでした。";
}

// Why a whole file could not be written, from its place on the disk.
std::string WriteReason(const DataError& error) {
    std::error_code ignored;
    const fs::path file(error.file());
    const fs::path folder = file.has_parent_path() ? file.parent_path() : fs::path(".");
    const fs::file_status existing = fs::symlink_status(file, ignored);
    if (existing.type() == fs::file_type::directory)
        return "同じ名前のフォルダがあるため、ファイルを置けません。";
    if (existing.type() != fs::file_type::not_found && existing.type() != fs::file_type::regular &&
        existing.type() != fs::file_type::symlink)
        return "同じ名前の、普通のファイルではないもの（名前付きパイプやデバイスなど）があります。";
    const fs::file_status place = fs::status(folder, ignored);
    if (place.type() == fs::file_type::not_found) return "保存先のフォルダがありません。";
    if (place.type() != fs::file_type::directory) return "保存先がフォルダではありません。";
    if (::access(folder.c_str(), W_OK) != 0) return "保存先のフォルダに書き込む許可がありません。";
    return "ファイルを書き込めませんでした（ディスクがいっぱいの可能性があります）。";
}

// What is wrong at one line of a file's text.
std::string LineReason(const DataError& error, FileAction action) {
    const std::string& reason = error.reason();
    if (Mentions(reason, "stage count"))
        return "ステージ数が 1 から 32767 までの整数ではありません。";
    if (Mentions(reason, "ends early") || Mentions(reason, "bare CR"))
        return "ファイルが途中で終わっています（この行がありません）。";
    if (Mentions(reason, "line break")) return "文字列に改行が含まれています。";
    if (Mentions(reason, "Shift-JIS") || Mentions(reason, "CP932")) {
        return action == FileAction::Write
                   ? "Shift-JIS で保存できない文字（絵文字など）が含まれています。"
                   : "Shift-JIS として読めない文字が含まれています。";
    }
    return action == FileAction::Write ? "この行を書き込めませんでした。"
                                       : "この行の内容を読み取れません。";
}

}  // namespace

std::string DescribeProblem(const std::string& file, int line, const std::string& reason) {
    std::string text = "ファイル: " + file;
    if (line > 0) text += "（" + std::to_string(line) + " 行目）";
    return text + "\n理由: " + reason;
}

std::string DescribeProblem(const DataError& error, FileAction action) {
    std::string reason;
    if (error.line() > 0)
        reason = LineReason(error, action);
    else if (Mentions(error.reason(), "stages, not") || Mentions(error.reason(), "stage count"))
        reason = "ステージ数が 1 から 32767 の範囲にありません。";
    else
        reason = action == FileAction::Read ? ReadReason(error) : WriteReason(error);
    return DescribeProblem(error.file(), error.line(), reason);
}

}  // namespace qon::stage_editor
