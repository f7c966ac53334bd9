// SPDX-License-Identifier: MIT
#include "qon/tools_common/picture_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <chrono>
#include <filesystem>
#include <functional>

#include "qon/data/files.h"
#include "qon/test_support/bytes.h"
#include "qon/test_support/language.h"
#include "qon/test_support/media_bytes.h"
#include "qon/test_support/rows.h"
#include "qon/test_support/scratch_folder.h"
#include "qon/tools_common/testing/watchdog.h"

namespace qon::tools_common {
namespace {

using Failure = PictureRead::Failure;
using test_support::RowName;
using test_support::ScratchFolder;

TEST(PictureFile, DecodesABitmapFromItsBytes) {
    ScratchFolder folder;
    const std::string path = folder.file("two.bmp");
    test_support::WriteBytes(path, test_support::BmpBytes(3, 2, [](int x, int y) {
                                 return x == 2 && y == 1 ? 0x0000FFu : 0x00FF00u;
                             }));
    const PictureRead read = ReadPictureFile(path);
    ASSERT_EQ(read.failure, Failure::None) << read.reason.toStdString();
    EXPECT_EQ(read.picture.size(), QSize(3, 2));
    EXPECT_EQ(read.picture.pixel(2, 1), qRgb(255, 0, 0));
    EXPECT_EQ(read.picture.pixel(0, 0), qRgb(0, 255, 0));
}

// Something at the path that is no picture a tool can use.
struct RefusedRow {
    const char* name;
    // Makes the thing and returns its path.
    std::function<std::string(const ScratchFolder&)> make{};
    Failure failure = Failure::None;
    const char* reasonPart = "";
};
QON_PRINT_ROWS_BY_NAME

class RefusedPicture : public ::testing::TestWithParam<RefusedRow> {};

TEST_P(RefusedPicture, FailsAtOnceWithAReason) {
    const RefusedRow& row = GetParam();
    // The reasons in the words the file layer uses in English.
    const test_support::LanguageScope english(Language::English);
    ScratchFolder folder;
    const std::string path = row.make(folder);
    testing::Watchdog watchdog(std::chrono::seconds(20), "reading " + path);
    const PictureRead read = ReadPictureFile(path);
    EXPECT_EQ(read.failure, row.failure);
    EXPECT_TRUE(read.picture.isNull());
    EXPECT_TRUE(read.reason.contains(QString::fromUtf8(row.reasonPart)))
        << read.reason.toStdString();
}

const RefusedRow kRefused[] = {
    {.name = "NothingAtThePath",
     .make = [](const ScratchFolder& f) { return f.file("gone.bmp"); },
     .failure = Failure::Missing,
     .reasonPart = "does not exist"},
    {.name = "AFolderNamedLikeABitmap",
     .make = [](const ScratchFolder& f) { return f.folder("folder.bmp"); },
     .failure = Failure::Folder,
     .reasonPart = "folder"},
    {.name = "ANamedPipeIsNeverOpened",
     .make =
         [](const ScratchFolder& f) {
             const std::string path = f.file("pipe.bmp");
             EXPECT_EQ(::mkfifo(path.c_str(), 0600), 0);
             return path;
         },
     .failure = Failure::Unreadable,
     .reasonPart = "named pipe"},
    {.name = "AFileLargerThanTheCap",
     .make =
         [](const ScratchFolder& f) {
             const std::string path = f.file("huge.bmp");
             test_support::WriteBytes(path, test_support::SolidBmpBytes(53, 15, 0));
             // Sparse: the size is refused before a byte is read.
             std::filesystem::resize_file(path, kMaxBitmapFileBytes + 1);
             return path;
         },
     .failure = Failure::Unreadable,
     .reasonPart = "too large"},
    {.name = "TextThatIsNoPicture",
     .make =
         [](const ScratchFolder& f) {
             const std::string path = f.file("text.bmp");
             test_support::WriteBytes(path, "this is not a bitmap\r\n");
             return path;
         },
     .failure = Failure::NotAPicture,
     .reasonPart = "not a BMP picture"},
    {.name = "ADeviceIsNeverRead",
     .make =
         [](const ScratchFolder& f) {
             const std::string path = f.file("zero.bmp");
             std::filesystem::create_symlink("/dev/zero", path);
             return path;
         },
     .failure = Failure::Unreadable,
     .reasonPart = "device"},
    {.name = "APictureLargerThanTheScreen",
     .make =
         [](const ScratchFolder& f) {
             const std::string path = f.file("wide.bmp");
             test_support::WriteBytes(path, test_support::SolidBmpBytes(641, 1, 0));
             return path;
         },
     .failure = Failure::NotAPicture,
     .reasonPart = "641 x 1"},
    {.name = "ARunLengthFileClaimingFourThousandSquare",
     .make =
         [](const ScratchFolder& f) {
             const std::string path = f.file("rle.bmp");
             test_support::WriteBytes(path, test_support::Rle8BmpClaiming(4096, 4096));
             return path;
         },
     .failure = Failure::NotAPicture,
     .reasonPart = "4096 x 4096"},
    {.name = "ABitmapCutShort",
     .make =
         [](const ScratchFolder& f) {
             const std::string path = f.file("cut.bmp");
             test_support::WriteBytes(path, test_support::SolidBmpBytes(53, 15, 0).substr(0, 40));
             return path;
         },
     .failure = Failure::NotAPicture},
};
INSTANTIATE_TEST_SUITE_P(Files, RefusedPicture, ::testing::ValuesIn(kRefused), RowName);

}  // namespace
}  // namespace qon::tools_common
