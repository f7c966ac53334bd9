// SPDX-License-Identifier: MIT
#include "qon/tools_common/beside_set.h"

#include <QCoreApplication>
#include <algorithm>
#include <filesystem>
#include <utility>

#include "qon/data/error.h"
#include "qon/data/files.h"
#include "qon/data/paths.h"
#include "qon/tools_common/error_text.h"
#include "qon/tools_common/qt_text.h"

namespace qon::tools_common {

namespace {

namespace fs = std::filesystem;

bool sameFolder(const std::string& a, const std::string& b) {
    std::error_code error;
    if (fs::equivalent(a, b, error) && !error) return true;
    return fs::path(a).lexically_normal() == fs::path(b).lexically_normal();
}

// The stray files a message lists before it says how many more there are.
constexpr int kListedFiles = 10;

}  // namespace

std::vector<StrayFile> FilesOutsideSetFolder(const std::vector<std::string>& files,
                                             const std::string& setPath) {
    std::vector<StrayFile> strays;
    if (setPath.find('/') == std::string::npos) return strays;
    const std::string setFolder = FolderOf(setPath);
    std::set<std::string> seen;
    for (const std::string& file : files) {
        if (file.empty() || file.find('/') == std::string::npos) continue;
        if (!seen.insert(file).second) continue;
        if (sameFolder(FolderOf(file), setFolder)) continue;
        strays.push_back({file, setFolder + FileNameOf(file)});
    }
    return strays;
}

BesideSetCopier::BesideSetCopier(Prompter& prompter, QString title, QString setKind,
                                 std::size_t maxFileBytes)
    : m_prompter(prompter),
      m_title(std::move(title)),
      m_setKind(std::move(setKind)),
      m_maxFileBytes(maxFileBytes) {}

QString BesideSetCopier::strayListText(const std::vector<StrayFile>& strays,
                                       const std::string& setPath) const {
    QString text =
        QCoreApplication::translate("BesideSetCopier",
                                    "次のファイルは、%1を保存するフォルダ\n%2\nにありません。")
            .arg(m_setKind, toQ(FolderOf(setPath)));
    text += QCoreApplication::translate("BesideSetCopier",
                                        "%1にはファイル名だけが書かれるため、このままではゲームが"
                                        "これらのファイルを見つけられません。\n\n")
                .arg(m_setKind);
    const int listed = std::min<int>(kListedFiles, static_cast<int>(strays.size()));
    for (int i = 0; i < listed; ++i) text += toQ(strays[i].source) + QLatin1Char('\n');
    if (static_cast<int>(strays.size()) > listed)
        text += QCoreApplication::translate("BesideSetCopier", "（ほか %1 個）\n")
                    .arg(static_cast<int>(strays.size()) - listed);
    return text;
}

BesideSetCopier::Result BesideSetCopier::offer(const std::vector<std::string>& files,
                                               const std::string& setPath,
                                               std::map<std::string, std::string>& copies) {
    copies.clear();
    const std::vector<StrayFile> strays = FilesOutsideSetFolder(files, setPath);
    if (strays.empty()) return Result::NothingToCopy;

    std::vector<std::string> sources;
    for (const StrayFile& stray : strays) sources.push_back(stray.source);
    auto asked = std::make_pair(setPath, sources);
    if (m_declined.count(asked) != 0) return Result::Declined;

    const QString question =
        strayListText(strays, setPath) +
        QCoreApplication::translate("BesideSetCopier",
                                    "\n%1と同じフォルダにコピーしますか？\n"
                                    "「いいえ」を選ぶと、コピーせずにそのまま保存します。")
            .arg(m_setKind);
    switch (m_prompter.askYesNoCancel(m_parent, m_title, question)) {
        case Prompter::Choice::Yes:
            break;
        case Prompter::Choice::No:
            m_declined.insert(std::move(asked));
            return Result::Declined;
        case Prompter::Choice::Cancel:
            return Result::Cancelled;
    }

    for (const StrayFile& stray : strays) {
        switch (copyOne(stray)) {
            case Copy::Done:
                copies[stray.source] = stray.copy;
                break;
            case Copy::Kept:
                break;
            case Copy::Cancelled:
                return Result::Cancelled;
            case Copy::Failed:
                return Result::Failed;
        }
    }
    return Result::Copied;
}

BesideSetCopier::Copy BesideSetCopier::copyOne(const StrayFile& stray) {
    std::string bytes;
    try {
        bytes = ReadFileBytes(stray.source, m_maxFileBytes);
    } catch (const DataError& error) {
        m_prompter.message(
            m_parent, m_title,
            QCoreApplication::translate(
                "BesideSetCopier", "ファイルをコピーできないため、%1を保存しませんでした。\n\n")
                    .arg(m_setKind) +
                ErrorText(error),
            Prompter::MessageKind::Warning);
        return Copy::Failed;
    }

    std::error_code error;
    if (fs::exists(stray.copy, error)) {
        bool same = false;
        try {
            same = ReadFileBytes(stray.copy, m_maxFileBytes) == bytes;
        } catch (const DataError&) {
            // Unreadable, a folder, larger than any copy: certainly not the same file.
        }
        if (same) return Copy::Done;
        const QString question =
            QCoreApplication::translate("BesideSetCopier",
                                        "%1\nには、同じ名前の別のファイルがすでにあります。\n\n"
                                        "%2\nで上書きしますか？\n"
                                        "「いいえ」を選ぶと、今あるファイルをそのまま使います。")
                .arg(toQ(stray.copy), toQ(stray.source));
        switch (m_prompter.askYesNoCancel(m_parent, m_title, question)) {
            case Prompter::Choice::Yes:
                break;
            case Prompter::Choice::No:
                return Copy::Kept;
            case Prompter::Choice::Cancel:
                return Copy::Cancelled;
        }
    }

    try {
        WriteFileAtomic(stray.copy, bytes);
    } catch (const DataError& failure) {
        m_prompter.message(
            m_parent, m_title,
            QCoreApplication::translate(
                "BesideSetCopier", "ファイルをコピーできないため、%1を保存しませんでした。\n\n")
                    .arg(m_setKind) +
                ErrorText(failure),
            Prompter::MessageKind::Warning);
        return Copy::Failed;
    }
    return Copy::Done;
}

}  // namespace qon::tools_common
