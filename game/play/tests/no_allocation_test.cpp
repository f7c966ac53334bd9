// SPDX-License-Identifier: MIT
// A frame of play must not allocate. This binary counts every operator new, so it runs
// play on a media stand-in that itself never allocates.

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>

#include "qon/play/game.h"

namespace {
std::atomic<long> g_allocations{0};
}  // namespace

void* operator new(std::size_t size) {
    ++g_allocations;
    if (void* p = std::malloc(size == 0 ? 1 : size)) return p;
    throw std::bad_alloc();
}
void operator delete(void* p) noexcept {
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
    std::free(p);
}

namespace qon::play::test {
namespace {

class NullSurface : public media::Surface {
  public:
    NullSurface(int w, int h) : m_w(w), m_h(h) {}
    int width() const override { return m_w; }
    int height() const override { return m_h; }

  private:
    int m_w, m_h;
};

// Does nothing, allocates nothing; counts what play asked for.
class NullMedia : public media::Media {
  public:
    media::Surface& BackBuffer() override { return m_back; }
    media::SurfacePtr CreateOffscreenSurface(int w, int h) override {
        return std::make_unique<NullSurface>(w, h);
    }
    media::SurfacePtr LoadSurfaceFromFile(const std::string&) override {
        return std::make_unique<NullSurface>(53, 15);
    }
    int BltSprite(media::Surface&, int, int, int, int, const media::Surface&, int, int,
                  bool) override {
        ++blits;
        return 0;
    }
    int BltStretch(media::Surface&, int, int, int, int, const media::Surface&, int, int, int, int,
                   bool) override {
        ++blits;
        return 0;
    }
    void FillSurface(media::Surface&, std::uint32_t) override {}
    std::uint32_t ToSurfaceColor(std::uint32_t) override { return 0; }
    void FlipScreen() override { m_tick += 16; }
    void DrawLine(media::Surface&, int, int, int, int, std::uint32_t, std::uint32_t, int, int,
                  int) override {}
    void DrawBox(media::Surface&, int, int, int, int, std::uint32_t, std::uint32_t, int, int,
                 int) override {}
    void DrawCircle(media::Surface&, int, int, int, std::uint32_t, std::uint32_t, int, int,
                    int) override {}
    void DrawString(media::Surface&, int, int, std::string_view, std::uint32_t, bool,
                    int) override {
        ++texts;
    }
    media::SoundEffectPtr LoadSoundEffect(const std::string&) override { return nullptr; }
    void PlaySoundEffect(media::SoundEffect&) override { ++sounds; }
    media::MusicTrackPtr LoadMusic(const std::string&) override { return nullptr; }
    bool UnloadMusic(media::MusicTrackPtr&) override { return false; }
    bool PlayMusic(media::MusicTrack*, int) override { return false; }
    bool ResumeMusic(media::MusicTrack*) override { return false; }
    bool StopMusic(media::MusicTrack*) override { return false; }
    void InitJoystick(int) override {}
    void ReadController() override { m_controller = media::ControllerState{1, 0, 0}; }
    bool IsKeyDown(int) override { return false; }
    std::int32_t Tick() override { return m_tick; }
    void PumpEvents() override {}
    void Doze(int ms) override { m_tick += ms; }
    void ShowMessage(const std::string&, const std::string&) override {}

    long blits = 0, texts = 0, sounds = 0;

  protected:
    std::uint32_t RandomSeed() override { return 5; }

  private:
    NullSurface m_back{640, 480};
    std::int32_t m_tick = 0;
};

TEST(FrameLoop, PlayingAndDrawingABusyFieldNeverAllocates) {
    NullMedia media;
    Game game(media);
    for (auto& s : game.images.BlockSurface) s = media.CreateOffscreenSurface(53, 15);
    for (auto& s : game.images.SpecialSurface) s = media.CreateOffscreenSurface(53, 15);
    game.images.BallSurface = media.CreateOffscreenSurface(12, 12);
    game.images.MiniBallSurface = media.CreateOffscreenSurface(6, 6);
    game.images.BarSurface = media.CreateOffscreenSurface(128, 12);
    for (media::SoundEffectPtr* e : {&game.sounds.SeBar, &game.sounds.SeBlock, &game.sounds.SeBreak,
                                     &game.sounds.SeKin, &game.sounds.SeBlack}) {
        *e = std::make_unique<media::SoundEffect>();
    }
    PlayState& p = game.play;
    ResetForNewGame(p);
    ResetGrid(p.StageGrid);
    const int kinds[] = {0, 3, 7, 8, 101, 102, 103, 104, 105, 106, 107, 108, 109, 110, 111};
    for (int cell = 0; cell < kGridCells; ++cell) {
        BlockCell& c = p.StageGrid[static_cast<std::size_t>(cell)];
        c.Kind = static_cast<std::int16_t>(kinds[cell % 15]);
        c.HitPoints = static_cast<std::int16_t>(c.Kind <= 8 ? c.Kind + 1 : 1);
        c.Alive = kTrue;
    }
    for (int i = 0; i < kMiniBallSlots; ++i) {
        p.MiniBallRing.slots[static_cast<std::size_t>(i)] =
            MiniBall{20 + (i * 37) % 600, 40 + (i * 53) % 420, 6, 6, 1 + i % 6, -(1 + i % 5), 1};
    }
    p.Ball = BallBody{300, 300, 12, 12, 4, -5};
    p.FireBallOn = true;
    p.Combo = 12;
    p.ComboTimer = 40;

    const long before = g_allocations.load();
    for (int frame = 0; frame < 300; ++frame) {
        media.MarkFrame();
        BarAndLaunchStep(game);
        MotionStep(game);
        DebrisStep(p);
        if (CollisionStep(game)) p.Ball = BallBody{300, 300, 12, 12, 4, -5};
        (void)IsStageClear(p);
        DrawPlayScreen(game);
        media.FlipScreen();
        media.WaitFrame(7);
    }
    EXPECT_EQ(g_allocations.load() - before, 0);
    // The field really was busy: blocks broke and scored, and everything was drawn.
    EXPECT_GT(p.Score, 0);
    EXPECT_GT(media.sounds, 0);
    EXPECT_GT(media.blits, 300L * 50);
}

}  // namespace
}  // namespace qon::play::test
