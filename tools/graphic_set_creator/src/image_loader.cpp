// SPDX-License-Identifier: MIT
#include "qon/graphic_set_creator/image_loader.h"

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
            error = QStringLiteral("ファイルがありません。");
            break;
        case Failure::Folder:
            error = QStringLiteral("フォルダです。画像ファイルではありません。");
            break;
        case Failure::Unreadable:
        case Failure::NotAPicture:
            error = QStringLiteral("画像として読み込めません（%1）。").arg(read.reason);
            break;
    }
    return read.picture;
}

}  // namespace qon::graphic_set_creator
