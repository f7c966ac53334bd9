// SPDX-License-Identifier: MIT
#include "qon/data/text.h"

#include <fcntl.h>
#include <iconv.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "qon/data/error.h"

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

std::string quoteForMessage(std::string_view text) {
    constexpr std::size_t kShown = 40;
    if (text.size() <= kShown) {
        return "\"" + std::string(text) + "\"";
    }
    // Cut on a UTF-8 character boundary so the message itself stays valid text.
    std::size_t cut = kShown;
    while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80) {
        --cut;
    }
    return "\"" + std::string(text.substr(0, cut)) + "…\"";
}

std::string openFailureReason(int error) {
    switch (error) {
        case ENOENT:
        case ENOTDIR:
            return "the file does not exist";
        case EACCES:
        case EPERM:
            return "the file may not be read (permission denied)";
        default:
            return std::string("the file cannot be opened: ") + std::strerror(error);
    }
}

class FileDescriptor {
  public:
    explicit FileDescriptor(int fd) : m_fd(fd) {}
    ~FileDescriptor() {
        if (m_fd >= 0) {
            ::close(m_fd);
        }
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    int get() const { return m_fd; }
    // Closes now so that a failing close (a late write error on some file systems) is seen.
    int close() {
        const int result = ::close(m_fd);
        m_fd = -1;
        return result;
    }

  private:
    int m_fd;
};

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

LineReader::LineReader(std::string path) : m_path(std::move(path)) {
    // O_NONBLOCK keeps a FIFO given by mistake from blocking the open; the fstat below then
    // refuses it like every other file that is not a regular file.
    FileDescriptor fd(::open(m_path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    if (fd.get() < 0) {
        throw DataError(m_path, 0, openFailureReason(errno));
    }
    struct stat info {};
    if (::fstat(fd.get(), &info) != 0) {
        throw DataError(m_path, 0, openFailureReason(errno));
    }
    if (S_ISDIR(info.st_mode)) {
        throw DataError(m_path, 0, "this is a folder, not a file");
    }
    if (!S_ISREG(info.st_mode)) {
        throw DataError(m_path, 0, "this is not an ordinary file");
    }
    if (static_cast<std::uintmax_t>(info.st_size) > kMaxTextFileBytes) {
        throw DataError(m_path, 0,
                        "the file is too large (" + std::to_string(info.st_size) +
                            " bytes); data files are at most " + std::to_string(kMaxTextFileBytes) +
                            " bytes");
    }
    // Read until the end rather than trusting st_size: the file may change under us. The cap
    // still holds, so a file that keeps growing cannot exhaust memory.
    m_bytes.resize(static_cast<std::size_t>(info.st_size) + 1);
    std::size_t filled = 0;
    for (;;) {
        if (filled == m_bytes.size()) {
            if (m_bytes.size() > kMaxTextFileBytes) {
                throw DataError(m_path, 0,
                                "the file is too large; data files are at most " +
                                    std::to_string(kMaxTextFileBytes) + " bytes");
            }
            m_bytes.resize(std::min<std::size_t>(m_bytes.size() * 2, kMaxTextFileBytes + 1));
        }
        const ssize_t count = ::read(fd.get(), m_bytes.data() + filled, m_bytes.size() - filled);
        if (count < 0) {
            if (errno == EINTR) {
                continue;
            }
            throw DataError(m_path, 0,
                            std::string("the file cannot be read: ") + std::strerror(errno));
        }
        if (count == 0) {
            break;
        }
        filled += static_cast<std::size_t>(count);
    }
    m_bytes.resize(filled);
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
        fail(std::string("the byte ") + byteText + " at byte " + std::to_string(failedAt + 1) +
             " of the line is not valid Shift-JIS (CP932) text");
    }
    return decoded;
}

std::string LineReader::require(std::string_view what) {
    std::optional<std::string> line = next();
    if (!line) {
        throw DataError(m_path, m_lineNumber + 1,
                        "the file ends early: " + std::string(what) + " expected");
    }
    return std::move(*line);
}

void LineReader::fail(std::string reason) const {
    throw DataError(m_path, m_lineNumber, std::move(reason));
}

std::vector<std::string> ReadAllLines(const std::string& path) {
    LineReader reader(path);
    std::vector<std::string> lines;
    while (std::optional<std::string> line = reader.next()) {
        lines.push_back(std::move(*line));
    }
    return lines;
}

namespace {

std::string encodeLines(const std::string& path, const std::vector<std::string>& lines) {
    std::string content;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::string& line = lines[i];
        const int lineNumber = static_cast<int>(std::min<std::size_t>(i + 1, INT_MAX));
        if (line.find_first_of("\r\n") != std::string::npos) {
            // A line break inside a value would shift every later line of the file.
            throw DataError(path, lineNumber,
                            "the text " + quoteForMessage(line) +
                                " holds a line break, which a one-line value cannot keep");
        }
        std::optional<std::string> encoded = Utf8ToCp932(line);
        if (!encoded) {
            throw DataError(path, lineNumber,
                            "the text " + quoteForMessage(line) +
                                " holds a character that cannot be written in Shift-JIS "
                                "(CP932)");
        }
        content += *encoded;
        content += "\r\n";
    }
    return content;
}

}  // namespace

void CheckLinesWritable(const std::string& path, const std::vector<std::string>& lines) {
    encodeLines(path, lines);
}

void WriteLinesAtomic(const std::string& path, const std::vector<std::string>& lines) {
    // Encode everything first: a refusal must leave the disk untouched.
    const std::string content = encodeLines(path, lines);

    // Replace the file a symbolic link points at, not the link itself.
    std::string target = path;
    if (char* resolved = ::realpath(path.c_str(), nullptr)) {
        target = resolved;
        std::free(resolved);
    }
    struct stat existing {};
    mode_t mode = 0644;
    if (::stat(target.c_str(), &existing) == 0) {
        if (S_ISDIR(existing.st_mode)) {
            throw DataError(path, 0, "cannot write the file: this is a folder, not a file");
        }
        // Renaming over a device or a pipe would replace it with a plain file.
        if (!S_ISREG(existing.st_mode)) {
            throw DataError(path, 0, "cannot write the file: this is not an ordinary file");
        }
        mode = existing.st_mode & 07777;
    }

    std::string temporary = target + ".XXXXXX";
    FileDescriptor fd(::mkstemp(temporary.data()));
    if (fd.get() < 0) {
        throw DataError(path, 0, std::string("cannot write the file: ") + std::strerror(errno));
    }
    auto failWith = [&](int error) {
        ::unlink(temporary.c_str());
        throw DataError(path, 0, std::string("cannot write the file: ") + std::strerror(error));
    };
    if (::fchmod(fd.get(), mode) != 0) {
        failWith(errno);
    }
    std::size_t written = 0;
    while (written < content.size()) {
        const ssize_t count = ::write(fd.get(), content.data() + written, content.size() - written);
        if (count < 0) {
            if (errno == EINTR) {
                continue;
            }
            failWith(errno);
        }
        written += static_cast<std::size_t>(count);
    }
    if (::fsync(fd.get()) != 0) {
        failWith(errno);
    }
    if (fd.close() != 0) {
        failWith(errno);
    }
    if (::rename(temporary.c_str(), target.c_str()) != 0) {
        failWith(errno);
    }
    // Make the rename itself durable; the data is already safe, so a failure here is not
    // worth refusing the write for.
    const std::size_t slash = target.rfind('/');
    const std::string folder = slash == std::string::npos ? "." : target.substr(0, slash + 1);
    const int folderFd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folderFd >= 0) {
        ::fsync(folderFd);
        ::close(folderFd);
    }
}

std::optional<std::int16_t> ParseInt16(std::string_view text) {
    return parseInteger<std::int16_t>(text);
}

std::optional<std::int32_t> ParseInt32(std::string_view text) {
    return parseInteger<std::int32_t>(text);
}

std::string PrintStatementInteger(long value) {
    if (value < 0) {
        return std::to_string(value) + " ";
    }
    return " " + std::to_string(value) + " ";
}

}  // namespace qon
