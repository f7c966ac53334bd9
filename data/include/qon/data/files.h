// SPDX-License-Identifier: MIT
#pragma once

// The one door to the disk. Every program reads a file through ReadFileBytes (an
// ordinary file only, with a size cap that fits the file's purpose) and replaces a file
// through WriteFileAtomic. The formats themselves parse and format bytes in memory.

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace qon {

// Size caps by purpose. A file larger than its cap is refused before it is read.
// Data text files: the largest real ones (a list of thousands of sets) stay far below.
inline constexpr std::size_t kMaxTextFileBytes = 16u * 1024u * 1024u;
// The first line of a listed set, its display name: only this much of the file is read.
inline constexpr std::size_t kMaxFirstLineBytes = 4u * 1024u;
// Bitmaps: no picture of the game is larger than its 640 x 480 screen (bitmap_header.h
// checks the sides); at 32 bits a pixel that is 1.2 MB, with room here for headers, a
// palette and an embedded colour profile.
inline constexpr std::size_t kMaxBitmapFileBytes = 640u * 480u * 4u + 64u * 1024u;
// Sound effects are short; a minute of CD-quality stereo is far beyond any of them.
inline constexpr std::size_t kMaxWaveFileBytes = 64u * 1024u * 1024u;
// Standard MIDI files of whole pieces stay well below a megabyte; every event read costs
// memory many times its size in the file, so the cap is kept low.
inline constexpr std::size_t kMaxMidiFileBytes = 4u * 1024u * 1024u;

// Reads a whole ordinary file. A folder, FIFO, device or socket is refused before it is
// opened, so a named pipe can never block the reader; the file is then opened without
// blocking and checked again, in case it was swapped in between. Throws DataError
// (file = path, line 0) for a missing, unreadable or unordinary file, and for one larger
// than maxBytes.
std::string ReadFileBytes(const std::string& path, std::size_t maxBytes);

// ReadFileBytes with kMaxTextFileBytes: how the data text readers meet the disk.
std::string ReadTextFileBytes(const std::string& path);

// Where a reader of several files gets the bytes of each one: the disk (ReadTextFileBytes)
// by default, a map in tests and fuzz targets. Throws DataError (file = path) for a file
// it cannot give.
using FileSource = std::function<std::string(const std::string& path)>;

// As ReadFileBytes, but reads at most maxBytes from the start of the file and never
// refuses a file for its size: for a caller that needs only the first line.
std::string ReadFileStart(const std::string& path, std::size_t maxBytes);

// True when path names an ordinary file (following symbolic links).
bool IsOrdinaryFile(const std::string& path);

// Replaces the file atomically: the bytes go to a temporary file beside the target,
// which is flushed to disk and renamed over it, so a crash leaves either the old file or
// the new one, never half of one. A folder, device or pipe at path is refused. An
// existing file keeps its permissions (a new one gets 0644); a symbolic link is followed,
// so the file it points at is replaced. On any failure the previous file is left as it
// was, no temporary remains, and a DataError names the file and the reason ("No space
// left on device").
//
// The temporary is the hidden ".NAME.qon-XXXXXX" beside NAME. A writer killed mid-way
// leaves it behind; the next successful write of NAME removes every such leftover that no
// live writer still holds, and nothing else.
void WriteFileAtomic(const std::string& path, std::string_view bytes);

// True when `entry` (a bare file name) is one of WriteFileAtomic's temporaries for the file
// named `fileName`: exactly "." + fileName + ".qon-" + six letters or digits.
bool IsAtomicWriteTemporaryOf(std::string_view entry, std::string_view fileName);

// ---- saves of several files as one -----------------------------------------------------

// What a path names; a symbolic link at the end of the path is not followed.
enum class PathKind { Missing, File, Folder, Link, Other };

struct PathInfo {
    PathKind kind = PathKind::Missing;
    // Permission bits of what the path leads to (links followed); 0 when nothing.
    unsigned mode = 0;
    // For a File: how many names it has, the bytes of disk it holds, and whether this
    // process may write it.
    unsigned links = 0;
    std::uint64_t allocated = 0;
    bool writable = false;
};

// Held while a folder's files are replaced as one, or read while no such replacement may
// run: the holder is the only one in the folder. Released when destroyed, and by the
// system when its process dies, so a killed program never leaves a folder locked.
class FolderLock {
  public:
    virtual ~FolderLock() = default;
};

// The file operations of a save that replaces several files together (a stage project),
// one call per step, so that tests can fail any single one. DiskFileOperations does them
// on the disk. Every failure throws DataError naming the path and the system's reason.
class FileOperations {
  public:
    virtual ~FileOperations() = default;

    virtual PathInfo inspect(const std::string& path) = 0;
    // Names of the folder's entries, "." and ".." left out, in no particular order.
    virtual std::vector<std::string> listFolder(const std::string& folder) = 0;
    // ReadFileBytes.
    virtual std::string readFile(const std::string& path, std::size_t maxBytes) = 0;
    // Waits (for a bounded time) until no other holder is in the folder. A folder that
    // cannot be locked at all (no permission to open it) gives a lock that holds nothing.
    virtual std::unique_ptr<FolderLock> lockFolder(const std::string& folder) = 0;
    // Creates a new private folder inside `folder`, named `prefix` + six random letters or
    // digits, and returns that name.
    virtual std::string makeTemporaryFolder(const std::string& folder,
                                            const std::string& prefix) = 0;
    // Creates a file that must not exist yet, with these bytes and permission bits. The
    // bytes are not flushed: syncFileSystem does that for many files at once.
    virtual void writeNewFile(const std::string& path, std::string_view bytes, unsigned mode) = 0;
    // Makes everything written so far on the file system that holds `folder` durable.
    virtual void syncFileSystem(const std::string& folder) = 0;
    // Makes the folder's entries (creations, renames, removals) durable.
    virtual void syncFolder(const std::string& folder) = 0;
    // Writes the bytes over the file's content in place, so that it keeps its inode, its
    // permissions and its blocks; creates the file when it is missing. A symbolic link is
    // refused. Not flushed: syncFileSystem does that.
    virtual void overwriteFile(const std::string& path, std::string_view bytes) = 0;
    // Renames within one file system, replacing a file or link at `to`.
    virtual void renameFile(const std::string& from, const std::string& to) = 0;
    virtual void removeFile(const std::string& path) = 0;
    // Removes an empty folder.
    virtual void removeFolder(const std::string& path) = 0;
    // Removes a WriteFileAtomic temporary left by a writer that died; one that a live
    // writer still holds is kept. False when it was kept.
    virtual bool removeAbandonedTemporary(const std::string& path) = 0;
};

class DiskFileOperations final : public FileOperations {
  public:
    // `lockWait`: how long lockFolder waits for another holder before it gives up.
    explicit DiskFileOperations(std::chrono::milliseconds lockWait = std::chrono::seconds(5))
        : m_lockWait(lockWait) {}

    PathInfo inspect(const std::string& path) override;
    std::vector<std::string> listFolder(const std::string& folder) override;
    std::string readFile(const std::string& path, std::size_t maxBytes) override;
    std::unique_ptr<FolderLock> lockFolder(const std::string& folder) override;
    std::string makeTemporaryFolder(const std::string& folder, const std::string& prefix) override;
    void writeNewFile(const std::string& path, std::string_view bytes, unsigned mode) override;
    void syncFileSystem(const std::string& folder) override;
    void syncFolder(const std::string& folder) override;
    void overwriteFile(const std::string& path, std::string_view bytes) override;
    void renameFile(const std::string& from, const std::string& to) override;
    void removeFile(const std::string& path) override;
    void removeFolder(const std::string& path) override;
    bool removeAbandonedTemporary(const std::string& path) override;

  private:
    std::chrono::milliseconds m_lockWait;
};

}  // namespace qon
