// SPDX-License-Identifier: MIT
// The three banners (intro, clear, miss). They are paced by FlipScreen alone, not by the
// play loop's frame wait.

#include <charconv>
#include <string_view>

#include "internal.h"

namespace qon::play {

namespace {

constexpr int kBannerY = 203;
constexpr int kBannerSize = 24;
constexpr std::uint32_t kWhite = media::Rgb(255, 255, 255);

void clearToBlack(media::Media& media) {
    media.FillSurface(media.BackBuffer(), media.ToSurfaceColor(media::Rgb(0, 0, 0)));
}

// Two copies of the word slide in from both sides (left copy x -270 -> 180, right copy
// 707 -> 257: 91 shown frames), then the word stands at x 240 for 151 frames. The
// drawing for t = 185 that ends the slide is never shown, but its background ran: over
// the frozen field that is one more debris step and one more DrawPlayScreen.
template <typename Background>
void runBanner(Game& game, std::string_view word, Background drawBackground) {
    media::Media& media = game.media;
    for (int t = -270;;) {
        drawBackground();
        media.DrawString(media.BackBuffer(), t, kBannerY, word, kWhite, false, kBannerSize);
        media.DrawString(media.BackBuffer(), 437 - t, kBannerY, word, kWhite, false, kBannerSize);
        t += 5;
        if (t >= 188) break;
        media.FlipScreen();
        media.PumpEvents();
    }
    for (int frame = 0; frame <= 150; ++frame) {
        drawBackground();
        media.DrawString(media.BackBuffer(), 240, kBannerY, word, kWhite, false, kBannerSize);
        media.FlipScreen();
        media.PumpEvents();
    }
}

// Behind the clear and miss words the field stays alive: debris flies, broken blocks
// are removed and scored, the combo runs out.
auto frozenField(Game& game) {
    return [&game] {
        clearToBlack(game.media);
        DebrisStep(game.play);
        DrawPlayScreen(game);
    };
}

}  // namespace

void ShowStageIntro(Game& game) {
    game.screen = "intro";
    char text[16] = "STAGE ";
    auto [end, ec] = std::to_chars(text + 6, text + sizeof text, game.play.StageNumber);
    (void)ec;
    runBanner(game, std::string_view(text, static_cast<std::size_t>(end - text)),
              [&game] { clearToBlack(game.media); });
}

void ShowStageClear(Game& game) {
    game.screen = "clear";
    runBanner(game, "STAGE CLEAR", frozenField(game));
}

bool ShowMiss(Game& game) {
    game.screen = "miss";
    runBanner(game, "MISS", frozenField(game));
    PlayState& p = game.play;
    --p.Lives;
    ResetBallAndBar(p);
    return p.Lives <= 0;
}

}  // namespace qon::play
