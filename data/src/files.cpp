// SPDX-License-Identifier: MIT
#include "qon/data/files.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <thread>

#include "qon/data/error.h"
#include "qon/data/messages.h"

namespace qon {

namespace {

// The one test of what counts as an ordinary file: anything else (a folder, a named pipe,
// a device, a socket) is never opened for reading and never replaced.
bool isOrdinary(mode_t mode) {
    return S_ISREG(mode);
}

std::string openFailureReason(int error) {
    switch (error) {
        case ENOENT:
        case ENOTDIR:
            return Say(Message::FileMissing);
        case EACCES:
        case EPERM:
            return Say(Message::FileUnreadable);
        default:
            return Say(Message::FileCannotBeOpened, {SystemErrorText(error)});
    }
}

std::string notOrdinaryReason(mode_t mode) {
    if (S_ISDIR(mode)) return Say(Message::FileIsFolder);
    if (S_ISFIFO(mode)) return Say(Message::FileIsNamedPipe);
    if (S_ISCHR(mode) || S_ISBLK(mode)) return Say(Message::FileIsDevice);
    return Say(Message::FileNotOrdinary);
}

std::string tooLargeReason(std::uintmax_t size, std::size_t maxBytes) {
    return Say(Message::FileTooLarge, {std::to_string(size), std::to_string(maxBytes)});
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
    if (!isOrdinary(info.st_mode)) {
        throw DataError(path, 0, notOrdinaryReason(info.st_mode));
    }
    FileDescriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY));
    if (fd.get() < 0) {
        throw DataError(path, 0, openFailureReason(errno));
    }
    if (::fstat(fd.get(), &info) != 0) {
        throw DataError(path, 0, openFailureReason(errno));
    }
    if (!isOrdinary(info.st_mode)) {
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
            throw DataError(path, 0, Say(Message::FileCannotBeRead, {SystemErrorText(errno)}));
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
    return ::stat(path.c_str(), &info) == 0 && isOrdinary(info.st_mode);
}

namespace {

constexpr std::string_view kTemporaryTag = ".qon-";
constexpr std::size_t kRandomCharacters = 6;  // what mkstemp and mkdtemp put in place of XXXXXX

std::string writeFailure(int error) {
    return Say(Message::FileCannotBeWritten, {SystemErrorText(error)});
}

// "dir/name" -> {"dir/", "name"}; a bare name lives in the current folder ("").
std::pair<std::string, std::string> splitPath(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) return {std::string(), path};
    return {path.substr(0, slash + 1), path.substr(slash + 1)};
}

std::string folderOrCurrent(const std::string& folder) {
    return folder.empty() ? std::string(".") : folder;
}

// Flushes the folder's entries; the data of the files in it is not this call's business.
// A file system that cannot flush a folder (EINVAL) has nothing to flush.
int syncFolderEntries(const std::string& folder) {
    FileDescriptor fd(::open(folderOrCurrent(folder).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (fd.get() < 0) return errno;
    if (::fsync(fd.get()) != 0 && errno != EINVAL && errno != ENOTSUP) return errno;
    return 0;
}

// Removes the file at `path` if it is an ordinary file that no writer holds. Writers hold
// their temporary with flock from creation to rename, and the system drops that lock when
// a writer dies, so a lock that can be had marks a temporary nobody will finish.
bool removeIfAbandoned(const std::string& path) {
    FileDescriptor fd(
        ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    if (fd.get() < 0) return false;
    struct stat held {};
    if (::fstat(fd.get(), &held) != 0 || !isOrdinary(held.st_mode)) return false;
    if (::flock(fd.get(), LOCK_EX | LOCK_NB) != 0) return false;
    // The name must still lead to the file that is locked: a writer may have renamed it
    // into place between the open and the lock.
    struct stat named {};
    if (::lstat(path.c_str(), &named) != 0 || named.st_dev != held.st_dev ||
        named.st_ino != held.st_ino) {
        return false;
    }
    return ::unlink(path.c_str()) == 0;
}

void removeAbandonedTemporariesOf(const std::string& folder, const std::string& name) {
    DIR* dir = ::opendir(folderOrCurrent(folder).c_str());
    if (dir == nullptr) return;  // tidying up is not worth failing a write for
    std::vector<std::string> stale;
    while (const dirent* entry = ::readdir(dir)) {
        if (IsAtomicWriteTemporaryOf(entry->d_name, name)) stale.emplace_back(entry->d_name);
    }
    ::closedir(dir);
    for (const std::string& entry : stale) removeIfAbandoned(folder + entry);
}

// Creates the hidden temporary beside `target` and locks it, so that no other writer's
// tidying takes it for abandoned. A cleaner that got in between creation and lock has
// unlinked it; then a fresh one is made.
FileDescriptor createLockedTemporary(const std::string& folder, const std::string& name,
                                     std::string& temporary, const std::string& path) {
    for (int attempt = 0;; ++attempt) {
        temporary = folder + "." + name + std::string(kTemporaryTag) + "XXXXXX";
        FileDescriptor fd(::mkstemp(temporary.data()));
        if (fd.get() < 0) throw DataError(path, 0, writeFailure(errno));
        struct stat info {};
        if (::flock(fd.get(), LOCK_EX) == 0 && ::fstat(fd.get(), &info) == 0 && info.st_nlink > 0) {
            return fd;
        }
        const int error = errno;
        ::unlink(temporary.c_str());
        if (attempt == 3) throw DataError(path, 0, writeFailure(error != 0 ? error : EAGAIN));
    }
}

}  // namespace

bool IsAtomicWriteTemporaryOf(std::string_view entry, std::string_view fileName) {
    const std::size_t expected = 1 + fileName.size() + kTemporaryTag.size() + kRandomCharacters;
    if (fileName.empty() || entry.size() != expected || entry[0] != '.') return false;
    if (entry.substr(1, fileName.size()) != fileName) return false;
    if (entry.substr(1 + fileName.size(), kTemporaryTag.size()) != kTemporaryTag) return false;
    const std::string_view random = entry.substr(entry.size() - kRandomCharacters);
    return std::all_of(random.begin(), random.end(), [](char c) {
        return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
    });
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
        if (!isOrdinary(existing.st_mode)) {
            throw DataError(path, 0,
                            Say(Message::FileCannotBeWritten,
                                {WithoutFullStop(notOrdinaryReason(existing.st_mode))}));
        }
        mode = existing.st_mode & 07777;
    }

    const auto [folder, name] = splitPath(target);
    std::string temporary;
    FileDescriptor fd = createLockedTemporary(folder, name, temporary, path);
    // The lock lives on the open file, which this second descriptor keeps open until the
    // rename is done: closing the first one below must not release it.
    FileDescriptor lock(::dup(fd.get()));
    auto failWith = [&](int error) {
        ::unlink(temporary.c_str());
        throw DataError(path, 0, writeFailure(error));
    };
    if (lock.get() < 0) failWith(errno);
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
    lock.close();
    // Make the rename itself durable; the data is already safe, so a failure here is not
    // worth refusing the write for.
    syncFolderEntries(folder);
    removeAbandonedTemporariesOf(folder, name);
}

// ---- DiskFileOperations ------------------------------------------------------------------

namespace {

class DiskFolderLock final : public FolderLock {
  public:
    explicit DiskFolderLock(FileDescriptor fd) : m_fd(std::move(fd)) {}

  private:
    FileDescriptor m_fd;  // the flock goes with it
};

}  // namespace

PathInfo DiskFileOperations::inspect(const std::string& path) {
    struct stat info {};
    if (::lstat(path.c_str(), &info) != 0) {
        if (errno == ENOENT || errno == ENOTDIR) return {};
        throw DataError(path, 0, openFailureReason(errno));
    }
    PathInfo result;
    if (isOrdinary(info.st_mode)) {
        result.kind = PathKind::File;
        result.links = static_cast<unsigned>(info.st_nlink);
        result.allocated = static_cast<std::uint64_t>(info.st_blocks) * 512u;
        result.writable = ::access(path.c_str(), W_OK) == 0;
    } else if (S_ISDIR(info.st_mode)) {
        result.kind = PathKind::Folder;
    } else if (S_ISLNK(info.st_mode)) {
        result.kind = PathKind::Link;
        struct stat followed {};
        if (::stat(path.c_str(), &followed) != 0) return result;  // a dangling link
        info = followed;
    } else {
        result.kind = PathKind::Other;
    }
    result.mode = info.st_mode & 07777;
    return result;
}

std::vector<std::string> DiskFileOperations::listFolder(const std::string& folder) {
    DIR* dir = ::opendir(folderOrCurrent(folder).c_str());
    if (dir == nullptr) {
        throw DataError(folder, 0, Say(Message::FolderCannotBeRead, {SystemErrorText(errno)}));
    }
    std::vector<std::string> names;
    errno = 0;
    while (const dirent* entry = ::readdir(dir)) {
        const std::string_view name = entry->d_name;
        if (name != "." && name != "..") names.emplace_back(name);
    }
    const int error = errno;
    ::closedir(dir);
    if (error != 0) {
        throw DataError(folder, 0, Say(Message::FolderCannotBeRead, {SystemErrorText(error)}));
    }
    return names;
}

std::string DiskFileOperations::readFile(const std::string& path, std::size_t maxBytes) {
    return ReadFileBytes(path, maxBytes);
}

std::unique_ptr<FolderLock> DiskFileOperations::lockFolder(const std::string& folder) {
    FileDescriptor fd(::open(folderOrCurrent(folder).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (fd.get() < 0) {
        // A folder that may be searched but not listed can still be saved into and read.
        if (errno == EACCES || errno == EPERM) return std::make_unique<FolderLock>();
        throw DataError(folder, 0, Say(Message::FolderCannotBeOpened, {SystemErrorText(errno)}));
    }
    const auto giveUpAt = std::chrono::steady_clock::now() + m_lockWait;
    for (;;) {
        if (::flock(fd.get(), LOCK_EX | LOCK_NB) == 0) {
            return std::make_unique<DiskFolderLock>(std::move(fd));
        }
        if (errno == EINTR) continue;
        // A file system without locks (some network shares): nothing to wait for.
        if (errno != EWOULDBLOCK) return std::make_unique<FolderLock>();
        if (std::chrono::steady_clock::now() >= giveUpAt) {
            throw DataError(folder, 0, Say(Message::FolderBusy));
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}

std::string DiskFileOperations::makeTemporaryFolder(const std::string& folder,
                                                    const std::string& prefix) {
    std::string made = folder + prefix + "XXXXXX";
    if (::mkdtemp(made.data()) == nullptr) {
        throw DataError(folder, 0, Say(Message::FolderCannotBeMade, {SystemErrorText(errno)}));
    }
    return made.substr(folder.size());
}

void DiskFileOperations::writeNewFile(const std::string& path, std::string_view bytes,
                                      unsigned mode) {
    FileDescriptor fd(
        ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600));
    if (fd.get() < 0) throw DataError(path, 0, writeFailure(errno));
    auto failWith = [&](int error) {
        ::unlink(path.c_str());
        throw DataError(path, 0, writeFailure(error));
    };
    // open() applies the umask; the file gets exactly the bits asked for.
    if (::fchmod(fd.get(), static_cast<mode_t>(mode)) != 0) failWith(errno);
    std::size_t written = 0;
    while (written < bytes.size()) {
        const ssize_t count = ::write(fd.get(), bytes.data() + written, bytes.size() - written);
        if (count < 0) {
            if (errno == EINTR) continue;
            failWith(errno);
        }
        written += static_cast<std::size_t>(count);
    }
    if (fd.close() != 0) failWith(errno);
}

void DiskFileOperations::syncFileSystem(const std::string& folder) {
    FileDescriptor fd(::open(folderOrCurrent(folder).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (fd.get() < 0 || ::syncfs(fd.get()) != 0) throw DataError(folder, 0, writeFailure(errno));
}

void DiskFileOperations::syncFolder(const std::string& folder) {
    if (const int error = syncFolderEntries(folder))
        throw DataError(folder, 0, writeFailure(error));
}

void DiskFileOperations::overwriteFile(const std::string& path, std::string_view bytes) {
    FileDescriptor fd(::open(path.c_str(), O_WRONLY | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0644));
    if (fd.get() < 0) throw DataError(path, 0, writeFailure(errno));
    std::size_t written = 0;
    while (written < bytes.size()) {
        const ssize_t count = ::pwrite(fd.get(), bytes.data() + written, bytes.size() - written,
                                       static_cast<off_t>(written));
        if (count < 0) {
            if (errno == EINTR) continue;
            throw DataError(path, 0, writeFailure(errno));
        }
        written += static_cast<std::size_t>(count);
    }
    if (::ftruncate(fd.get(), static_cast<off_t>(bytes.size())) != 0 || fd.close() != 0) {
        throw DataError(path, 0, writeFailure(errno));
    }
}

void DiskFileOperations::renameFile(const std::string& from, const std::string& to) {
    if (::rename(from.c_str(), to.c_str()) != 0) throw DataError(to, 0, writeFailure(errno));
}

void DiskFileOperations::removeFile(const std::string& path) {
    if (::unlink(path.c_str()) != 0 && errno != ENOENT) {
        throw DataError(path, 0, Say(Message::FileCannotBeRemoved, {SystemErrorText(errno)}));
    }
}

void DiskFileOperations::removeFolder(const std::string& path) {
    if (::rmdir(path.c_str()) != 0 && errno != ENOENT) {
        throw DataError(path, 0, Say(Message::FolderCannotBeRemoved, {SystemErrorText(errno)}));
    }
}

bool DiskFileOperations::removeAbandonedTemporary(const std::string& path) {
    return removeIfAbandoned(path);
}

}  // namespace qon
