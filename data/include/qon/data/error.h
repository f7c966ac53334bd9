// SPDX-License-Identifier: MIT
#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

namespace qon {

// The one exception type of the data library. It names the file, the 1-based line
// (0 when the problem concerns the file as a whole) and a reason a person understands.
// what() reads like "/home/a/Blocks/Stage3.stg", line 12: ... with the path quoted
// (QuotedPath), so that a trailing space or a CR in it can be seen.
class DataError : public std::runtime_error {
  public:
    DataError(std::string file, int line, std::string reason);

    const std::string& file() const { return m_file; }
    int line() const { return m_line; }
    const std::string& reason() const { return m_reason; }

  private:
    std::string m_file;
    int m_line;
    std::string m_reason;
};

// A path as messages show it: in double quotes, with what a person cannot see written as
// an escape: CR, LF and tab as \r, \n and \t, other control characters and bytes that are
// not UTF-8 as \xHH, invisible Unicode characters (no-break and zero-width spaces,
// direction marks, the byte order mark) as \uHHHH, and spaces at the end as \x20. A CR
// written raw would send the terminal's cursor back over the path.
std::string QuotedPath(std::string_view path);

// A value read from a file as messages show it: escaped like a path (but for spaces at
// its end, which the quotes show), in double quotes, cut to its first 40 characters with
// "…" after them.
std::string QuotedText(std::string_view text);

}  // namespace qon
