// SPDX-License-Identifier: MIT
#pragma once

#include <QImage>
#include <QString>

namespace qon::graphic_set_creator {

// Loads a bitmap for a slot preview. The seam lets tests hand out generated
// pictures instead of touching the disk.
class ImageLoader {
  public:
    virtual ~ImageLoader() = default;

    // The picture, or a null QImage with `error` set to a reason a person understands.
    virtual QImage load(const QString& path, QString& error) const = 0;
};

// Reads picture files through the file layer and decodes them from memory (BMP and
// whatever else Qt can decode). A named pipe or a device is refused at once.
class FileImageLoader final : public ImageLoader {
  public:
    QImage load(const QString& path, QString& error) const override;
};

}  // namespace qon::graphic_set_creator
