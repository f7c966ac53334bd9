// SPDX-License-Identifier: MIT
#pragma once

#include <string>

#include "qon/data/error.h"

namespace qon::stage_editor {

// A data error told for the details of a message box, in the program's language (the
// data library builds its reasons in that language):
//
//   ファイル: /home/a/Blocks/Stage3.stg（12 行目）
//   理由: ファイルが途中で終わっています。ステージ数がありません。
//
//   File: /home/a/Blocks/Stage3.stg (line 12)
//   Reason: the file ends early: the stage count expected
std::string DescribeProblem(const DataError& error);

// The same layout for a problem the editor found itself.
std::string DescribeProblem(const std::string& file, int line, const std::string& reason);

}  // namespace qon::stage_editor
