// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QString>
#include <ostream>

// GoogleTest shows a failed comparison of QStrings (and of QStringLists, element by element)
// as text rather than as a dump of its bytes. Every test of the tools sees this, since the
// testing library includes it in each of their files: one printer for all of them.
inline void PrintTo(const QString& text, std::ostream* out) {
    const QByteArray utf8 = text.toUtf8();
    *out << '"';
    out->write(utf8.constData(), utf8.size());
    *out << '"';
}
