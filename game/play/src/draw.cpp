// SPDX-License-Identifier: MIT
// The play screen. Drawing is also where broken blocks leave the grid and score, so
// DrawPlayScreen runs exactly once per drawn frame, frozen screens included.

#include <charconv>
#include <limits>
#include <string_view>

#include "internal.h"
#include "qon/data/graphic_set.h"

namespace qon::play {

namespace {

constexpr std::uint32_t kWhite = media::Rgb(255, 255, 255);

// Fixed-size text for the status line: the frame loop must not allocate.
class LineText {
  public:
    LineText& add(std::string_view s) {
        for (char ch : s) {
            if (m_size < sizeof m_text) m_text[m_size++] = ch;
        }
        return *this;
    }
    LineText& add(long value) {
        auto [end, ec] = std::to_chars(m_text + m_size, m_text + sizeof m_text, value);
        if (ec == std::errc{}) m_size = static_cast<std::size_t>(end - m_text);
        return *this;
    }
    std::string_view view() const { return {m_text, m_size}; }

  private:
    char m_text[32] = {};
    std::size_t m_size = 0;
};

void blit(media::Media& media, media::Surface& back, int x, int y, int w, int h,
          const media::SurfacePtr& image, bool keyed) {
    if (image) media.BltSprite(back, x, y, w, h, *image, 0, 0, keyed);
}

void ageCombo(PlayState& p) {
    // The timer saturates instead of wrapping after a long chainless stretch.
    if (p.ComboTimer > std::numeric_limits<std::int16_t>::min()) --p.ComboTimer;
    if (p.ComboTimer <= 0) p.Combo = 0;
}

void drawGrid(Game& game, media::Surface& back) {
    for (int cell = 0; cell < kGridCells; ++cell) {
        detail::removeIfBroken(game, cell);
        const BlockCell& c = game.play.StageGrid[static_cast<std::size_t>(cell)];
        if (c.Alive == 0) continue;
        if (c.Kind >= Kind::kNormalFirst && c.Kind <= Kind::kUnbreakable) {
            // The picture follows the damage: slot HitPoints - 1.
            const int slot = c.HitPoints - 1;
            if (slot >= 0 && slot < 9) {
                blit(game.media, back, c.X, c.Y, c.Width, c.Height,
                     game.images.BlockSurface[static_cast<std::size_t>(slot)], false);
            }
        } else {
            const int slot = SpecialSlotForKind(c.Kind);
            if (slot >= 0) {
                blit(game.media, back, c.X, c.Y, c.Width, c.Height,
                     game.images.SpecialSurface[static_cast<std::size_t>(slot)], true);
            }
        }
    }
}

void drawDebris(media::Media& media, media::Surface& back, const DebrisField& debris) {
    constexpr std::uint32_t fore = media::Rgb(0, 0, 255);
    constexpr std::uint32_t fill = media::Rgb(100, 100, 255);
    for (int slot = 0; slot < kDebrisSlots; ++slot) {
        for (int ring = 0; ring < kDebrisRings; ++ring) {
            const DebrisPiece& d =
                debris.rings[static_cast<std::size_t>(ring)][static_cast<std::size_t>(slot)];
            if (d.Active != kTrue) continue;
            // X - Life / 2, Y - Life / 2, X + Life, Y + Life * 0.25, each to the
            // nearest integer with ties to even.
            const int x1 = RoundHalfEven(2 * d.X - d.Life, 2);
            const int y1 = RoundHalfEven(2 * d.Y - d.Life, 2);
            const int x2 = d.X + d.Life;
            const int y2 = RoundHalfEven(4 * d.Y + d.Life, 4);
            media.DrawBox(back, x1, y1, x2, y2, fore, fill, 0, 0, 2);
        }
    }
}

void drawStatusLine(Game& game, media::Surface& back) {
    media::Media& media = game.media;
    const PlayState& p = game.play;
    blit(media, back, 10, 12, p.Ball.Width, p.Ball.Height, game.images.BallSurface, true);
    media.DrawString(back, p.Ball.Width + 10, 12, LineText{}.add("\xC3\x97").add(p.Lives).view(),
                     kWhite, false, 14);
    media.DrawString(back, 270, 12, LineText{}.add("STAGE").add(p.StageNumber).view(), kWhite,
                     false, 14);
    media.DrawString(back, 73, 11, "ITEM", kWhite, false, 14);
    media.DrawString(back, 364, 11, LineText{}.add("SCORE ").add(static_cast<long>(p.Score)).view(),
                     kWhite, false, 14);
    if (p.MagnetOn) {
        blit(media, back, 125, 11, 53, 15, game.images.SpecialSurface[2], true);
    }
    if (p.FireBallOn) {
        blit(media, back, 188, 11, 53, 15, game.images.SpecialSurface[9], true);
        if (p.TrailBlink) {
            for (int i = 0; i < kTrailCircles; ++i) {
                media.DrawCircle(back, p.Ball.X + p.Ball.Width / 2 - i * p.Ball.DX,
                                 p.Ball.Y + p.Ball.Height / 2 - i * p.Ball.DY,
                                 p.TrailRadius[static_cast<std::size_t>(i)], media::Rgb(255, 0, 0),
                                 media::Rgb(255, 120, 120), 1, 0, 3);
            }
        }
    }
    if (p.Combo >= 2) {
        media.DrawString(back, 495, 90, "COMBO", media::Rgb(255, 255, 120), false, 18);
        LineText number;
        number.add(p.Combo);
        // Padded with spaces to three characters.
        while (number.view().size() < 3) number.add(" ");
        media.DrawString(back, 420, 80, number.view(), media::Rgb(255, 255, 10), false, 28);
    }
}

}  // namespace

void DrawPlayScreen(Game& game) {
    media::Media& media = game.media;
    PlayState& p = game.play;
    media::Surface& back = media.BackBuffer();

    media.FillSurface(back, media.ToSurfaceColor(media::Rgb(0, 0, 0)));
    media.DrawBox(back, 0, 30, 640, 500, media::Rgb(0, 100, 255), 0, 0, 1, 2);
    ageCombo(p);
    drawGrid(game, back);

    for (const MiniBall& mini : p.MiniBallRing.slots) {
        if (mini.Active != 0) {
            blit(media, back, mini.X, mini.Y, mini.Width, mini.Height, game.images.MiniBallSurface,
                 true);
        }
    }
    blit(media, back, p.Ball.X, p.Ball.Y, p.Ball.Width, p.Ball.Height, game.images.BallSurface,
         true);
    if (game.images.BarSurface) {
        // A widened Bar is the same 128-pixel picture stretched.
        media.BltStretch(back, p.Bar.X, p.Bar.Y, p.Bar.Width, p.Bar.Height, *game.images.BarSurface,
                         0, 0, kBarStartWidth, p.Bar.Height, false);
    }
    drawDebris(media, back, p.Debris);
    drawStatusLine(game, back);
    p.TrailBlink = !p.TrailBlink;
}

}  // namespace qon::play
