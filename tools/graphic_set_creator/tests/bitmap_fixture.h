// SPDX-License-Identifier: MIT
#pragma once

#include <gtest/gtest.h>

#include <QColor>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <string>

#include "qon/data/graphic_set.h"
#include "qon/tools/prompter.h"

namespace qon::pavane::testing {

// A scratch folder in which tests write small bitmaps and graphic set files.
class BitmapFolder {
  public:
    BitmapFolder() { EXPECT_TRUE(m_dir.isValid()); }

    std::string path(const std::string& name) const {
        return tools::fromQ(m_dir.filePath(tools::toQ(name)));
    }

    // Writes a width x height BMP filled with one colour; returns its full path.
    std::string bitmap(const std::string& name, int width, int height,
                       QColor colour = Qt::red) const {
        QImage picture(width, height, QImage::Format_RGB32);
        picture.fill(colour);
        const std::string full = path(name);
        EXPECT_TRUE(picture.save(tools::toQ(full), "BMP")) << full;
        return full;
    }

    // A bitmap of the size slot `slot` requires, named after the slot.
    std::string fittingBitmap(int slot, const std::string& prefix = "s") const {
        const BitmapSize size = RequiredBitmapSize(slot);
        return bitmap(prefix + std::to_string(slot) + ".bmp", size.width, size.height);
    }

    // A file that ends in .bmp but holds no picture.
    std::string notAPicture(const std::string& name) const {
        const std::string full = path(name);
        QFile file(tools::toQ(full));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("this is not a bitmap\r\n");
        return full;
    }

    std::string folder() const { return tools::fromQ(m_dir.path()) + "/"; }

  private:
    QTemporaryDir m_dir;
};

}  // namespace qon::pavane::testing
