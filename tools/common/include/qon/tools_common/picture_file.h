// SPDX-License-Identifier: MIT
#pragma once

#include <QImage>
#include <QImageReader>
#include <QString>
#include <cstddef>
#include <string>

namespace qon::tools_common {

// The largest picture file a tool reads. Every bitmap of a graphic set is a few
// kilobytes; the cap only keeps a wrong choice (a video, a disk image) from filling memory.
inline constexpr std::size_t kMaxPictureFileBytes = 16u * 1024u * 1024u;

// A picture file read through the file layer (ReadFileBytes) and decoded from memory.
struct PictureRead {
    enum class Failure {
        None,
        Missing,      // nothing at the path
        Folder,       // the path names a folder
        Unreadable,   // refused by the file layer: a pipe, a device, too large, no permission
        NotAPicture,  // read, but Qt cannot decode the bytes
    };
    QImage picture;  // null unless failure is None
    Failure failure = Failure::None;
    // Why, for Unreadable and NotAPicture: the file layer's reason or Qt's decoder's
    // ("Unsupported image format"), both in English.
    QString reason;
    // What the decoder found, for NotAPicture: a tool words it in its own language.
    QImageReader::ImageReaderError decodeError = QImageReader::UnknownError;
};

// Reads a BMP (or any picture Qt decodes). Only an ordinary file is opened, so a named
// pipe chosen as a bitmap fails at once instead of blocking the tool.
PictureRead ReadPictureFile(const std::string& path);

}  // namespace qon::tools_common
