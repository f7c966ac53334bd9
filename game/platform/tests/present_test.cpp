// SPDX-License-Identifier: MIT
// Presenting without waste: what changed between two frames, how a frame is scaled into
// a window without a GPU (so that scaling only the changed regions leaves the window as a
// whole-frame scale would), and which way the window is drawn.

#include <SDL.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "frame_diff.h"
#include "frame_scaler.h"
#include "qon/test_support/bytes.h"
#include "qon/test_support/rows.h"
#include "qon/test_support/scratch_folder.h"
#include "render_choice.h"

namespace qon::platform {

void PrintTo(const PixelRect& r, std::ostream* os) {
    *os << "{" << r.x << ", " << r.y << ", " << r.w << ", " << r.h << "}";
}

namespace {

QON_PRINT_ROWS_BY_NAME

// ---- FrameDiff ------------------------------------------------------------------------

// A frame of RGB565 pixels with rows `pitch` pixels apart (padding beyond the width).
struct Frame {
    int width;
    int height;
    int pitch;
    std::vector<std::uint16_t> pixels;

    Frame(int w, int h, int padding = 0)
        : width(w), height(h), pitch(w + padding), pixels(static_cast<std::size_t>(pitch * h)) {}
    std::uint16_t& at(int x, int y) { return pixels[static_cast<std::size_t>(y * pitch + x)]; }
    int pitchBytes() const { return pitch * 2; }
};

TEST(FrameDiff, FirstFrameIsWholeThenAnUnchangedFrameIsNothing) {
    Frame frame(100, 50);
    frame.at(3, 4) = 0x1234;
    FrameDiff diff(100, 50);
    const std::vector<PixelRect> first = diff.take(frame.pixels.data(), frame.pitchBytes());
    EXPECT_EQ(first, (std::vector<PixelRect>{{0, 0, 100, 50}}));
    EXPECT_TRUE(diff.take(frame.pixels.data(), frame.pitchBytes()).empty());
    diff.invalidate();
    EXPECT_EQ(diff.take(frame.pixels.data(), frame.pitchBytes()),
              (std::vector<PixelRect>{{0, 0, 100, 50}}));
}

struct ChangeCase {
    const char* name;
    std::vector<std::pair<int, int>> changed{};  // pixels of a 100 x 50 frame
    std::vector<PixelRect> expected{};
};

class FrameDiffChanges : public ::testing::TestWithParam<ChangeCase> {};

// Tiles are 16 x 16: the 100 x 50 frame has 7 tiles across (the last 4 wide) and 4 bands
// (the last 2 high).
TEST_P(FrameDiffChanges, GivesTheChangedTilesMerged) {
    Frame frame(100, 50);
    FrameDiff diff(100, 50);
    diff.take(frame.pixels.data(), frame.pitchBytes());
    for (const auto& [x, y] : GetParam().changed) frame.at(x, y) ^= 0xFFFF;
    EXPECT_EQ(diff.take(frame.pixels.data(), frame.pitchBytes()), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Tiles, FrameDiffChanges,
    ::testing::Values(ChangeCase{.name = "OnePixelGivesItsTile",
                                 .changed = {{17, 3}},
                                 .expected = {{16, 0, 16, 16}}},
                      ChangeCase{.name = "LastPartialTileIsClippedToTheFrame",
                                 .changed = {{99, 49}},
                                 .expected = {{96, 48, 4, 2}}},
                      ChangeCase{.name = "NeighboursAlongABandJoin",
                                 .changed = {{15, 0}, {16, 15}},
                                 .expected = {{0, 0, 32, 16}}},
                      ChangeCase{.name = "RunsOfOneExtentJoinDownBands",
                                 .changed = {{5, 15}, {5, 16}, {10, 40}},
                                 .expected = {{0, 0, 16, 48}}},
                      ChangeCase{.name = "RunsOfOtherExtentsStaySeparate",
                                 .changed = {{5, 5}, {5, 20}, {20, 20}},
                                 .expected = {{0, 0, 16, 16}, {0, 16, 32, 16}}},
                      ChangeCase{.name = "AnUnchangedBandEndsARectangle",
                                 .changed = {{5, 5}, {5, 40}},
                                 .expected = {{0, 0, 16, 16}, {0, 32, 16, 16}}},
                      ChangeCase{.name = "TwoRunsInOneBand",
                                 .changed = {{0, 0}, {99, 0}},
                                 .expected = {{0, 0, 16, 16}, {96, 0, 4, 16}}}),
    ::qon::test_support::RowName);

TEST(FrameDiff, ABusyFrameIsGivenAsOneBoundingBox) {
    Frame frame(640, 480);
    FrameDiff diff(640, 480);
    diff.take(frame.pixels.data(), frame.pitchBytes());
    // Every other tile of every other band, from (32, 16) to (624, 464): far more
    // rectangles than are worth separate uploads.
    for (int y = 16; y < 480; y += 32) {
        for (int x = 32; x < 640; x += 32) frame.at(x, y) = 1;
    }
    EXPECT_EQ(diff.take(frame.pixels.data(), frame.pitchBytes()),
              (std::vector<PixelRect>{{32, 16, 592, 464}}));
}

TEST(FrameDiff, PaddingBeyondTheWidthIsNeverCompared) {
    Frame frame(40, 20, 8);
    FrameDiff diff(40, 20);
    diff.take(frame.pixels.data(), frame.pitchBytes());
    for (int y = 0; y < 20; ++y) frame.at(45, y) = 0xBEEF;
    EXPECT_TRUE(diff.take(frame.pixels.data(), frame.pitchBytes()).empty());
    frame.at(39, 19) = 7;
    EXPECT_EQ(diff.take(frame.pixels.data(), frame.pitchBytes()),
              (std::vector<PixelRect>{{32, 16, 8, 4}}));
    EXPECT_EQ(diff.last()[19 * 40 + 39], 7);
}

// ---- letterboxing and scaling --------------------------------------------------------

struct ViewportCase {
    const char* name;
    int outputW{}, outputH{};
    PixelRect expected{};
};

class Letterbox : public ::testing::TestWithParam<ViewportCase> {};

TEST_P(Letterbox, PlacesThePictureAsTheRendererDoes) {
    const ViewportCase& c = GetParam();
    EXPECT_EQ(LetterboxViewport(c.outputW, c.outputH, 640, 480), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Screens, Letterbox,
                         ::testing::Values(ViewportCase{.name = "SameShapeFillsAll",
                                                        .outputW = 1024,
                                                        .outputH = 768,
                                                        .expected = {0, 0, 1024, 768}},
                                           ViewportCase{.name = "OwnSizeIsOneToOne",
                                                        .outputW = 640,
                                                        .outputH = 480,
                                                        .expected = {0, 0, 640, 480}},
                                           ViewportCase{.name = "WideScreenHasSideBars",
                                                        .outputW = 1920,
                                                        .outputH = 1080,
                                                        .expected = {240, 0, 1440, 1080}},
                                           ViewportCase{.name = "OddBarWidthGoesRight",
                                                        .outputW = 1366,
                                                        .outputH = 768,
                                                        .expected = {171, 0, 1024, 768}},
                                           ViewportCase{.name = "TallScreenHasTopAndBottomBars",
                                                        .outputW = 1280,
                                                        .outputH = 1024,
                                                        .expected = {0, 32, 1280, 960}},
                                           ViewportCase{.name = "NarrowWindowRoundsHeightDown",
                                                        .outputW = 500,
                                                        .outputH = 1000,
                                                        .expected = {0, 312, 500, 375}}),
                         ::qon::test_support::RowName);

TEST(LetterboxViewport, AnEmptyOutputHasNone) {
    EXPECT_EQ(LetterboxViewport(0, 768, 640, 480), PixelRect{});
    EXPECT_EQ(LetterboxViewport(1024, -1, 640, 480), PixelRect{});
}

// SDL's own letterboxing (its software renderer shares the arithmetic of the GPU ones):
// a white picture drawn at the logical size lands exactly on the viewport.
TEST_P(Letterbox, MatchesSdlsLogicalSize) {
    const ViewportCase& c = GetParam();
    SDL_Surface* target =
        SDL_CreateRGBSurfaceWithFormat(0, c.outputW, c.outputH, 32, SDL_PIXELFORMAT_XRGB8888);
    ASSERT_NE(target, nullptr);
    SDL_Renderer* renderer = SDL_CreateSoftwareRenderer(target);
    ASSERT_NE(renderer, nullptr) << SDL_GetError();
    SDL_RenderSetLogicalSize(renderer, 640, 480);
    SDL_SetRenderDrawColor(renderer, 0, 0, 0, 255);
    SDL_RenderClear(renderer);
    SDL_SetRenderDrawColor(renderer, 255, 255, 255, 255);
    SDL_RenderFillRect(renderer, nullptr);
    SDL_RenderPresent(renderer);
    int left = c.outputW, top = c.outputH, right = 0, bottom = 0;
    for (int y = 0; y < c.outputH; ++y) {
        const auto* row = reinterpret_cast<const Uint32*>(
            static_cast<const Uint8*>(target->pixels) + y * target->pitch);
        for (int x = 0; x < c.outputW; ++x) {
            if ((row[x] & 0xFFFFFF) == 0) continue;
            left = std::min(left, x);
            top = std::min(top, y);
            right = std::max(right, x + 1);
            bottom = std::max(bottom, y + 1);
        }
    }
    SDL_DestroyRenderer(renderer);
    SDL_FreeSurface(target);
    EXPECT_EQ((PixelRect{left, top, right - left, bottom - top}), c.expected);
}

std::uint32_t xrgb(int r, int g, int b) {
    return static_cast<std::uint32_t>(r << 16 | g << 8 | b);
}

// An output of `bytes` bytes a pixel, filled with a colour no frame pixel maps to.
struct Output {
    int width;
    int height;
    int bytes;
    int pitch;
    std::vector<std::uint8_t> pixels;
    Output(int w, int h, int b)
        : width(w),
          height(h),
          bytes(b),
          pitch(w * b + 12),
          pixels(static_cast<std::size_t>(pitch * h), 0xAB) {}
    std::uint32_t at(int x, int y) const {
        std::uint32_t value = 0;
        for (int i = 0; i < bytes; ++i) {
            value |= static_cast<std::uint32_t>(
                         pixels[static_cast<std::size_t>(y * pitch + x * bytes + i)])
                     << (8 * i);
        }
        return value;
    }
};

void useFormat(FrameScaler& scaler, int bytes) {
    if (bytes == 2) {
        scaler.setOutputFormat(2, {}, true);
    } else {
        scaler.setOutputFormat(bytes, xrgb);
    }
}

std::uint32_t expectedPixel(std::uint16_t c, int bytes) {
    if (bytes == 2) return c;
    return xrgb(Expand5(c >> 11), Expand6((c >> 5) & 63), Expand5(c & 31));
}

// The window as a whole-frame scale must leave it, computed here independently: each
// output pixel of the viewport shows the frame pixel under its centre, the rest is black.
void expectWholeScaleOf(const Frame& frame, const Output& out, const PixelRect& v) {
    int wrong = 0;
    for (int y = 0; y < out.height && wrong < 5; ++y) {
        for (int x = 0; x < out.width && wrong < 5; ++x) {
            std::uint32_t want = 0;
            if (x >= v.x && x < v.x + v.w && y >= v.y && y < v.y + v.h) {
                const int sx = static_cast<int>((x - v.x + 0.5) * frame.width / v.w);
                const int sy = static_cast<int>((y - v.y + 0.5) * frame.height / v.h);
                want = expectedPixel(frame.pixels[static_cast<std::size_t>(sy * frame.pitch + sx)],
                                     out.bytes);
            }
            if (out.at(x, y) != want) {
                ADD_FAILURE() << "output pixel (" << x << ", " << y << ") is " << std::hex
                              << out.at(x, y) << ", not " << want;
                ++wrong;
            }
        }
    }
}

TEST(FrameScaler, ColourComponentsSpreadToFullScale) {
    FrameScaler scaler;
    useFormat(scaler, 4);
    scaler.configure(2, 1, 2, 1);
    Frame frame(2, 1);
    frame.at(0, 0) = 0xFFFF;
    frame.at(1, 0) = 0x8410;  // 16 of 31, 32 of 63, 16 of 31
    Output out(2, 1, 4);
    scaler.scale(frame.pixels.data(), frame.pitchBytes(), {0, 0, 2, 1}, out.pixels.data(),
                 out.pitch);
    EXPECT_EQ(out.at(0, 0), xrgb(255, 255, 255));
    EXPECT_EQ(out.at(1, 0), xrgb(132, 130, 132));
}

TEST(FrameScaler, DoubleSizeMakesEachPixelASquareOfFour) {
    FrameScaler scaler;
    useFormat(scaler, 2);
    scaler.configure(3, 2, 6, 4);
    Frame frame(3, 2);
    for (int i = 0; i < 6; ++i)
        frame.pixels[static_cast<std::size_t>(i)] = static_cast<std::uint16_t>(i + 1);
    Output out(6, 4, 2);
    const PixelRect written = scaler.scale(frame.pixels.data(), frame.pitchBytes(), {0, 0, 3, 2},
                                           out.pixels.data(), out.pitch);
    EXPECT_EQ(written, (PixelRect{0, 0, 6, 4}));
    for (int y = 0; y < 4; ++y) {
        for (int x = 0; x < 6; ++x)
            EXPECT_EQ(out.at(x, y), static_cast<std::uint32_t>((y / 2) * 3 + x / 2 + 1));
    }
}

struct ScaleCase {
    const char* name;
    int outputW{}, outputH{};
    int bytes = 4;
};

class ScaledRegions : public ::testing::TestWithParam<ScaleCase> {};

// A run of frames, each differing from the one before in a few boxes, presented the way
// the game does it: the first frame whole (bars and all), then only the regions FrameDiff
// reports. After every frame the output must equal a whole-frame scale of it.
TEST_P(ScaledRegions, LeaveTheWindowAsAWholeScaleWould) {
    const ScaleCase& c = GetParam();
    FrameScaler scaler;
    useFormat(scaler, c.bytes);
    scaler.configure(640, 480, c.outputW, c.outputH);
    Output out(c.outputW, c.outputH, c.bytes);
    Frame frame(640, 480);
    std::mt19937 random(7);
    for (std::uint16_t& p : frame.pixels) p = static_cast<std::uint16_t>(random());
    FrameDiff diff(640, 480);

    for (int step = 0; step < 6; ++step) {
        if (step > 0) {
            for (int box = 0; box < 3; ++box) {
                const int x0 = static_cast<int>(random() % 640),
                          y0 = static_cast<int>(random() % 480);
                const int w = 1 + static_cast<int>(random() % 40),
                          h = 1 + static_cast<int>(random() % 40);
                for (int y = y0; y < std::min(480, y0 + h); ++y) {
                    for (int x = x0; x < std::min(640, x0 + w); ++x)
                        frame.at(x, y) = static_cast<std::uint16_t>(random());
                }
            }
        }
        const std::vector<PixelRect>& changed = diff.take(frame.pixels.data(), frame.pitchBytes());
        if (step == 0) scaler.clearBars(out.pixels.data(), out.pitch);
        for (const PixelRect& r : changed) {
            scaler.scale(frame.pixels.data(), frame.pitchBytes(), r, out.pixels.data(), out.pitch);
        }
        SCOPED_TRACE("frame " + std::to_string(step));
        expectWholeScaleOf(frame, out, scaler.viewport());
        if (HasFailure()) return;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Outputs, ScaledRegions,
    ::testing::Values(
        ScaleCase{.name = "FullHdFourBytes", .outputW = 1920, .outputH = 1080},
        ScaleCase{.name = "XgaThreeBytes", .outputW = 1024, .outputH = 768, .bytes = 3},
        ScaleCase{.name = "SxgaTwoBytes", .outputW = 1280, .outputH = 1024, .bytes = 2},
        ScaleCase{.name = "OnePixelLargerThanTheFrame", .outputW = 641, .outputH = 481},
        ScaleCase{.name = "SmallerThanTheFrame", .outputW = 300, .outputH = 200}),
    ::qon::test_support::RowName);

// ---- which way the window is drawn ------------------------------------------------------

struct RequestCase {
    const char* name;
    const char* value = nullptr;
    std::optional<RendererRequest> expected{};
};

class RendererWord : public ::testing::TestWithParam<RequestCase> {};

TEST_P(RendererWord, IsRead) {
    EXPECT_EQ(ParseRendererRequest(GetParam().value), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Environment, RendererWord,
    ::testing::Values(
        RequestCase{.name = "UnsetIsAuto", .expected = RendererRequest::Auto},
        RequestCase{.name = "EmptyIsAuto", .value = "", .expected = RendererRequest::Auto},
        RequestCase{.name = "Auto", .value = "auto", .expected = RendererRequest::Auto},
        RequestCase{.name = "Software", .value = "software", .expected = RendererRequest::Software},
        RequestCase{.name = "CaseDoesNotMatter", .value = "GPU", .expected = RendererRequest::Gpu},
        RequestCase{.name = "OtherWordsAreRefused", .value = "opengl"}),
    ::qon::test_support::RowName);

struct RasteriserCase {
    const char* name;
    const char* glRenderer = "";
    bool software = false;
};

class Rasteriser : public ::testing::TestWithParam<RasteriserCase> {};

TEST_P(Rasteriser, IsToldFromAGpu) {
    EXPECT_EQ(IsSoftwareRasteriser(GetParam().glRenderer), GetParam().software);
}

INSTANTIATE_TEST_SUITE_P(
    GlRenderers, Rasteriser,
    ::testing::Values(
        RasteriserCase{
            .name = "Llvmpipe", .glRenderer = "llvmpipe (LLVM 15.0.6, 256 bits)", .software = true},
        RasteriserCase{.name = "Softpipe", .glRenderer = "softpipe", .software = true},
        RasteriserCase{
            .name = "ClassicSwrast", .glRenderer = "Software Rasterizer", .software = true},
        RasteriserCase{.name = "Swr", .glRenderer = "SWR (LLVM 6.0, 256 bits)", .software = true},
        RasteriserCase{.name = "IntelGpu",
                       .glRenderer = "Mesa Intel(R) UHD Graphics 620 (KBL GT2)"},
        RasteriserCase{.name = "RadeonNamingItsLlvm",
                       .glRenderer = "AMD Radeon RX 580 Series (polaris10, LLVM 15.0.6, DRM 3.49)"},
        RasteriserCase{.name = "Nvidia", .glRenderer = "NVIDIA GeForce GTX 1060/PCIe/SSE2"},
        RasteriserCase{.name = "UnknownIsAGpu", .glRenderer = ""}),
    ::qon::test_support::RowName);

struct DeviceFolderCase {
    const char* name;
    std::vector<const char*> files{};
    bool gpu = false;
};

class DeviceFolder : public ::testing::TestWithParam<DeviceFolderCase> {};

TEST_P(DeviceFolder, TellsWhetherAGpuIsThere) {
    const test_support::ScratchFolder dev;
    for (const char* file : GetParam().files) {
        dev.folder("dri");
        test_support::WriteBytes(dev.file(file), "");
    }
    EXPECT_EQ(HasGpuDevice(dev.path()), GetParam().gpu);
}

INSTANTIATE_TEST_SUITE_P(
    Nodes, DeviceFolder,
    ::testing::Values(
        DeviceFolderCase{.name = "NoDriFolder"},
        DeviceFolderCase{.name = "OnlyByPathLinks", .files = {"dri/by-path"}},
        DeviceFolderCase{.name = "RenderNode", .files = {"dri/renderD128"}, .gpu = true},
        DeviceFolderCase{.name = "DisplayOnlyCardNode", .files = {"dri/card0"}},
        DeviceFolderCase{
            .name = "CardAndRenderNodes", .files = {"dri/card1", "dri/renderD128"}, .gpu = true},
        DeviceFolderCase{.name = "NvidiaControl", .files = {"nvidiactl"}, .gpu = true}),
    ::qon::test_support::RowName);

struct ChoiceCase {
    const char* name;
    RendererRequest request = RendererRequest::Auto;
    const char* videoDriver = "x11";
    bool gpuDevice = true;
    bool accelerated = true;
    const char* glRenderer = "Mesa Intel(R) UHD Graphics 620";
    bool tryGpu = true;
    bool keepGpu = true;
};

class PathChoice : public ::testing::TestWithParam<ChoiceCase> {};

TEST_P(PathChoice, FollowsTheRequestAndTheMachine) {
    const ChoiceCase& c = GetParam();
    EXPECT_EQ(ShouldTryGpu(c.request, c.videoDriver, c.gpuDevice), c.tryGpu);
    EXPECT_EQ(ShouldKeepGpu(c.request, c.accelerated, c.glRenderer), c.keepGpu);
}

INSTANTIATE_TEST_SUITE_P(
    Machines, PathChoice,
    ::testing::Values(
        ChoiceCase{.name = "AutoWithAGpuKeepsIt"},
        ChoiceCase{.name = "AutoWithoutGpuDeviceNeverTries", .gpuDevice = false, .tryGpu = false},
        ChoiceCase{.name = "AutoDropsLlvmpipe",
                   .glRenderer = "llvmpipe (LLVM 15.0.6, 256 bits)",
                   .keepGpu = false},
        ChoiceCase{
            .name = "AutoDropsAnUnacceleratedRenderer", .accelerated = false, .keepGpu = false},
        ChoiceCase{
            .name = "SoftwareNeverTries", .request = RendererRequest::Software, .tryGpu = false},
        ChoiceCase{
            .name = "GpuTriesWithoutDevice", .request = RendererRequest::Gpu, .gpuDevice = false},
        ChoiceCase{.name = "GpuKeepsLlvmpipe",
                   .request = RendererRequest::Gpu,
                   .glRenderer = "llvmpipe (LLVM 15.0.6, 256 bits)"},
        ChoiceCase{.name = "DummyDriverNeverTries",
                   .request = RendererRequest::Gpu,
                   .videoDriver = "dummy",
                   .tryGpu = false},
        ChoiceCase{
            .name = "OffscreenDriverNeverTries", .videoDriver = "offscreen", .tryGpu = false}),
    ::qon::test_support::RowName);

}  // namespace
}  // namespace qon::platform
