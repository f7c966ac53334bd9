// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <string_view>

namespace qon {
class DataError;
}

namespace qon::tools_common {

// The data library explains its failures in English; the tools speak Japanese. These give
// the same explanation in the tools' language, so that a message box never mixes the two.

// The reason of a DataError (or of the file layer) in Japanese. A reason the table does
// not know is returned as it is, so nothing is lost: a test reads every reason the data
// library gives the tools and fails when one is missing here.
QString JapaneseReason(std::string_view reason);

// The file, the line (when there is one) and the reason, on lines of their own:
//   /home/a/sets/Forest.msp
//   5 行目：曲数「abc」が 0 から 32767 までの整数ではありません。
QString JapaneseErrorText(const DataError& error);

}  // namespace qon::tools_common
