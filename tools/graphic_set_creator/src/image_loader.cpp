// SPDX-License-Identifier: MIT
#include "qon/pavane/image_loader.h"

#include <QFileInfo>
#include <QImageReader>

namespace qon::pavane {

QImage FileImageLoader::load(const QString& path, QString& error) const {
    QFileInfo info(path);
    if (!info.exists()) {
        error = QStringLiteral("ファイルがありません。");
        return {};
    }
    if (info.isDir()) {
        error = QStringLiteral("フォルダです。画像ファイルではありません。");
        return {};
    }
    QImageReader reader(path);
    QImage picture = reader.read();
    if (picture.isNull()) {
        error = QStringLiteral("画像として読み込めません（%1）。").arg(reader.errorString());
    }
    return picture;
}

}  // namespace qon::pavane
