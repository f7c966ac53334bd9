// SPDX-License-Identifier: MIT
// A .bmp as the game loads a graphic set's pictures: the media layer's own loader
// (decoded from memory, converted to RGB565, the top-left pixel as colour key), then the blits
// the play screen makes with it, keyed and plain, one to one and stretched.

#include "fuzz_files.h"
#include "qon/headless/headless.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static qon::fuzz::ScratchFolder folder("bitmap");
    static qon::headless::HeadlessMedia media;
    folder.fresh();
    const std::string path = folder.write("Block1.bmp", qon::fuzz::AsText(data, size));
    qon::media::SurfacePtr picture;
    try {
        picture = media.LoadSurfaceFromFile(path);
    } catch (const qon::media::MediaError&) {
        return 0;
    }
    if (!picture) qon::fuzz::Broken("a load returned no surface without an error");
    const int w = picture->width();
    const int h = picture->height();
    if (w < 1 || h < 1 || w > 4096 || h > 4096) {
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
