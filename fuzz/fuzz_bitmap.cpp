// SPDX-License-Identifier: MIT
// A .bmp as the game loads a graphic set's pictures: the media layer's own loader
// (decoded from memory, converted to RGB565, the top-left pixel as colour key), then the blits
// the play screen makes with it, keyed and plain, one to one and stretched.

#include <unistd.h>

#include <filesystem>

#include "fuzz_input.h"
#include "qon/data/bitmap_header.h"
#include "qon/data/files.h"
#include "qon/headless/headless.h"

namespace {

// The media layer loads pictures by path, so this input alone goes to the disk: a folder
// of this process in memory (/dev/shm), written through the data library's file layer.
// The process id keeps parallel jobs (-jobs, -workers) apart.
class PictureFolder {
  public:
    PictureFolder() {
        std::error_code error;
        const std::filesystem::path base = std::filesystem::is_directory("/dev/shm", error)
                                               ? std::filesystem::path("/dev/shm")
                                               : std::filesystem::temp_directory_path();
        m_folder = base / ("qon-fuzz-bitmap-" + std::to_string(getpid()));
        std::filesystem::create_directories(m_folder, error);
        if (error) qon::fuzz::Broken("cannot make " + m_folder.string() + ": " + error.message());
    }
    ~PictureFolder() {
        std::error_code error;
        std::filesystem::remove_all(m_folder, error);
    }
    PictureFolder(const PictureFolder&) = delete;
    PictureFolder& operator=(const PictureFolder&) = delete;

    std::string write(std::string_view bytes) const {
        const std::string path = (m_folder / "Block1.bmp").string();
        qon::WriteFileAtomic(path, bytes);
        return path;
    }

  private:
    std::filesystem::path m_folder;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const PictureFolder folder;
    static qon::headless::HeadlessMedia media;
    const std::string path = folder.write(qon::fuzz::AsText(data, size));
    qon::media::SurfacePtr picture;
    try {
        picture = media.LoadSurfaceFromFile(path);
    } catch (const qon::media::MediaError&) {
        return 0;
    }
    if (!picture) qon::fuzz::Broken("a load returned no surface without an error");
    const int w = picture->width();
    const int h = picture->height();
    if (w < 1 || h < 1 || w > qon::kMaxBitmapWidth || h > qon::kMaxBitmapHeight) {
        qon::fuzz::Broken("picture of " + std::to_string(w) + " x " + std::to_string(h));
    }
    qon::media::Surface& back = media.BackBuffer();
    media.BltSprite(back, 2, 30, 53, 15, *picture, 0, 0, false);
    media.BltSprite(back, 100, 100, w, h, *picture, 0, 0, true);
    media.BltStretch(back, 200, 440, 180, 12, *picture, 0, 0, w, h, false);
    media.BltStretch(back, 0, 0, 6, 6, *picture, 0, 0, w, h, true);
    media.PixelAt(*picture, 0, 0);
    media.PixelAt(*picture, w - 1, h - 1);
    return 0;
}
