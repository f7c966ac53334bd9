// SPDX-License-Identifier: MIT
// The simple player on real starter stages, through the frame steps of the game.
#include "stage_trial.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "qon/content/generator.h"
#include "qon/data/error.h"
#include "qon/test_support/bytes.h"
#include "qon/test_support/scratch_folder.h"

namespace qon::autoplay {
namespace {

class StageTrial : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        s_folder = new test_support::ScratchFolder();
        s_content =
            new content::GameFolderContent(content::GenerateGameFolder(s_folder->path() + "qon"));
    }
    static void TearDownTestSuite() {
        delete s_content;
        delete s_folder;
    }
    static StageTry tryOf(int project, int stage, std::uint32_t seed) {
        StageTry setup;
        setup.projectPath = s_content->stageProjects.at(static_cast<std::size_t>(project));
        setup.graphicSetPath = s_content->graphicSets.at(0);
        setup.stage = stage;
        setup.seed = seed;
        return setup;
    }

    static test_support::ScratchFolder* s_folder;
    static content::GameFolderContent* s_content;
};

test_support::ScratchFolder* StageTrial::s_folder = nullptr;
content::GameFolderContent* StageTrial::s_content = nullptr;

TEST_F(StageTrial, FirstStageIsClearedWithEveryBallKept) {
    const StageTryResult result = PlayStageTry(tryOf(0, 1, 1));
    EXPECT_TRUE(result.cleared);
    EXPECT_FALSE(result.lostAll);
    EXPECT_EQ(result.ballsLost, 0);
    EXPECT_LT(result.frames, 18000);
    EXPECT_EQ(std::count_if(result.leftOver.begin(), result.leftOver.end(),
                            [](char c) { return c >= '1' && c <= '8'; }),
              0)
        << result.leftOver;
}

TEST_F(StageTrial, SameSeedSameGame) {
    const StageTryResult a = PlayStageTry(tryOf(1, 2, 3));
    const StageTryResult b = PlayStageTry(tryOf(1, 2, 3));
    EXPECT_TRUE(a.cleared);
    EXPECT_EQ(a.frames, b.frames);
    EXPECT_EQ(a.ballsLost, b.ballsLost);
}

TEST_F(StageTrial, TryStopsAtTheFrameLimitWithTheBlocksLeft) {
    StageTry setup = tryOf(0, 1, 1);
    setup.frameLimit = 50;
    const StageTryResult result = PlayStageTry(setup);
    EXPECT_FALSE(result.cleared);
    EXPECT_FALSE(result.lostAll);
    EXPECT_EQ(result.frames, 50);
    // Stage 1 begins with its three layers in rows 4 to 6; fifty frames break none.
    EXPECT_EQ(result.leftOver.substr(4 * 13, 13), ".1111111111.\n");
    EXPECT_EQ(result.leftOver.substr(5 * 13, 13), ".1222222221.\n");
}

TEST_F(StageTrial, StartingPictureIsWrittenWhenAsked) {
    StageTry setup = tryOf(0, 1, 1);
    setup.frameLimit = 1;
    setup.shotPath = s_folder->file("start.bmp");
    PlayStageTry(setup);
    EXPECT_EQ(test_support::ReadBytes(setup.shotPath).substr(0, 2), "BM");
}

TEST_F(StageTrial, StageBeyondTheProjectIsReported) {
    EXPECT_THROW(PlayStageTry(tryOf(0, 99, 1)), DataError);
}

}  // namespace
}  // namespace qon::autoplay
