// SPDX-License-Identifier: MIT
#include "qon/data/text.h"

#include <iconv.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <climits>
#include <cstdio>
#include <cstring>
#include <memory>

#include "qon/data/error.h"
#include "qon/data/files.h"
#include "qon/data/messages.h"

namespace qon {

namespace {

// "CP932", never "SHIFT_JIS": the strict JIS table reads 0x5C as a yen sign and refuses
// ①, ～ and the other Windows characters that real files contain.
constexpr const char* kCp932 = "CP932";
constexpr const char* kUtf8 = "UTF-8";

struct IconvCloser {
    void operator()(void* handle) const { iconv_close(static_cast<iconv_t>(handle)); }
};
using IconvHandle = std::unique_ptr<void, IconvCloser>;

IconvHandle openConverter(const char* to, const char* from) {
    iconv_t handle = iconv_open(to, from);
    if (handle == reinterpret_cast<iconv_t>(-1)) {
        // Only a broken C library installation gets here; no data file is to blame.
        throw std::runtime_error(std::string("text conversion ") + from + " -> " + to +
                                 " is not available: " + std::strerror(errno));
    }
    return IconvHandle(handle);
}

bool isAscii(std::string_view text) {
    for (const char c : text) {
        if (static_cast<unsigned char>(c) >= 0x80) {
            return false;
        }
    }
    return true;
}

// Converts the whole input; nullopt on any invalid or unrepresentable sequence. On failure
// `failedAt` receives the offset of the offending input byte.
std::optional<std::string> convert(const char* to, const char* from, std::string_view input,
                                   std::size_t* failedAt = nullptr) {
    // ASCII is the same in CP932 and UTF-8 (glibc keeps 0x5C a backslash and 0x7E a tilde),
    // and most lines of these files are plain ASCII.
    if (isAscii(input)) {
        return std::string(input);
    }
    IconvHandle converter = openConverter(to, from);
    std::string output;
    output.resize(input.size() * 2 + 16);
    char* in = const_cast<char*>(input.data());
    std::size_t inLeft = input.size();
    std::size_t produced = 0;
    while (inLeft > 0) {
        char* out = output.data() + produced;
        std::size_t outLeft = output.size() - produced;
        const std::size_t result =
            iconv(static_cast<iconv_t>(converter.get()), &in, &inLeft, &out, &outLeft);
        produced = output.size() - outLeft;
        if (result != static_cast<std::size_t>(-1)) {
            break;
        }
        if (errno == E2BIG) {
            output.resize(output.size() * 2);
            continue;
        }
        // EILSEQ (invalid or unrepresentable) or EINVAL (cut off in the middle).
        if (failedAt != nullptr) {
            *failedAt = static_cast<std::size_t>(in - input.data());
        }
        return std::nullopt;
    }
    output.resize(produced);
    return output;
}

template <typename Int>
std::optional<Int> parseInteger(std::string_view text) {
    std::size_t begin = 0;
    std::size_t end = text.size();
    while (begin < end && (text[begin] == ' ' || text[begin] == '\t')) {
        ++begin;
    }
    while (end > begin && (text[end - 1] == ' ' || text[end - 1] == '\t')) {
        --end;
    }
    if (begin < end && text[begin] == '+') {
        ++begin;
        if (begin < end && text[begin] == '-') {
            return std::nullopt;
        }
    }
    if (begin == end) {
        return std::nullopt;
    }
    Int value{};
    const char* first = text.data() + begin;
    const char* last = text.data() + end;
    const auto [stop, error] = std::from_chars(first, last, value);
    if (error != std::errc() || stop != last) {
        return std::nullopt;
    }
    return value;
}

// A CR that no LF follows. CR never occurs inside a CP932 character, so the raw bytes
// can be searched.
bool hasBareCr(std::string_view bytes) {
    for (std::size_t at = bytes.find('\r'); at != std::string_view::npos;
         at = bytes.find('\r', at + 1)) {
        if (at + 1 == bytes.size() || bytes[at + 1] != '\n') return true;
    }
    return false;
}

}  // namespace

std::optional<std::string> Cp932ToUtf8(std::string_view cp932) {
    return convert(kUtf8, kCp932, cp932);
}

std::optional<std::string> Utf8ToCp932(std::string_view utf8) {
    return convert(kCp932, kUtf8, utf8);
}

bool IsCp932Representable(std::string_view utf8) {
    return Utf8ToCp932(utf8).has_value();
}

LineReader::LineReader(std::string name, std::string bytes)
    : m_path(std::move(name)), m_bytes(std::move(bytes)) {}

LineReader LineReader::FromFile(const std::string& path) {
    return LineReader(path, ReadTextFileBytes(path));
}

std::optional<std::string> LineReader::next() {
    if (m_pos >= m_bytes.size()) {
        return std::nullopt;
    }
    // LF and CR never occur as the second byte of a CP932 character, so splitting the raw
    // bytes before decoding is safe.
    std::size_t end = m_bytes.find('\n', m_pos);
    std::size_t nextPos;
    if (end == std::string::npos) {
        end = m_bytes.size();
        nextPos = end;
    } else {
        nextPos = end + 1;
    }
    std::string_view raw(m_bytes.data() + m_pos, end - m_pos);
    if (!raw.empty() && raw.back() == '\r') {
        raw.remove_suffix(1);
    }
    m_pos = nextPos;
    ++m_lineNumber;
    std::size_t failedAt = 0;
    std::optional<std::string> decoded = convert(kUtf8, kCp932, raw, &failedAt);
    if (!decoded) {
        char byteText[8];
        std::snprintf(byteText, sizeof byteText, "0x%02X",
                      static_cast<unsigned>(static_cast<unsigned char>(raw[failedAt])));
        fail(Say(Message::ByteNotShiftJis, {byteText, std::to_string(failedAt + 1)}));
    }
    return decoded;
}

std::string LineReader::require(std::string_view what) {
    std::optional<std::string> line = next();
    if (!line) {
        if (hasBareCr(m_bytes)) {
            // Such a file reads as one long line, so it always "ends early"; say why.
            throw DataError(m_path, m_lineNumber + 1, Say(Message::BareCrLineEnds, {what}));
        }
        throw DataError(m_path, m_lineNumber + 1, Say(Message::FileEndsEarly, {what}));
    }
    return std::move(*line);
}

void LineReader::fail(std::string reason) const {
    throw DataError(m_path, m_lineNumber, std::move(reason));
}

std::vector<std::string> ParseLines(std::string_view bytes, const std::string& name) {
    LineReader reader(name, std::string(bytes));
    std::vector<std::string> lines;
    while (std::optional<std::string> line = reader.next()) {
        lines.push_back(std::move(*line));
    }
    return lines;
}

std::vector<std::string> ReadAllLines(const std::string& path) {
    return ParseLines(ReadTextFileBytes(path), path);
}

std::string FormatLines(const std::vector<std::string>& lines, const std::string& name) {
    std::string content;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::string& line = lines[i];
        const int lineNumber = static_cast<int>(std::min<std::size_t>(i + 1, INT_MAX));
        if (line.find_first_of("\r\n") != std::string::npos) {
            // A line break inside a value would shift every later line of the file.
            throw DataError(name, lineNumber, Say(Message::TextHoldsLineBreak, {QuotedText(line)}));
        }
        std::optional<std::string> encoded = Utf8ToCp932(line);
        if (!encoded) {
            throw DataError(name, lineNumber, Say(Message::TextNotShiftJis, {QuotedText(line)}));
        }
        content += *encoded;
        content += "\r\n";
    }
    return content;
}

void WriteLinesAtomic(const std::string& path, const std::vector<std::string>& lines) {
    // Format everything first: a refusal must leave the disk untouched.
    WriteFileAtomic(path, FormatLines(lines, path));
}

std::optional<std::int16_t> ParseInt16(std::string_view text) {
    return parseInteger<std::int16_t>(text);
}

std::optional<std::int32_t> ParseInt32(std::string_view text) {
    return parseInteger<std::int32_t>(text);
}

bool IsWholeNumberText(std::string_view text) {
    std::size_t begin = 0;
    std::size_t end = text.size();
    while (begin < end && (text[begin] == ' ' || text[begin] == '\t')) ++begin;
    while (end > begin && (text[end - 1] == ' ' || text[end - 1] == '\t')) --end;
    if (begin < end && (text[begin] == '+' || text[begin] == '-')) ++begin;
    if (begin == end) return false;
    for (std::size_t i = begin; i < end; ++i) {
        if (text[i] < '0' || text[i] > '9') return false;
    }
    return true;
}

std::string NumberProblem(std::string_view what, std::string_view text, long minimum,
                          long maximum) {
    return Say(IsWholeNumberText(text) ? Message::NumberOutOfRange : Message::NumberNotWhole,
               {what, QuotedValue(text), std::to_string(minimum), std::to_string(maximum)});
}

std::string PrintStatementInteger(long value) {
    if (value < 0) {
        return std::to_string(value) + " ";
    }
    return " " + std::to_string(value) + " ";
}

}  // namespace qon
