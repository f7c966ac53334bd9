// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

namespace qon {
class DataError;
}

namespace qon::tools_common {

// A data error for the details of a message box: the file, the line (when there is one)
// and the reason, on lines of their own, in the program's language (the data library
// builds its reasons in that language too):
//   "/home/a/sets/Forest.msp"
//   5 行目：曲数「abc」が 0 から 32767 までの整数ではありません。
// or, in English,
//   "/home/a/sets/Forest.msp"
//   line 5: the track count "abc" is not a whole number from 0 to 32767
QString ErrorText(const DataError& error);

}  // namespace qon::tools_common
