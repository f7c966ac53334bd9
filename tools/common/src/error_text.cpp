// SPDX-License-Identifier: MIT
#include "qon/tools_common/error_text.h"

#include <QRegularExpression>
#include <cerrno>
#include <cstring>
#include <functional>
#include <vector>

#include "qon/data/error.h"
#include "qon/tools_common/qt_text.h"

namespace qon::tools_common {

namespace {

QString fromUtf8(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// The C library's words for the errors a file can meet. strerror answers in the language
// of the process's locale, so the table is built from strerror itself: whatever it said
// when the data library asked, the same call gives the key here.
QString systemErrorText(const QString& text) {
    struct Known {
        int code;
        const char* japanese;
    };
    static const Known kKnown[] = {
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
        if (text == QString::fromLocal8Bit(std::strerror(known.code)))
            return QString::fromUtf8(known.japanese);
    }
    return text;
}

// "the set name" -> "セット名": what a file that ended early lacks.
QString expectedText(const QString& what) {
    static const std::vector<std::pair<const char*, const char*>> kFixed = {
        {"the set name", "セット名"},
        {"the author name", "製作者名"},
        {"the title track", "タイトル表示時の曲"},
        {"the ending track", "スタッフロール時の曲"},
        {"the track count", "曲数"},
        {"the entry count", "件数"},
        {"the project name", "プロジェクト名"},
        {"the staff name", "製作者名"},
        {"the stage count", "ステージ数"},
    };
    for (const auto& [english, japanese] : kFixed) {
        if (what == QLatin1String(english)) return QString::fromUtf8(japanese);
    }
    static const QRegularExpression stageTrack(QStringLiteral("^stage track (\\d+) of (\\d+)$"));
    static const QRegularExpression entry(QStringLiteral("^entry (\\d+) of (\\d+)$"));
    static const QRegularExpression bitmap(QStringLiteral("^the bitmap for \"(.*)\"$"));
    if (auto m = stageTrack.match(what); m.hasMatch())
        return QStringLiteral("ゲーム中の曲（%2 曲中 %1 曲目）").arg(m.captured(1), m.captured(2));
    if (auto m = entry.match(what); m.hasMatch())
        return QStringLiteral("%2 件中 %1 件目").arg(m.captured(1), m.captured(2));
    if (auto m = bitmap.match(what); m.hasMatch())
        return QStringLiteral("「%1」の画像").arg(m.captured(1));
    return what;
}

QString withoutFullStop(QString text) {
    if (text.endsWith(QChar(u'。'))) text.chop(1);
    return text;
}

struct Rule {
    QRegularExpression pattern;
    std::function<QString(const QRegularExpressionMatch&)> say;
};

const std::vector<Rule>& rules() {
    auto exact = [](const char* english, const char* japanese) {
        const QString text = QString::fromUtf8(japanese);
        return Rule{QRegularExpression(QStringLiteral("^") +
                                           QRegularExpression::escape(QLatin1String(english)) +
                                           QStringLiteral("$"),
                                       QRegularExpression::DotMatchesEverythingOption),
                    [text](const QRegularExpressionMatch&) { return text; }};
    };
    auto pattern = [](const char* regex,
                      std::function<QString(const QRegularExpressionMatch&)> say) {
        // A quoted value may hold the very line break that is being reported.
        return Rule{QRegularExpression(QString::fromLatin1(regex),
                                       QRegularExpression::DotMatchesEverythingOption),
                    std::move(say)};
    };
    static const std::vector<Rule> kRules = {
        // The file layer.
        exact("the file does not exist", "ファイルがありません。"),
        exact("the file may not be read (permission denied)", "ファイルを読む権限がありません。"),
        exact("this is a folder, not a file", "フォルダです。ファイルではありません。"),
        exact("this is a named pipe, not an ordinary file",
              "名前付きパイプです。普通のファイルではありません。"),
        exact("this is a device, not an ordinary file",
              "デバイスです。普通のファイルではありません。"),
        exact("this is not an ordinary file", "普通のファイルではありません。"),
        pattern("^the file cannot be opened: (.*)$",
                [](const QRegularExpressionMatch& m) {
                    return QStringLiteral("ファイルを開けません（%1）。")
                        .arg(systemErrorText(m.captured(1)));
                }),
        pattern("^the file cannot be read: (.*)$",
                [](const QRegularExpressionMatch& m) {
                    return QStringLiteral("ファイルを読めません（%1）。")
                        .arg(systemErrorText(m.captured(1)));
                }),
        pattern(
            "^the file is too large \\((\\d+) bytes\\); at most (\\d+) bytes are accepted here$",
            [](const QRegularExpressionMatch& m) {
                return QStringLiteral(
                           "ファイルが大きすぎます（%1 バイト）。読み込めるのは %2 "
                           "バイトまでです。")
                    .arg(m.captured(1), m.captured(2));
            }),
        pattern("^cannot write the file: (.*)$",
                [](const QRegularExpressionMatch& m) {
                    // Either a reason of the file layer (a folder, a pipe) or the C library's.
                    const QString cause = JapaneseReason(fromQ(m.captured(1)));
                    const QString said =
                        cause != m.captured(1) ? withoutFullStop(cause) : systemErrorText(cause);
                    return QStringLiteral("ファイルに書き込めません（%1）。").arg(said);
                }),
        // Text lines.
        pattern(
            "^the byte (0x[0-9A-Fa-f]{2}) at byte (\\d+) of the line is not valid Shift-JIS "
            "\\(CP932\\) text$",
            [](const QRegularExpressionMatch& m) {
                return QStringLiteral(
                           "この行の %1 バイト目（%2）は Shift-JIS（CP932）の文字ではありません。")
                    .arg(m.captured(2), m.captured(1));
            }),
        pattern("^the file ends early: (.*) expected$",
                [](const QRegularExpressionMatch& m) {
                    return QStringLiteral("ファイルが途中で終わっています。%1がありません。")
                        .arg(expectedText(m.captured(1)));
                }),
        pattern("^the text (\".*\") holds a line break, which a one-line value cannot keep$",
                [](const QRegularExpressionMatch& m) {
                    return QStringLiteral("%1 に改行が含まれています。1 行の値には書けません。")
                        .arg(m.captured(1));
                }),
        pattern("^the text (\".*\") holds a character that cannot be written in Shift-JIS "
                "\\(CP932\\)$",
                [](const QRegularExpressionMatch& m) {
                    return QStringLiteral(
                               "%1 に Shift-JIS（CP932）で書けない文字が含まれています。")
                        .arg(m.captured(1));
                }),
        // Counts of the formats the tools read.
        pattern("^the (entry|track|stage) count \"(.*)\" is not a whole number from (\\d+) to "
                "(\\d+)$",
                [](const QRegularExpressionMatch& m) {
                    const QString what =
                        m.captured(1) == QLatin1String("entry")   ? QStringLiteral("件数")
                        : m.captured(1) == QLatin1String("track") ? QStringLiteral("曲数")
                                                                  : QStringLiteral("ステージ数");
                    return QStringLiteral("%1「%2」が %3 から %4 までの整数ではありません。")
                        .arg(what, m.captured(2), m.captured(3), m.captured(4));
                }),
        pattern("^a list holds at most (\\d+) entries, not (\\d+)$",
                [](const QRegularExpressionMatch& m) {
                    return QStringLiteral("一覧に登録できるのは %1 件までです（%2 件あります）。")
                        .arg(m.captured(1), m.captured(2));
                }),
        pattern("^a music set holds at most (\\d+) stage tracks, not (\\d+)$",
                [](const QRegularExpressionMatch& m) {
                    return QStringLiteral("ゲーム中の曲は %1 曲までです（%2 曲あります）。")
                        .arg(m.captured(1), m.captured(2));
                }),
        exact("the path names no folder (it holds no \"/\")",
              "パスにフォルダが含まれていません（「/」がありません）。"),
    };
    return kRules;
}

}  // namespace

QString JapaneseReason(std::string_view reason) {
    const QString text = fromUtf8(reason);
    for (const Rule& rule : rules()) {
        if (auto match = rule.pattern.match(text); match.hasMatch()) return rule.say(match);
    }
    return text;
}

QString JapaneseErrorText(const DataError& error) {
    const QString file = toQ(QuotedPath(error.file()));
    const QString reason = JapaneseReason(error.reason());
    if (error.line() > 0)
        return QStringLiteral("%1\n%2 行目：%3").arg(file, QString::number(error.line()), reason);
    return QStringLiteral("%1\n%2").arg(file, reason);
}

}  // namespace qon::tools_common
