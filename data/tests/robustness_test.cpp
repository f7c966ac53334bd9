// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "memory_files.h"
#include "qon/data/error.h"
#include "qon/data/graphic_set.h"
#include "qon/data/music_set.h"
#include "qon/data/save_file.h"
#include "qon/data/set_list.h"
#include "qon/data/settings.h"
#include "qon/data/stage.h"

namespace qon {
namespace {

// Pieces that make readers take their less travelled paths: counts at the limits, line
// ends of every kind, CP932 lead bytes without a trail, bytes CP932 never uses.
constexpr const char* kPieces[] = {"\r\n",  "\n",    "\r",       "0",    "1",    "3", "-1",
                                   "32767", "99999", "FF",       "6f",   "g",    " ", ",",
                                   "\"",    "\x81",  "\x87\x40", "\xA0", "\xFD", "/x"};

// Every reader on seeded random files either returns or throws DataError: no crash, no
// hang, no other exception. The seed is fixed so a failure replays.
TEST(data_Robustness, EveryReaderSurvivesRandomFiles) {
    const std::string folder = "/random/";
    test::MemoryFiles files;
    std::mt19937 random(20261207);
    const std::string names[] = {"p.stp",         "Stage1.stg",   "Stage2.stg", "StageSet.sel",
                                 "BitMapSet.sel", "MusicSet.sel", "set"};
    for (int round = 0; round < 300; ++round) {
        for (const std::string& name : names) {
            std::string bytes;
            const int pieces = static_cast<int>(random() % 80);
            for (int i = 0; i < pieces; ++i) {
                bytes += kPieces[random() % std::size(kPieces)];
            }
            files.add(folder + name, bytes);
        }
        const std::string set = folder + "set";
        const std::string setBytes = files.at(set);
        const std::string project = folder + "p.stp";
        auto survives = [&](const char* reader, auto read) {
            try {
                read();
            } catch (const DataError&) {
            } catch (const std::exception& other) {
                ADD_FAILURE() << reader << " round " << round << ": " << other.what();
            }
        };
        survives("ReadStageProject", [&] { ReadStageProject(project, files.source()); });
        survives("ParseStageFile", [&] {
            StageGrid grid;
            ResetGrid(grid);
            ParseStageProjectHeader(files.at(project), project);
            ParseStageFile(files.at(folder + "Stage1.stg"), folder + "Stage1.stg", grid);
        });
        survives("ParseGraphicSetFile", [&] { ParseGraphicSetFile(setBytes, set); });
        survives("ParsePaletteImages", [&] { ParsePaletteImages(setBytes, set); });
        survives("ParseMusicSetForEditing", [&] { ParseMusicSetForEditing(setBytes, set); });
        survives("ParseMusicSetForGame", [&] { ParseMusicSetForGame(setBytes, set); });
        survives("ParseSetList", [&] { ParseSetList(setBytes, set); });
        survives("ParseDisplayName", [&] { ParseDisplayName(setBytes, set); });
        survives("ParseSaveFile", [&] { ParseSaveFile(setBytes, set); });
        survives("ParseSettingsFile", [&] { ParseSettingsFile(setBytes, set); });
        survives("ReadSetLists", [&] {
            SetLists lists;
            ReadSetLists(folder, lists, files.source());
        });
    }
}

}  // namespace
}  // namespace qon
