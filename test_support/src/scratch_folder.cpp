// SPDX-License-Identifier: MIT
#include "qon/test_support/scratch_folder.h"

#include <cstdlib>
#include <filesystem>
#include <stdexcept>

namespace qon::test_support {

ScratchFolder::ScratchFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "qon-test.XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) {
        throw std::runtime_error("mkdtemp failed for " + pattern);
    }
    m_path = pattern + "/";
}

ScratchFolder::~ScratchFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(m_path, ignored);
}

std::string ScratchFolder::folder(std::string_view name) const {
    const std::string path = file(name);
    std::filesystem::create_directories(path);
    return path.ends_with('/') ? path : path + "/";
}

}  // namespace qon::test_support
