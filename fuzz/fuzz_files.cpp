// SPDX-License-Identifier: MIT
#include "fuzz_files.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

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

ScratchFolder::ScratchFolder(std::string_view targetName) {
    std::error_code error;
    const std::filesystem::path base = std::filesystem::is_directory("/dev/shm", error)
                                           ? std::filesystem::path("/dev/shm")
                                           : std::filesystem::temp_directory_path();
    // The process id keeps parallel jobs (-jobs, -workers) apart.
    m_path =
        (base / ("qon-fuzz-" + std::string(targetName) + "-" + std::to_string(getpid()))).string() +
        "/";
    fresh();
}

ScratchFolder::~ScratchFolder() {
    std::error_code error;
    std::filesystem::remove_all(m_path, error);
}

void ScratchFolder::fresh() {
    std::error_code error;
    std::filesystem::remove_all(m_path, error);
    std::filesystem::create_directories(m_path, error);
    if (error) Broken("cannot make the scratch folder " + m_path + ": " + error.message());
}

std::string ScratchFolder::write(std::string_view name, std::string_view bytes) const {
    const std::string path = m_path + std::string(name);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out) Broken("cannot write the scratch file " + path);
    return path;
}

void Broken(const std::string& what) {
    std::fprintf(stderr, "qon fuzz: %s\n", what.c_str());
    std::abort();
}

}  // namespace qon::fuzz
