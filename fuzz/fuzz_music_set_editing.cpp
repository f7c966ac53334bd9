// SPDX-License-Identifier: MIT
// The music set creator's reading of a music set file (the count is the integer part of line 5).
// A set that reads is formatted again and must read back the same.

#include "music_set_round_trip.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    return qon::fuzz::FuzzMusicSetReading(data, size, qon::ParseMusicSetForEditing);
}
