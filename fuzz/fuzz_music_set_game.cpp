// SPDX-License-Identifier: MIT
// The game's reading of a music set file (whole lines, a plain count from 0 to 32767).
// A set that reads is formatted again and must read back the same.

#include "music_set_round_trip.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    return qon::fuzz::FuzzMusicSetReading(data, size, qon::ParseMusicSetForGame);
}
