// SPDX-License-Identifier: MIT
#include "qon/data/error.h"

#include <cstdio>
#include <utility>

#include "qon/data/messages.h"

namespace qon {

namespace {

std::string composeMessage(const std::string& file, int line, const std::string& reason) {
    if (line > 0)
        return Say(Message::ErrorAtLine, {QuotedPath(file), std::to_string(line), reason});
    return Say(Message::ErrorInFile, {QuotedPath(file), reason});
}

void appendHex(std::string& out, const char* format, unsigned value) {
    char buffer[12];
    std::snprintf(buffer, sizeof buffer, format, value);
    out += buffer;
}

// The length of the well-formed UTF-8 sequence at text[at] and its code point; 0 when the
// bytes there are not one (a stray or cut-off byte, an overlong form, a surrogate).
std::size_t decodeUtf8(std::string_view text, std::size_t at, char32_t& code) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned lead = byte(at);
    std::size_t length = 0;
    char32_t minimum = 0;
    if (lead < 0x80) {
        code = lead;
        return 1;
    } else if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        code = lead & 0x1F;
        minimum = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        code = lead & 0x0F;
        minimum = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        code = lead & 0x07;
        minimum = 0x10000;
    } else {
        return 0;
    }
    if (at + length > text.size()) return 0;
    for (std::size_t i = 1; i < length; ++i) {
        if ((byte(at + i) & 0xC0) != 0x80) return 0;
        code = (code << 6) | (byte(at + i) & 0x3F);
    }
    if (code < minimum || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return 0;
    return length;
}

// Characters that print as nothing, or as a blank that looks like a plain space.
bool isInvisible(char32_t code) {
    return (code >= 0x80 && code <= 0x9F) ||      // C1 controls
           code == 0xA0 || code == 0xAD ||        // no-break space, soft hyphen
           (code >= 0x200B && code <= 0x200F) ||  // zero-width spaces, direction marks
           (code >= 0x2028 && code <= 0x202E) ||  // line and paragraph separators, embeddings
           (code >= 0x2060 && code <= 0x206F) ||  // word joiner, invisible operators, isolates
           code == 0xFEFF;                        // byte order mark
}

// `trailingSpaces`: write spaces at the end as escapes too.
void appendEscaped(std::string& out, std::string_view text, bool trailingSpaces) {
    std::size_t visibleEnd = text.size();
    while (trailingSpaces && visibleEnd > 0 && text[visibleEnd - 1] == ' ') --visibleEnd;
    for (std::size_t at = 0; at < text.size();) {
        const unsigned char c = static_cast<unsigned char>(text[at]);
        if (at >= visibleEnd) {
            out += "\\x20";
            ++at;
            continue;
        }
        switch (c) {
            case '\r':
                out += "\\r";
                ++at;
                continue;
            case '\n':
                out += "\\n";
                ++at;
                continue;
            case '\t':
                out += "\\t";
                ++at;
                continue;
            default:
                break;
        }
        if (c < 0x20 || c == 0x7F) {
            appendHex(out, "\\x%02X", c);
            ++at;
            continue;
        }
        char32_t code = 0;
        const std::size_t length = decodeUtf8(text, at, code);
        if (length == 0) {
            appendHex(out, "\\x%02X", c);
            ++at;
        } else if (isInvisible(code)) {
            appendHex(out, "\\u%04X", static_cast<unsigned>(code));
            at += length;
        } else {
            out.append(text.substr(at, length));
            at += length;
        }
    }
}

}  // namespace

DataError::DataError(std::string file, int line, std::string reason)
    : std::runtime_error(composeMessage(file, line, reason)),
      m_file(std::move(file)),
      m_line(line),
      m_reason(std::move(reason)) {}

std::string QuotedPath(std::string_view path) {
    std::string out = "\"";
    appendEscaped(out, path, true);
    out += '"';
    return out;
}

std::string QuotedText(std::string_view text) {
    constexpr std::size_t kShownCharacters = 40;
    // Cut after the 40th character, on a UTF-8 boundary, so the message stays valid text.
    std::size_t cut = 0;
    std::size_t characters = 0;
    while (cut < text.size() && characters < kShownCharacters) {
        ++cut;
        while (cut < text.size() && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80) ++cut;
        ++characters;
    }
    std::string out = "\"";
    appendEscaped(out, text.substr(0, cut), false);
    if (cut < text.size()) out += "…";
    out += '"';
    return out;
}

}  // namespace qon
