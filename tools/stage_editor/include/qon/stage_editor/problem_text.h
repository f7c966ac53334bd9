// SPDX-License-Identifier: MIT
#pragma once

#include <string>

#include "qon/data/error.h"

namespace qon::stage_editor {

enum class FileAction { Read, Write };

// A data error told in the editor's own language, for the details of a message box:
//
//   ファイル: /home/a/Blocks/Stage3.stg（12 行目）
//   理由: ファイルが途中で終わっています。
//
// The data library's reasons are written for a log, in English. The Japanese reason is
// worked out from what the editor can see itself (is the file there, is it a folder, may
// the folder be written) and from the kind of problem; a reason that is not recognised
// becomes a general one, so a change of wording below never shows English here.
std::string DescribeProblem(const DataError& error, FileAction action);

// The same layout for a problem the editor found itself.
std::string DescribeProblem(const std::string& file, int line, const std::string& reason);

}  // namespace qon::stage_editor
