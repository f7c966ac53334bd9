// SPDX-License-Identifier: MIT
#include "qon/data/paths.h"

#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstring>
#include <string>
#include <vector>

#include "qon/data/error.h"
#include "qon/data/messages.h"

namespace qon {

std::string ProgramFolder() {
    // The link target can be longer than PATH_MAX on some file systems; grow until it fits.
    std::vector<char> buffer(PATH_MAX);
    for (;;) {
        const ssize_t length = readlink("/proc/self/exe", buffer.data(), buffer.size());
        if (length < 0) {
            throw DataError("/proc/self/exe", 0,
                            Say(Message::OwnFolderUnknown, {SystemErrorText(errno)}));
        }
        if (static_cast<std::size_t>(length) < buffer.size()) {
            return FolderOf(std::string_view(buffer.data(), static_cast<std::size_t>(length)));
        }
        buffer.resize(buffer.size() * 2);
    }
}

std::string FolderOf(std::string_view path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string_view::npos) {
        throw DataError(std::string(path), 0, Say(Message::PathNamesNoFolder));
    }
    return std::string(path.substr(0, slash + 1));
}

std::string FileNameOf(std::string_view path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string_view::npos) {
        return std::string(path);
    }
    return std::string(path.substr(slash + 1));
}

std::string ResolveListEntry(std::string_view gameFolder, const std::string& entry) {
    if (entry.empty() || entry.front() == '/') return entry;
    std::string path(gameFolder);
    if (path.empty() || path.back() != '/') path += '/';
    return path + entry;
}

long HexToLong(std::string_view text) {
    long value = 0;
    for (const char c : text) {
        int digit;
        if (c >= '0' && c <= '9') {
            digit = c - '0';
        } else if (c >= 'a' && c <= 'f') {
            digit = c - 'a' + 10;
        } else if (c >= 'A' && c <= 'F') {
            digit = c - 'A' + 10;
        } else {
            break;
        }
        if (value > (LONG_MAX - digit) / 16) {
            return LONG_MAX;
        }
        value = value * 16 + digit;
    }
    return value;
}

}  // namespace qon
