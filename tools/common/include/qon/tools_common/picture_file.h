// SPDX-License-Identifier: MIT
#pragma once

#include <QImage>
#include <QImageReader>
#include <QString>
#include <string>

namespace qon::tools_common {

// A bitmap file read through the file layer (ReadFileBytes with kMaxBitmapFileBytes),
// checked as the game checks it (CheckBitmapHeader: a BMP of at most 640 x 480 pixels) and
// decoded from memory.
struct PictureRead {
    enum class Failure {
        None,
        Missing,      // nothing at the path
        Folder,       // the path names a folder
        Unreadable,   // refused by the file layer: a pipe, a device, too large, no permission
        NotAPicture,  // read, but no BMP the game can load: another format, a picture larger
                      // than the screen, or bytes Qt cannot decode
    };
    QImage picture;  // null unless failure is None
    Failure failure = Failure::None;
    // Why, for Unreadable and NotAPicture: the file layer's reason, the header check's, or
    // Qt's decoder's ("Unsupported image format"), all in English.
    QString reason;
    // What the decoder found, for NotAPicture: a tool words it in its own language.
    QImageReader::ImageReaderError decodeError = QImageReader::UnknownError;
};

// Reads a BMP picture the game can load. Only an ordinary file is opened, so a named pipe
// chosen as a bitmap fails at once instead of blocking the tool; the size its header
// claims is checked before anything is decoded.
PictureRead ReadPictureFile(const std::string& path);

}  // namespace qon::tools_common
