// SPDX-License-Identifier: MIT
#include "qon/tools_common/error_text.h"

#include "qon/data/error.h"
#include "qon/data/language.h"
#include "qon/tools_common/qt_text.h"

namespace qon::tools_common {

QString ErrorText(const DataError& error) {
    const QString file = toQ(QuotedPath(error.file()));
    const QString reason = toQ(error.reason());
    if (error.line() <= 0) return file + QStringLiteral("\n") + reason;
    const QString line = QString::number(error.line());
    // Filled in one pass, so a "%1" in the path or the reason stays as it is.
    return CurrentLanguage() == Language::Japanese
               ? QStringLiteral("%1\n%2 行目：%3").arg(file, line, reason)
               : QStringLiteral("%1\nline %2: %3").arg(file, line, reason);
}

}  // namespace qon::tools_common
