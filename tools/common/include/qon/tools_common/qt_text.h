// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <string>

namespace qon::tools_common {

// std::string (UTF-8) <-> QString.
inline QString toQ(const std::string& s) {
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}
inline std::string fromQ(const QString& s) {
    return s.toUtf8().toStdString();
}

}  // namespace qon::tools_common
