// SPDX-License-Identifier: MIT
// The starter content, checked the way the game and the tools will meet it: every file
// parses with the data library, every picture has its slot's size, every sound is
// plain PCM, and every stage keeps the rules that make it playable.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "canvas.h"
#include "qon/content/generator.h"
#include "qon/data/error.h"
#include "qon/data/graphic_set.h"
#include "qon/data/music_set.h"
#include "qon/data/paths.h"
#include "qon/data/save_file.h"
#include "qon/data/set_list.h"
#include "qon/data/settings.h"
#include "qon/data/stage.h"
#include "qon/data/text.h"
#include "qon/test_support/bytes.h"
#include "qon/test_support/rows.h"
#include "qon/test_support/scratch_folder.h"
#include "stage_rules.h"

namespace fs = std::filesystem;
namespace Kind = qon::Kind;

namespace {

QON_PRINT_ROWS_BY_NAME

using qon::test_support::RowName;
using qon::test_support::ScratchFolder;

std::vector<std::uint8_t> readBytes(const std::string& path) {
    const std::string bytes = qon::test_support::ReadBytes(path);
    return {bytes.begin(), bytes.end()};
}

std::uint32_t le(const std::vector<std::uint8_t>& b, std::size_t at, int bytes) {
    std::uint32_t value = 0;
    for (int i = bytes - 1; i >= 0; --i)
        value = (value << 8) | b.at(at + static_cast<std::size_t>(i));
    return value;
}

// ---- BMP -----------------------------------------------------------------------------

struct Bmp {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> bytes;
    std::uint32_t rowBytes = 0;
    std::uint32_t offset = 0;

    // Top-down pixel access as 0xRRGGBB.
    std::uint32_t pixel(int x, int y) const {
        const std::size_t at = offset + static_cast<std::size_t>(height - 1 - y) * rowBytes +
                               static_cast<std::size_t>(x) * 3;
        return (static_cast<std::uint32_t>(bytes.at(at + 2)) << 16) |
               (static_cast<std::uint32_t>(bytes.at(at + 1)) << 8) | bytes.at(at);
    }
};

// Parses an uncompressed 24-bit bottom-up BMP, failing the test on anything else.
Bmp parseBmp(const std::string& path) {
    Bmp bmp;
    bmp.bytes = readBytes(path);
    const auto& b = bmp.bytes;
    EXPECT_GE(b.size(), 54u) << path;
    if (b.size() < 54) return bmp;
    EXPECT_EQ(b[0], 'B') << path;
    EXPECT_EQ(b[1], 'M') << path;
    EXPECT_EQ(le(b, 2, 4), b.size()) << path << ": header file size";
    bmp.offset = le(b, 10, 4);
    EXPECT_GE(le(b, 14, 4), 40u) << path << ": info header size";
    bmp.width = static_cast<std::int32_t>(le(b, 18, 4));
    bmp.height = static_cast<std::int32_t>(le(b, 22, 4));
    EXPECT_EQ(le(b, 26, 2), 1u) << path << ": planes";
    EXPECT_EQ(le(b, 28, 2), 24u) << path << ": bits per pixel";
    EXPECT_EQ(le(b, 30, 4), 0u) << path << ": compression";
    bmp.rowBytes = (static_cast<std::uint32_t>(bmp.width) * 3 + 3) & ~3u;
    EXPECT_EQ(b.size(), bmp.offset + bmp.rowBytes * static_cast<std::uint32_t>(bmp.height))
        << path << ": pixel data size";
    return bmp;
}

std::uint16_t rgb565(std::uint32_t rgb) {
    return static_cast<std::uint16_t>((((rgb >> 16) & 0xFF) >> 3) << 11 |
                                      (((rgb >> 8) & 0xFF) >> 2) << 5 | ((rgb & 0xFF) >> 3));
}

// ---- WAV -----------------------------------------------------------------------------

struct Wav {
    std::uint32_t rate = 0;
    std::vector<std::int16_t> samples;
};

Wav parseWav(const std::string& path) {
    Wav wav;
    const std::vector<std::uint8_t> b = readBytes(path);
    EXPECT_GE(b.size(), 44u) << path;
    if (b.size() < 44) return wav;
    EXPECT_EQ(std::string(b.begin(), b.begin() + 4), "RIFF") << path;
    EXPECT_EQ(le(b, 4, 4), b.size() - 8) << path << ": RIFF size";
    EXPECT_EQ(std::string(b.begin() + 8, b.begin() + 12), "WAVE") << path;
    bool sawFormat = false;
    bool sawData = false;
    std::size_t at = 12;
    while (at + 8 <= b.size()) {
        const std::string tag(b.begin() + static_cast<long>(at),
                              b.begin() + static_cast<long>(at) + 4);
        const std::uint32_t size = le(b, at + 4, 4);
        EXPECT_LE(at + 8 + size, b.size()) << path << ": chunk " << tag << " runs past the end";
        if (at + 8 + size > b.size()) break;
        if (tag == "fmt ") {
            sawFormat = true;
            EXPECT_GE(size, 16u);
            EXPECT_EQ(le(b, at + 8, 2), 1u) << path << ": format tag (PCM)";
            const std::uint32_t channels = le(b, at + 10, 2);
            wav.rate = le(b, at + 12, 4);
            const std::uint32_t bits = le(b, at + 22, 2);
            EXPECT_EQ(channels, 1u) << path;
            EXPECT_TRUE(wav.rate == 22050 || wav.rate == 44100) << path << ": " << wav.rate;
            EXPECT_EQ(bits, 16u) << path;
            EXPECT_EQ(le(b, at + 20, 2), channels * bits / 8) << path << ": block align";
            EXPECT_EQ(le(b, at + 16, 4), wav.rate * channels * bits / 8) << path << ": byte rate";
        } else if (tag == "data") {
            EXPECT_TRUE(sawFormat) << path << ": data before fmt";
            sawData = true;
            EXPECT_EQ(size % 2, 0u) << path;
            for (std::uint32_t i = 0; i + 1 < size; i += 2) {
                wav.samples.push_back(static_cast<std::int16_t>(le(b, at + 8 + i, 2)));
            }
        }
        at += 8 + size + (size & 1);
    }
    EXPECT_TRUE(sawFormat && sawData) << path;
    EXPECT_EQ(at, b.size()) << path << ": bytes after the last chunk";
    return wav;
}

// ---- stages --------------------------------------------------------------------------

bool isBreakable(int kind) {
    return kind >= Kind::kNormalFirst && kind <= Kind::kNormalLast;
}

int hitPoints(const qon::StageGrid& grid) {
    int total = 0;
    for (const qon::BlockCell& cell : grid) total += isBreakable(cell.Kind) ? cell.Kind + 1 : 0;
    return total;
}

// ---- the generated folder, made once for the whole suite -----------------------------

class GeneratedFolder : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        s_folder = new ScratchFolder();
        s_content = new qon::content::GameFolderContent(
            qon::content::GenerateGameFolder(s_folder->path() + "qon"));
    }
    static void TearDownTestSuite() {
        delete s_content;
        delete s_folder;
        s_content = nullptr;
        s_folder = nullptr;
    }
    static std::string game() { return s_folder->path() + "qon/"; }
    static const qon::content::GameFolderContent& content() { return *s_content; }

    static ScratchFolder* s_folder;
    static qon::content::GameFolderContent* s_content;
};

ScratchFolder* GeneratedFolder::s_folder = nullptr;
qon::content::GameFolderContent* GeneratedFolder::s_content = nullptr;

// Absolute paths inside `folder` as the lists write them.
std::vector<std::string> relativeTo(const std::string& folder,
                                    const std::vector<std::string>& paths) {
    std::vector<std::string> relative;
    for (const std::string& path : paths) relative.push_back(path.substr(folder.size()));
    return relative;
}

TEST_F(GeneratedFolder, ListsNameTheStagedSetsRelativeToTheGameFolder) {
    const auto stages = qon::ReadSetList(game() + "StageSet.sel");
    const auto bitmaps = qon::ReadSetList(game() + "BitMapSet.sel");
    const auto music = qon::ReadSetList(game() + "MusicSet.sel");
    EXPECT_EQ(stages, relativeTo(game(), content().stageProjects));
    EXPECT_EQ(stages.front(), "sets/stages/starlight/StarlightTour.stp");
    EXPECT_EQ(stages.size(), 2u);
    EXPECT_EQ(bitmaps, relativeTo(game(), content().graphicSets));
    EXPECT_EQ(bitmaps.size(), 2u);
    EXPECT_EQ(music, relativeTo(game(), content().musicSets));
    for (const auto* list : {&stages, &bitmaps, &music}) {
        for (const std::string& entry : *list) {
            EXPECT_EQ(entry.rfind("sets/", 0), 0u) << entry;
            EXPECT_TRUE(fs::is_regular_file(qon::ResolveListEntry(game(), entry))) << entry;
        }
    }
}

TEST_F(GeneratedFolder, IconsAreWrittenWhereTheIconThemeKeepsThem) {
    EXPECT_EQ(content().icons.size(), 15u);
    for (const std::string& icon : content().icons) {
        EXPECT_EQ(icon.rfind(game() + "icons/hicolor/", 0), 0u) << icon;
        EXPECT_TRUE(fs::is_regular_file(icon)) << icon;
    }
}

TEST_F(GeneratedFolder, GameReadsTheListsAndSettingsAsAFreshInstall) {
    qon::SetLists lists;
    qon::ReadSetLists(game(), lists);
    EXPECT_EQ(lists.stage.count, 2);
    EXPECT_EQ(lists.bitmap.count, 2);
    EXPECT_EQ(lists.stage.names, (std::vector<std::string>{"Starlight Tour", "Moonlight Doodles"}));
    const qon::GameSettings settings = qon::ReadSettingsFile(game() + "Init.bse");
    EXPECT_EQ(settings.StageSetIndex, 0);
    EXPECT_EQ(settings.BitMapSetIndex, 0);
    EXPECT_EQ(settings.MusicSetIndex, 0);
    EXPECT_EQ(qon::ReadAllLines(game() + "Init.bse"), (std::vector<std::string>{"0", "0", "0"}));
    for (const std::string& project : content().stageProjects) {
        EXPECT_EQ(qon::ReadSaveFile(qon::SaveFilePath(project)), (qon::SaveSlots{1, 1, 1, 1}));
    }
}

TEST_F(GeneratedFolder, MusicSetsLoadWithTheirTracks) {
#ifdef QON_EXPECT_MUSIC
    EXPECT_EQ(content().musicSets.size(), 2u);
#endif
    for (const std::string& path : content().musicSets) {
        const qon::MusicSetFile set = qon::ReadMusicSetForGame(path);
        std::vector<std::string> tracks = set.stageTracks;
        tracks.push_back(set.titleTrack);
        tracks.push_back(set.endingTrack);
        for (const std::string& track : tracks) {
            EXPECT_TRUE(fs::is_regular_file(qon::MusicTrackPath(path, track))) << track;
        }
    }
}

TEST_F(GeneratedFolder, EveryGraphicSetBitmapHasItsSlotSize) {
    ASSERT_EQ(content().graphicSets.size(), 2u);
    for (const std::string& setPath : content().graphicSets) {
        const qon::GraphicSetFile set = qon::ReadGraphicSetFile(setPath);
        EXPECT_FALSE(set.setName.empty());
        EXPECT_FALSE(set.staffName.empty());
        for (int slot = 0; slot < qon::kBitmapSlots; ++slot) {
            SCOPED_TRACE(setPath + " slot " + std::to_string(slot));
            const Bmp bmp = parseBmp(qon::GraphicBitmapPath(setPath, set.bitmaps[slot]));
            const qon::BitmapSize size = qon::RequiredBitmapSize(slot);
            EXPECT_EQ(bmp.width, size.width);
            EXPECT_EQ(bmp.height, size.height);
        }
        // The stage editor's palette reading sees all twenty block pictures.
        EXPECT_EQ(qon::ReadPaletteImages(setPath).count, qon::kBlockSlots + qon::kSpecialSlots);
    }
}

TEST_F(GeneratedFolder, LogoIsAFullScreenPicture) {
    const Bmp logo = parseBmp(game() + "Logo.bmp");
    EXPECT_EQ(logo.width, 640);
    EXPECT_EQ(logo.height, 480);
    std::set<std::uint32_t> colours;
    for (int y = 0; y < 480; y += 8) {
        for (int x = 0; x < 640; x += 8) colours.insert(logo.pixel(x, y));
    }
    EXPECT_GT(colours.size(), 200u) << "a logo of a few flat colours is not a logo";
}

// Keyed pictures are drawn by the game with their top-left pixel as the transparent
// colour, compared as 16-bit pixels.
TEST_F(GeneratedFolder, KeyedPicturesHaveAKeyBackgroundAndAVisibleFigure) {
    for (const std::string& setPath : content().graphicSets) {
        const qon::GraphicSetFile set = qon::ReadGraphicSetFile(setPath);
        for (int slot = qon::kFirstSpecialSlot; slot < qon::kFirstPartSlot + 2; ++slot) {
            SCOPED_TRACE(setPath + " slot " + std::to_string(slot));
            const Bmp bmp = parseBmp(qon::GraphicBitmapPath(setPath, set.bitmaps[slot]));
            const std::uint16_t key = rgb565(bmp.pixel(0, 0));
            int keyed = 0;
            for (int y = 0; y < bmp.height; ++y) {
                for (int x = 0; x < bmp.width; ++x) keyed += rgb565(bmp.pixel(x, y)) == key;
            }
            const int total = bmp.width * bmp.height;
            EXPECT_GE(keyed, 4) << "all four corners should be see-through";
            EXPECT_EQ(rgb565(bmp.pixel(bmp.width - 1, bmp.height - 1)), key);
            EXPECT_GT(total - keyed, total / 2) << "the figure covers most of the picture";
            EXPECT_NE(rgb565(bmp.pixel(bmp.width / 2, bmp.height / 2)), key)
                << "a hole in the middle of the figure";
            // Edges must fade to the dark field, not to the key: a pink fringe would show
            // around every sprite.
            for (int y = 0; y < bmp.height; ++y) {
                for (int x = 0; x < bmp.width; ++x) {
                    const std::uint32_t p = bmp.pixel(x, y);
                    if (rgb565(p) == key) continue;
                    const int r = (p >> 16) & 0xFF, g = (p >> 8) & 0xFF, b = p & 0xFF;
                    EXPECT_FALSE(r > 150 && b > 150 && g < 60)
                        << "key-coloured fringe at " << x << "," << y;
                }
            }
        }
    }
}

// Distinct files per slot: nine damage states, steel and eleven pictograms never share
// a picture, so a player can tell them apart.
TEST_F(GeneratedFolder, NoTwoSlotsOfASetShareAPicture) {
    for (const std::string& setPath : content().graphicSets) {
        const qon::GraphicSetFile set = qon::ReadGraphicSetFile(setPath);
        std::set<std::vector<std::uint8_t>> pictures;
        for (int slot = 0; slot < qon::kBitmapSlots; ++slot) {
            EXPECT_TRUE(
                pictures.insert(readBytes(qon::GraphicBitmapPath(setPath, set.bitmaps[slot])))
                    .second)
                << setPath << " slot " << slot << " repeats an earlier picture";
        }
    }
}

TEST_F(GeneratedFolder, SoundEffectsArePlainShortPcm) {
    const std::vector<std::string> names = {"SeBar.wav",   "SeBlock.wav",  "SeCur.wav",
                                            "SeItem.wav",  "SeSelect.wav", "SeBreak.wav",
                                            "SeBlack.wav", "SeKin.wav"};
    std::set<std::vector<std::uint8_t>> distinct;
    for (const std::string& name : names) {
        SCOPED_TRACE(name);
        const std::string path = game() + "Se/" + name;
        ASSERT_TRUE(fs::is_regular_file(path));
        const Wav wav = parseWav(path);
        ASSERT_GT(wav.rate, 0u);
        const double seconds = static_cast<double>(wav.samples.size()) / wav.rate;
        EXPECT_GE(seconds, 0.03);
        EXPECT_LE(seconds, 1.0) << "effects are played often and must stay short";
        int peak = 0;
        for (std::int16_t s : wav.samples) peak = std::max(peak, std::abs(static_cast<int>(s)));
        EXPECT_GT(peak, 4000) << "too quiet to hear";
        EXPECT_LT(peak, 32767) << "clipped";
        EXPECT_LT(std::abs(static_cast<int>(wav.samples.back())), 200) << "ends with a click";
        distinct.insert(readBytes(path));
    }
    EXPECT_EQ(distinct.size(), names.size());
}

TEST_F(GeneratedFolder, StageProjectsParseForTheEditorAndTheGame) {
    ASSERT_EQ(content().stageProjects.size(), 2u);
    EXPECT_GE(qon::ReadStageProject(content().stageProjects[0]).stages.size(), 20u);
    for (const std::string& path : content().stageProjects) {
        const qon::StageProject project = qon::ReadStageProject(path);
        const qon::StageProjectHeader header = qon::ReadStageProjectHeader(path);
        EXPECT_EQ(header.StageCount, static_cast<std::int16_t>(project.stages.size()));
        EXPECT_FALSE(header.stageStaff.empty());
        for (int n = 1; n <= header.StageCount; ++n) {
            qon::StageGrid game;
            qon::ResetGrid(game);
            qon::ReadStageFile(path, n, game);
            for (int cell = 0; cell < qon::kGridCells; ++cell) {
                EXPECT_EQ(game[cell].Kind, project.stages[n - 1][cell].Kind)
                    << path << " stage " << n;
            }
        }
    }
}

TEST_F(GeneratedFolder, EveryStageKeepsTheStageRules) {
    int stages = 0;
    for (const std::string& path : content().stageProjects) {
        const qon::StageProject project = qon::ReadStageProject(path);
        for (std::size_t i = 0; i < project.stages.size(); ++i) {
            EXPECT_EQ(qon::content::CheckStageRules(project.stages[i]), std::vector<std::string>{})
                << path << " stage " << i + 1;
            ++stages;
        }
    }
    EXPECT_GE(stages, 30);
}

TEST_F(GeneratedFolder, MainProjectUsesEveryKind) {
    const qon::StageProject project = qon::ReadStageProject(content().stageProjects.at(0));
    std::set<int> used;
    for (const qon::StageGrid& grid : project.stages) {
        for (const qon::BlockCell& cell : grid) used.insert(cell.Kind);
    }
    for (int kind = 0; kind <= 8; ++kind) EXPECT_TRUE(used.count(kind)) << "kind " << kind;
    for (int kind = 101; kind <= 111; ++kind) EXPECT_TRUE(used.count(kind)) << "kind " << kind;
}

// The main project opens with lessons: each of its first twelve stages brings at most
// one new kind of block (the two winds of one axis count as one), and by the twelfth
// every special block and the unbreakable block have been met.
TEST_F(GeneratedFolder, MainProjectTeachesOneNewBlockAtATime) {
    const auto family = [](int kind) {
        return kind == Kind::WindRight ? Kind::WindLeft
               : kind == Kind::WindUp  ? Kind::WindDown
                                       : kind;
    };
    const qon::StageProject project = qon::ReadStageProject(content().stageProjects.at(0));
    ASSERT_GE(project.stages.size(), 12u);
    std::set<int> met;
    for (std::size_t i = 0; i < 12; ++i) {
        std::set<int> fresh;
        for (const qon::BlockCell& cell : project.stages[i]) {
            const bool special = cell.Kind == Kind::kUnbreakable || qon::IsSpecialKind(cell.Kind);
            if (special && !met.count(family(cell.Kind))) fresh.insert(family(cell.Kind));
        }
        EXPECT_LE(fresh.size(), 1u) << "stage " << i + 1 << " brings in several new blocks";
        met.insert(fresh.begin(), fresh.end());
    }
    EXPECT_EQ(met.size(), 10u) << "the unbreakable block and nine families of special blocks";
}

// More to break further on: the hit points of each third of a project's stages, on
// average, exceed those of the third before. (Single stages may dip: a stage with a
// fire ball or bombs holds many hit points but goes quickly.)
TEST_F(GeneratedFolder, DifficultyRisesThirdByThird) {
    for (const std::string& path : content().stageProjects) {
        SCOPED_TRACE(path);
        const qon::StageProject project = qon::ReadStageProject(path);
        const std::size_t n = project.stages.size();
        ASSERT_GE(n, 3u);
        std::vector<double> thirds;
        for (std::size_t part = 0; part < 3; ++part) {
            const std::size_t from = n * part / 3;
            const std::size_t to = n * (part + 1) / 3;
            int total = 0;
            for (std::size_t i = from; i < to; ++i) total += hitPoints(project.stages[i]);
            thirds.push_back(static_cast<double>(total) / static_cast<double>(to - from));
        }
        EXPECT_LT(thirds[0], thirds[1]);
        EXPECT_LT(thirds[1], thirds[2]);
        EXPECT_LT(hitPoints(project.stages.front()), hitPoints(project.stages.back()));
    }
}

// ---- pictures written for 16-bit surfaces ----------------------------------------

struct KeyRow {
    const char* name;
    qon::content::Rgb colour = {};
    float opacity = 0;  // 0: the pixel is left unpainted
    bool expectKey = false;
};

class KeyedBmp : public ::testing::TestWithParam<KeyRow> {};

TEST_P(KeyedBmp, OnlyUnpaintedPixelsTurnTransparent) {
    const KeyRow& row = GetParam();
    qon::content::Canvas canvas(3, 2);
    if (row.opacity > 0) canvas.blendPixel(1, 1, row.colour, row.opacity);
    const qon::content::Rgb key = qon::content::rgb(255, 0, 255);
    const std::vector<std::uint8_t> bytes = canvas.toBmp(&key);
    // Row 1 (the bottom row) comes first in a bottom-up BMP; rows are padded to 12 bytes.
    ASSERT_EQ(bytes.size(), 54u + 2 * 12);
    const std::uint32_t written = (static_cast<std::uint32_t>(bytes[54 + 5]) << 16) |
                                  (static_cast<std::uint32_t>(bytes[54 + 4]) << 8) | bytes[54 + 3];
    EXPECT_EQ(rgb565(written) == rgb565(0xFF00FF), row.expectKey) << std::hex << written;
    EXPECT_EQ(bytes[54 + 9], 0) << "row padding must be zero";
}

const KeyRow kKeyRows[] = {
    {.name = "UnpaintedIsKey", .expectKey = true},
    {.name = "PaintedBlackIsOpaque", .colour = qon::content::rgb(0, 0, 0), .opacity = 1},
    {.name = "PaintedKeyColourIsNudged", .colour = qon::content::rgb(255, 0, 255), .opacity = 1},
    {.name = "NearKeyThatRoundsToKeyIsNudged",
     .colour = qon::content::rgb(250, 2, 253),
     .opacity = 1},
    {.name = "FaintEdgeBelowThresholdIsKey",
     .colour = qon::content::rgb(255, 255, 255),
     .opacity = 0.2f,
     .expectKey = true},
    {.name = "SolidEdgeAboveThresholdIsOpaque",
     .colour = qon::content::rgb(255, 255, 255),
     .opacity = 0.6f},
};

INSTANTIATE_TEST_SUITE_P(Cases, KeyedBmp, ::testing::ValuesIn(kKeyRows), RowName);

// ---- rebuilding over a played folder -------------------------------------------------

TEST(Regeneration, KeepsThePlayersFilesAndRestoresGeneratedOnes) {
    ScratchFolder temp;
    const std::string game = temp.path() + "qon/";
    const auto first = qon::content::GenerateGameFolder(game);

    const std::string save = qon::SaveFilePath(first.stageProjects.at(0));
    qon::WriteSaveFile(save, {5, 3, 1, 1});
    qon::WriteSettingsFile(game + "Init.bse", qon::GameSettings{0, 1, 0});
    const std::vector<std::string> myStages = {first.stageProjects.at(1)};
    qon::WriteSetList(game + "StageSet.sel", myStages);
    qon::WriteSetList(game + "BitMapSet.sel", {});  // emptied: the game could not start
    fs::remove(game + "sets/graphics/jewel/Block1.bmp");

    const auto second = qon::content::GenerateGameFolder(game);
    EXPECT_EQ(qon::ReadSaveFile(save), (qon::SaveSlots{5, 3, 1, 1}));
    EXPECT_EQ(qon::ReadSettingsFile(game + "Init.bse").BitMapSetIndex, 1);
    EXPECT_EQ(qon::ReadSetList(game + "StageSet.sel"), myStages);
    EXPECT_EQ(qon::ReadSetList(game + "BitMapSet.sel"), relativeTo(game, second.graphicSets));
    EXPECT_TRUE(fs::is_regular_file(game + "sets/graphics/jewel/Block1.bmp"));
    EXPECT_FALSE(fs::exists(game + "sets/stages/starlight/.incoming"));
}

TEST(Regeneration, TurnsAnUntouchedListOfAbsolutePathsRelativeButKeepsAnEditedOne) {
    ScratchFolder temp;
    const std::string game = temp.path() + "qon/";
    const auto first = qon::content::GenerateGameFolder(game);
    // As an earlier generator wrote them: every generated set by its absolute path.
    qon::WriteSetList(game + "StageSet.sel", first.stageProjects);
    const std::vector<std::string> edited = {first.graphicSets.at(1), first.graphicSets.at(0)};
    qon::WriteSetList(game + "BitMapSet.sel", edited);

    qon::content::GenerateGameFolder(game);
    EXPECT_EQ(qon::ReadSetList(game + "StageSet.sel"), relativeTo(game, first.stageProjects));
    EXPECT_EQ(qon::ReadSetList(game + "BitMapSet.sel"), edited);
}

TEST(Regeneration, LeavesAnUnreadableListAloneAndSaysSo) {
    ScratchFolder temp;
    const std::string game = temp.path() + "qon/";
    qon::content::GenerateGameFolder(game);
    qon::WriteLinesAtomic(game + "MusicSet.sel", {"many"});
    const auto again = qon::content::GenerateGameFolder(game);
    EXPECT_EQ(qon::ReadAllLines(game + "MusicSet.sel"), std::vector<std::string>{"many"});
    const bool named = std::any_of(
        again.notes.begin(), again.notes.end(),
        [](const std::string& n) { return n.find("MusicSet.sel") != std::string::npos; });
    EXPECT_TRUE(named);
}

TEST(Regeneration, SameBytesEveryTime) {
    ScratchFolder a;
    ScratchFolder b;
    qon::content::GenerateGameFolder(a.path());
    qon::content::GenerateGameFolder(b.path());
    int compared = 0;
    for (const auto& entry : fs::recursive_directory_iterator(a.path())) {
        if (!entry.is_regular_file()) continue;
        const std::string ext = entry.path().extension().string();
        // The lists are compared too: they name the sets relative to their folder.
        if (ext == ".msp" || ext == ".bgp" || ext == ".stp") continue;
        const std::string relative = fs::relative(entry.path(), a.path()).string();
        EXPECT_EQ(readBytes(entry.path().string()), readBytes(b.path() + relative)) << relative;
        ++compared;
    }
    EXPECT_GT(compared, 60);
}

TEST(Regeneration, AFileInPlaceOfTheFolderIsReportedByName) {
    ScratchFolder temp;
    const std::string blocker = temp.path() + "qon";
    qon::test_support::WriteBytes(blocker, "not a folder");
    try {
        qon::content::GenerateGameFolder(blocker);
        FAIL() << "generation into a file succeeded";
    } catch (const qon::DataError& e) {
        EXPECT_NE(std::string(e.what()).find(blocker), std::string::npos) << e.what();
    }
}

}  // namespace
