// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "qon/data/error.h"
#include "qon/data/graphic_set.h"
#include "qon/data/music_set.h"
#include "qon/data/save_file.h"
#include "qon/data/set_list.h"
#include "qon/data/settings.h"
#include "qon/data/stage.h"
#include "temp_folder.h"

namespace qon {
namespace {

using test::TempFolder;
using test::WriteBytes;

// Pieces that make readers take their less travelled paths: counts at the limits, line
// ends of every kind, CP932 lead bytes without a trail, bytes CP932 never uses.
constexpr const char* kPieces[] = {"\r\n",  "\n",    "\r",       "0",    "1",    "3", "-1",
                                   "32767", "99999", "FF",       "6f",   "g",    " ", ",",
                                   "\"",    "\x81",  "\x87\x40", "\xA0", "\xFD", "/x"};

// Every reader on seeded random files either returns or throws DataError: no crash, no
// hang, no other exception. The seed is fixed so a failure replays.
TEST(data_Robustness, EveryReaderSurvivesRandomFiles) {
    TempFolder folder;
    std::mt19937 random(20261207);
    const std::string files[] = {"p.stp",         "Stage1.stg",   "Stage2.stg", "StageSet.sel",
                                 "BitMapSet.sel", "MusicSet.sel", "set"};
    for (int round = 0; round < 300; ++round) {
        for (const std::string& name : files) {
            std::string bytes;
            const int pieces = static_cast<int>(random() % 80);
            for (int i = 0; i < pieces; ++i) {
                bytes += kPieces[random() % std::size(kPieces)];
            }
            WriteBytes(folder.file(name), bytes);
        }
        const std::string set = folder.file("set");
        const std::string project = folder.file("p.stp");
        auto survives = [&](const char* reader, auto read) {
            try {
                read();
            } catch (const DataError&) {
            } catch (const std::exception& other) {
                ADD_FAILURE() << reader << " round " << round << ": " << other.what();
            }
        };
        survives("ReadStageProject", [&] { ReadStageProject(project); });
        survives("ReadStageFile", [&] {
            StageGrid grid;
            ResetGrid(grid);
            ReadStageProjectHeader(project);
            ReadStageFile(project, 1, grid);
        });
        survives("ReadGraphicSetFile", [&] { ReadGraphicSetFile(set); });
        survives("ReadPaletteImages", [&] { ReadPaletteImages(set); });
        survives("ReadMusicSetForEditing", [&] { ReadMusicSetForEditing(set); });
        survives("ReadMusicSetForGame", [&] { ReadMusicSetForGame(set); });
        survives("ReadSetList", [&] { ReadSetList(set); });
        survives("ReadSaveFile", [&] { ReadSaveFile(set); });
        survives("ReadSettingsFile", [&] { ReadSettingsFile(set); });
        survives("ReadSetLists", [&] {
            SetLists lists;
            ReadSetLists(folder.path(), lists);
        });
    }
}

}  // namespace
}  // namespace qon
