// SPDX-License-Identifier: MIT
#include "qon/data/files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "qon/data/error.h"

namespace qon {

namespace {

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

std::string notOrdinaryReason(mode_t mode) {
    if (S_ISDIR(mode)) return "this is a folder, not a file";
    if (S_ISFIFO(mode)) return "this is a named pipe, not an ordinary file";
    if (S_ISCHR(mode) || S_ISBLK(mode)) return "this is a device, not an ordinary file";
    return "this is not an ordinary file";
}

std::string tooLargeReason(std::uintmax_t size, std::size_t maxBytes) {
    return "the file is too large (" + std::to_string(size) + " bytes); at most " +
           std::to_string(maxBytes) + " bytes are accepted here";
}

class FileDescriptor {
  public:
    explicit FileDescriptor(int fd) : m_fd(fd) {}
    ~FileDescriptor() {
        if (m_fd >= 0) ::close(m_fd);
    }
    FileDescriptor(FileDescriptor&& other) noexcept : m_fd(other.m_fd) { other.m_fd = -1; }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    FileDescriptor& operator=(FileDescriptor&&) = delete;
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

// Opens an ordinary file for reading. The type is checked before the open, so a FIFO is
// never opened at all, and once more on the descriptor, so a file swapped for a FIFO or a
// device in between is refused too (O_NONBLOCK keeps that open from blocking).
FileDescriptor openOrdinaryFile(const std::string& path, struct stat& info) {
    if (::stat(path.c_str(), &info) != 0) {
        throw DataError(path, 0, openFailureReason(errno));
    }
    if (!S_ISREG(info.st_mode)) {
        throw DataError(path, 0, notOrdinaryReason(info.st_mode));
    }
    FileDescriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY));
    if (fd.get() < 0) {
        throw DataError(path, 0, openFailureReason(errno));
    }
    if (::fstat(fd.get(), &info) != 0) {
        throw DataError(path, 0, openFailureReason(errno));
    }
    if (!S_ISREG(info.st_mode)) {
        throw DataError(path, 0, notOrdinaryReason(info.st_mode));
    }
    return fd;
}

// Reads until the end or until `limit` bytes are in, whichever comes first. Reads to the end
// rather than trusting st_size, since the file may change under us.
std::string readUpTo(const std::string& path, int fd, std::size_t sizeHint, std::size_t limit) {
    std::string bytes;
    bytes.resize(std::min(sizeHint, limit) + 1);
    std::size_t filled = 0;
    for (;;) {
        if (filled == bytes.size()) {
            if (bytes.size() > limit) break;
            bytes.resize(std::min<std::size_t>(bytes.size() * 2, limit + 1));
        }
        const ssize_t count = ::read(fd, bytes.data() + filled, bytes.size() - filled);
        if (count < 0) {
            if (errno == EINTR) continue;
            throw DataError(path, 0,
                            std::string("the file cannot be read: ") + std::strerror(errno));
        }
        if (count == 0) break;
        filled += static_cast<std::size_t>(count);
    }
    bytes.resize(filled);
    return bytes;
}

}  // namespace

std::string ReadFileBytes(const std::string& path, std::size_t maxBytes) {
    struct stat info {};
    FileDescriptor fd = openOrdinaryFile(path, info);
    const auto size = static_cast<std::uintmax_t>(info.st_size);
    if (size > maxBytes) {
        throw DataError(path, 0, tooLargeReason(size, maxBytes));
    }
    std::string bytes = readUpTo(path, fd.get(), static_cast<std::size_t>(size), maxBytes);
    // A file that grew past the cap while it was read.
    if (bytes.size() > maxBytes) {
        throw DataError(path, 0, tooLargeReason(bytes.size(), maxBytes));
    }
    return bytes;
}

std::string ReadTextFileBytes(const std::string& path) {
    return ReadFileBytes(path, kMaxTextFileBytes);
}

std::string ReadFileStart(const std::string& path, std::size_t maxBytes) {
    struct stat info {};
    FileDescriptor fd = openOrdinaryFile(path, info);
    std::string bytes = readUpTo(path, fd.get(), static_cast<std::size_t>(info.st_size), maxBytes);
    if (bytes.size() > maxBytes) bytes.resize(maxBytes);
    return bytes;
}

bool IsOrdinaryFile(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

void WriteFileAtomic(const std::string& path, std::string_view bytes) {
    // Replace the file a symbolic link points at, not the link itself.
    std::string target = path;
    if (char* resolved = ::realpath(path.c_str(), nullptr)) {
        target = resolved;
        std::free(resolved);
    }
    struct stat existing {};
    mode_t mode = 0644;
    if (::stat(target.c_str(), &existing) == 0) {
        // Renaming over a folder, a device or a pipe would replace it with a plain file.
        if (!S_ISREG(existing.st_mode)) {
            throw DataError(path, 0,
                            "cannot write the file: " + notOrdinaryReason(existing.st_mode));
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
    // mkstemp makes the file private; keep the permissions of the file it replaces.
    if (::fchmod(fd.get(), mode) != 0) failWith(errno);
    std::size_t written = 0;
    while (written < bytes.size()) {
        const ssize_t count = ::write(fd.get(), bytes.data() + written, bytes.size() - written);
        if (count < 0) {
            if (errno == EINTR) continue;
            failWith(errno);
        }
        written += static_cast<std::size_t>(count);
    }
    if (::fsync(fd.get()) != 0) failWith(errno);
    if (fd.close() != 0) failWith(errno);
    if (::rename(temporary.c_str(), target.c_str()) != 0) failWith(errno);
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

}  // namespace qon
