// SPDX-License-Identifier: MIT
#include "qon/tools_common/picture_file.h"

#include <QBuffer>
#include <QByteArray>
#include <QImageReader>
#include <filesystem>

#include "qon/data/bitmap_header.h"
#include "qon/data/error.h"
#include "qon/data/files.h"
#include "qon/tools_common/qt_text.h"

namespace qon::tools_common {

PictureRead ReadPictureFile(const std::string& path) {
    PictureRead read;
    std::string bytes;
    try {
        bytes = ReadFileBytes(path, kMaxBitmapFileBytes);
    } catch (const DataError& error) {
        // The file layer has refused it; tell the author the two common cases in their
        // own words.
        std::error_code ignored;
        const auto status = std::filesystem::status(path, ignored);
        if (status.type() == std::filesystem::file_type::not_found) {
            read.failure = PictureRead::Failure::Missing;
        } else if (status.type() == std::filesystem::file_type::directory) {
            read.failure = PictureRead::Failure::Folder;
        } else {
            read.failure = PictureRead::Failure::Unreadable;
        }
        read.reason = toQ(error.reason());
        return read;
    }
    try {
        // The game loads BMP files only, and none larger than its screen: a picture it
        // could not show is refused here, before the decoder allocates for it.
        CheckBitmapHeader(bytes, path);
    } catch (const DataError& error) {
        read.failure = PictureRead::Failure::NotAPicture;
        read.reason = toQ(error.reason());
        return read;
    }
    QByteArray data(bytes.data(), static_cast<qsizetype>(bytes.size()));
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    // A reader rather than QImage::loadFromData, for the decoder's reason on failure.
    QImageReader reader(&buffer);
    read.picture = reader.read();
    if (read.picture.isNull()) {
        read.failure = PictureRead::Failure::NotAPicture;
        read.reason = reader.errorString();
        read.decodeError = reader.error();
    }
    return read;
}

}  // namespace qon::tools_common
