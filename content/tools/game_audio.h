// SPDX-License-Identifier: MIT
#pragma once

// The samples the game hands to the sound device: MIDI tracks rendered by the game's
// music engine (FluidSynth with the game's soundfont), effects as SDL2_mixer converts
// them for the device and plays them at full volume. Their loudness is measured with
// MeasureLoudness (content/src/loudness.h).

#include <cstdint>
#include <string>
#include <vector>

namespace qon::content {

// Renders `seconds` of the MIDI file from its start (played on a loop, as the game plays
// stage tracks) with the game's music engine at 44100 Hz stereo. Throws
// std::runtime_error when the soundfont or the file cannot be used.
std::vector<std::int16_t> RenderTrack(const std::string& midiPath, double seconds,
                                      const std::string& soundFontPath);

// The samples SDL2_mixer plays for a .wav effect, converted to the game's device format
// (44100 Hz, 16-bit, stereo). Opens the mixer on first use (any audio driver will do,
// the dummy one included). Throws std::runtime_error naming the file when it cannot be
// loaded.
std::vector<std::int16_t> MixerSamples(const std::string& wavPath);

// The game's own soundfont.
std::string GameSoundFont();

}  // namespace qon::content
