// SPDX-License-Identifier: MIT
// The game's reading of a music set file (whole lines, a plain count from 0 to 32767).
// A set that reads is written again and must read back the same.

#include "music_set_round_trip.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static qon::fuzz::ScratchFolder folder("music_set_game");
    return qon::fuzz::FuzzMusicSetReading(data, size, folder, qon::ReadMusicSetForGame);
}
