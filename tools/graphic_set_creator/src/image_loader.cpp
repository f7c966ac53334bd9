// SPDX-License-Identifier: MIT
#include "qon/graphic_set_creator/image_loader.h"

#include <QCoreApplication>

#include "qon/tools_common/error_text.h"
#include "qon/tools_common/picture_file.h"
#include "qon/tools_common/qt_text.h"

namespace qon::graphic_set_creator {

QImage FileImageLoader::load(const QString& path, QString& error) const {
    using Failure = tools_common::PictureRead::Failure;
    tools_common::PictureRead read = tools_common::ReadPictureFile(tools_common::fromQ(path));
    switch (read.failure) {
        case Failure::None:
            break;
        case Failure::Missing:
            error = QCoreApplication::translate("ImageLoader", "ファイルがありません。");
            break;
        case Failure::Folder:
            error = QCoreApplication::translate("ImageLoader",
                                                "フォルダです。画像ファイルではありません。");
            break;
        case Failure::Unreadable:
            error = read.reason;
            break;
        case Failure::NotAPicture:
            // Qt's decoder explains itself in English; say the same in the tool's words.
            switch (read.decodeError) {
                case QImageReader::UnsupportedFormatError:
                    error = QCoreApplication::translate(
                        "ImageLoader", "画像として読み込めません（対応していない形式です）。");
                    break;
                case QImageReader::InvalidDataError:
                    error = QCoreApplication::translate(
                        "ImageLoader", "画像として読み込めません（データが壊れています）。");
                    break;
                default:
                    error =
                        QCoreApplication::translate("ImageLoader", "画像として読み込めません。");
                    break;
            }
            break;
    }
    return read.picture;
}

}  // namespace qon::graphic_set_creator
