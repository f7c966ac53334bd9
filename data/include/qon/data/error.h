// SPDX-License-Identifier: MIT
#pragma once

#include <stdexcept>
#include <string>

namespace qon {

// The one exception type of the data library. It names the file, the 1-based line
// (0 when the problem concerns the file as a whole) and a reason a person understands.
// what() reads like "/home/a/Blocks/Stage3.stg, line 12: ...".
class DataError : public std::runtime_error {
  public:
    DataError(std::string file, int line, std::string reason);

    const std::string& file() const { return m_file; }
    int line() const { return m_line; }
    const std::string& reason() const { return m_reason; }

  private:
    std::string m_file;
    int m_line;
    std::string m_reason;
};

}  // namespace qon
