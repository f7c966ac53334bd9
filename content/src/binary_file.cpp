// SPDX-License-Identifier: MIT
#include "binary_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "qon/data/error.h"

namespace qon::content {

void writeBinaryAtomic(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    std::string temp = path + ".XXXXXX";
    const int fd = ::mkstemp(temp.data());
    if (fd < 0) throw DataError(path, 0, std::strerror(errno));
    const auto fail = [&](int error) {
        ::close(fd);
        ::unlink(temp.c_str());
        throw DataError(path, 0, std::strerror(error));
    };
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0) {
            if (errno == EINTR) continue;
            fail(errno);
        }
        done += static_cast<std::size_t>(n);
    }
    // mkstemp makes the file private; content files are for everyone to read.
    if (::fchmod(fd, 0644) != 0 || ::fsync(fd) != 0) fail(errno);
    if (::close(fd) != 0) {
        const int error = errno;
        ::unlink(temp.c_str());
        throw DataError(path, 0, std::strerror(error));
    }
    if (::rename(temp.c_str(), path.c_str()) != 0) {
        const int error = errno;
        ::unlink(temp.c_str());
        throw DataError(path, 0, std::strerror(error));
    }
}

void makeFolders(const std::string& path) {
    std::error_code error;
    std::filesystem::create_directories(path, error);
    if (error) throw DataError(path, 0, "cannot create the folder: " + error.message());
}

}  // namespace qon::content
