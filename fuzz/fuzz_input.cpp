// SPDX-License-Identifier: MIT
#include "fuzz_input.h"

#include <cstdio>
#include <cstdlib>

#include "qon/data/error.h"

namespace qon::fuzz {

std::vector<std::string_view> SplitFiles(std::string_view input) {
    std::vector<std::string_view> pieces;
    std::size_t start = 0;
    for (;;) {
        const std::size_t marker = input.find(kFileMarker, start);
        if (marker == std::string_view::npos) {
            pieces.push_back(input.substr(start));
            return pieces;
        }
        pieces.push_back(input.substr(start, marker + 1 - start));
        start = marker + kFileMarker.size();
    }
}

std::string WithFolder(std::string_view text, const std::string& folder) {
    std::string out;
    std::size_t start = 0;
    for (;;) {
        const std::size_t token = text.find(kFolderToken, start);
        if (token == std::string_view::npos) {
            out.append(text.substr(start));
            return out;
        }
        out.append(text.substr(start, token - start));
        out.append(folder);
        start = token + kFolderToken.size();
    }
}

std::string MemoryFiles::add(std::string_view name, std::string_view bytes) {
    std::string path = kFolder + std::string(name);
    addAt(path, bytes);
    return path;
}

void MemoryFiles::addAt(const std::string& path, std::string_view bytes) {
    m_files[path] = std::string(bytes);
}

FileSource MemoryFiles::source() const {
    return [this](const std::string& path) {
        const auto file = m_files.find(path);
        if (file == m_files.end()) throw DataError(path, 0, "the file does not exist");
        return file->second;
    };
}

void Broken(const std::string& what) {
    std::fprintf(stderr, "qon fuzz: %s\n", what.c_str());
    std::abort();
}

}  // namespace qon::fuzz
