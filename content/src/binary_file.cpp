// SPDX-License-Identifier: MIT
#include "binary_file.h"

#include <filesystem>
#include <system_error>

#include "qon/data/error.h"

namespace qon::content {

void makeFolders(const std::string& path) {
    std::error_code error;
    std::filesystem::create_directories(path, error);
    if (error) throw DataError(path, 0, "cannot create the folder: " + error.message());
}

}  // namespace qon::content
