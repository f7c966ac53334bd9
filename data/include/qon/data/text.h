// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "qon/data/files.h"

namespace qon {

// Data files are CP932 (Windows Shift-JIS) text with CR LF line ends; in memory all
// text is UTF-8.

// Decodes CP932 to UTF-8. std::nullopt when the bytes are not valid CP932.
std::optional<std::string> Cp932ToUtf8(std::string_view cp932);

// Encodes UTF-8 to CP932. std::nullopt when the text holds a character CP932 cannot
// represent (an emoji, say) or is not valid UTF-8.
std::optional<std::string> Utf8ToCp932(std::string_view utf8);

// True when Utf8ToCp932 would succeed.
bool IsCp932Representable(std::string_view utf8);

// Reads CP932 text line by line. Accepts CR LF, a bare LF and a last line without a line
// end. Each line is decoded on the way out; invalid CP932 raises a DataError naming the
// file and the line.
class LineReader {
  public:
    // Reads the lines of `bytes`; `name` names the text in errors (usually its path).
    LineReader(std::string name, std::string bytes);

    // Reads the whole file (ReadFileBytes with kMaxTextFileBytes). Throws DataError when the
    // file is missing, is not an ordinary file, cannot be read or is too large.
    static LineReader FromFile(const std::string& path);

    // The next line, decoded, or std::nullopt at the end of the text.
    std::optional<std::string> next();

    // The next line; throws DataError "the file ends early: ... expected" when the
    // text has no more lines. `what` names the expected content, e.g. "the stage count".
    // A text whose lines end with a bare CR (the old Mac OS line end, which is not read
    // as a line end) is one long line: the reason then says so and how to mend it.
    std::string require(std::string_view what);

    // 1-based number of the line last returned (0 before the first).
    int lineNumber() const { return m_lineNumber; }
    // The name given for errors.
    const std::string& path() const { return m_path; }

    // Throws a DataError for the line last returned.
    [[noreturn]] void fail(std::string reason) const;

  private:
    std::string m_path;
    std::string m_bytes;
    std::size_t m_pos = 0;
    int m_lineNumber = 0;
};

// Every line of a text (same rules as LineReader); `name` names it in errors.
std::vector<std::string> ParseLines(std::string_view bytes, const std::string& name);

// Reads every line of a file (same rules as LineReader).
std::vector<std::string> ReadAllLines(const std::string& path);

// The lines as CP932, each ended by CR LF. Text that CP932 cannot represent, and a line
// holding a CR or LF (it would read back as two lines), are refused with a DataError that
// names `name` and the line.
std::string FormatLines(const std::vector<std::string>& lines, const std::string& name);

// FormatLines, then WriteFileAtomic: refused text leaves the disk untouched, and a failed
// write leaves the previous file as it was.
void WriteLinesAtomic(const std::string& path, const std::vector<std::string>& lines);

// Integer parsing of whole lines. Surrounding spaces and tabs are ignored; an optional
// sign and at least one decimal digit must remain. std::nullopt when the text is not
// such a number or does not fit the range.
std::optional<std::int16_t> ParseInt16(std::string_view text);
std::optional<std::int32_t> ParseInt32(std::string_view text);

// True when the text is an optional sign and decimal digits, with surrounding spaces and
// tabs, whatever its size: a number ParseInt16 refuses only for its range.
bool IsWholeNumberText(std::string_view text);

// The reason for a line that should hold a whole number from `minimum` to `maximum`:
// `what` "text" is out of range: it must be a whole number from minimum to maximum
// for a number outside the range, `what` "text" is not a whole number from minimum to
// maximum otherwise. `what` names the value ("the stage count").
std::string NumberProblem(std::string_view what, std::string_view text, long minimum, long maximum);

// The print statement's form of an integer: " 1 " for 1, "-3 " for -3.
std::string PrintStatementInteger(long value);

}  // namespace qon
