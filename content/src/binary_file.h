// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace qon::content {

// The bytes of a generated picture or sound as WriteFileAtomic takes them; every file of
// the generator is written through it, so an interrupted build never leaves half of one.
inline std::string_view asBytes(const std::vector<std::uint8_t>& bytes) {
    return {reinterpret_cast<const char*>(bytes.data()), bytes.size()};
}

// Creates the folder and its parents. Throws qon::DataError.
void makeFolders(const std::string& path);

}  // namespace qon::content
