// SPDX-License-Identifier: MIT
#include "qon/data/error.h"

#include <utility>

namespace qon {

namespace {

std::string composeMessage(const std::string& file, int line, const std::string& reason) {
    if (line > 0) {
        return file + ", line " + std::to_string(line) + ": " + reason;
    }
    return file + ": " + reason;
}

}  // namespace

DataError::DataError(std::string file, int line, std::string reason)
    : std::runtime_error(composeMessage(file, line, reason)),
      m_file(std::move(file)),
      m_line(line),
      m_reason(std::move(reason)) {}

}  // namespace qon
