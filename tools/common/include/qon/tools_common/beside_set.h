// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <cstddef>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "qon/tools_common/prompter.h"

class QWidget;

namespace qon::tools_common {

// A graphic or music set names its files without a folder: the game looks for them beside
// the set file. A file the author chose in another folder is therefore missing when the
// set is played, unless it is copied next to the set.

// A chosen file that does not lie in the folder the set is saved to.
struct StrayFile {
    std::string source;  // where it lies now
    std::string copy;    // where the game will look: the set's folder + its file name
};

// The files (full paths) that are not in the folder of `setPath`, each once, in the order
// they are first named. Empty entries and names without a folder are skipped. Folders are
// compared as the file system sees them, so a symbolic link to the set's folder counts as
// that folder.
std::vector<StrayFile> FilesOutsideSetFolder(const std::vector<std::string>& files,
                                             const std::string& setPath);

// Offers, before a set is saved, to copy its stray files beside it. The copies go through
// the file layer (ReadFileBytes, WriteFileAtomic); a different file of the same name
// already beside the set is never replaced without asking.
class BesideSetCopier {
  public:
    enum class Result {
        NothingToCopy,  // every file is beside the set already
        Copied,         // the author said yes and the copies are made
        Declined,       // the author said no: save the set as it is
        Cancelled,      // the author cancelled: do not save
        Failed,         // a copy failed and the author was told why: do not save
    };

    // `title` is the message boxes' title, `setKind` the set in words ("グラフィックセット"),
    // `maxFileBytes` the largest file that is copied.
    BesideSetCopier(Prompter& prompter, QString title, QString setKind, std::size_t maxFileBytes);

    void setDialogParent(QWidget* parent) { m_parent = parent; }

    // Asks about the stray files of `files` for a set to be saved at `setPath`. A "no" is
    // remembered for the same files and the same set file, so overwriting the set again
    // does not ask again. After Copied, `copies` maps each copied source to its copy
    // (a file found already there with the same bytes counts as copied; one the author
    // chose not to replace does not).
    Result offer(const std::vector<std::string>& files, const std::string& setPath,
                 std::map<std::string, std::string>& copies);

    // Whether the save goes on after an offer: not when the author cancelled or a copy
    // failed. `copies` is empty unless the files were copied.
    static bool SaveGoesOn(Result result) {
        return result != Result::Cancelled && result != Result::Failed;
    }

  private:
    enum class Copy { Done, Kept, Cancelled, Failed };
    Copy copyOne(const StrayFile& stray);
    QString strayListText(const std::vector<StrayFile>& strays, const std::string& setPath) const;

    Prompter& m_prompter;
    QString m_title;
    QString m_setKind;
    std::size_t m_maxFileBytes;
    QWidget* m_parent = nullptr;
    // Set file + stray sources the author chose not to copy.
    std::set<std::pair<std::string, std::vector<std::string>>> m_declined;
};

}  // namespace qon::tools_common
