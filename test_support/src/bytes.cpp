// SPDX-License-Identifier: MIT
#include "qon/test_support/bytes.h"

#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <stdexcept>

namespace qon::test_support {

void WriteBytes(const std::string& path, std::string_view bytes) {
    // A fresh file rather than a truncated one: ext4 flushes truncated-and-rewritten files
    // to disk on close, which would make tests that rewrite files in a loop crawl.
    std::error_code ignored;
    std::filesystem::remove(path, ignored);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out) {
        throw std::runtime_error("cannot write test file " + path);
    }
}

std::string ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return "<missing>";
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}

bool Exists(const std::string& path) {
    std::error_code ignored;
    return std::filesystem::exists(path, ignored);
}

std::string ListFolder(const std::string& folder) {
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        names.insert(entry.path().filename().string());
    }
    std::string joined;
    for (const std::string& name : names) {
        joined += joined.empty() ? name : " " + name;
    }
    return joined;
}

}  // namespace qon::test_support
