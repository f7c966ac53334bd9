// SPDX-License-Identifier: MIT
#include <algorithm>
#include <utility>

#include "qon/headless/headless.h"
#include "qon/headless/media_files.h"
#include "qon/music/midi_file.h"

namespace qon::headless {

using namespace qon::media;
namespace {

class RecordedEffect final : public SoundEffect {};

class RecordedTrack final : public MusicTrack {
  public:
    bool played = false;
};

}  // namespace

HeadlessMedia::HeadlessMedia(std::uint32_t seed) : m_seed(seed) {}

void HeadlessMedia::SetNames(EffectNamer effects, TrackNamer tracks) {
    m_effectName = std::move(effects);
    m_trackName = std::move(tracks);
}

std::string HeadlessMedia::nameOf(const MusicTrack& track) const {
    return m_trackName ? m_trackName(track) : std::string("(unlabelled)");
}

void HeadlessMedia::SetScript(std::vector<InputEvent> events, bool joystickPresent) {
    std::stable_sort(events.begin(), events.end(),
                     [](const InputEvent& a, const InputEvent& b) { return a.frame < b.frame; });
    m_script = std::move(events);
    m_nextEvent = 0;
    m_joystickPresent = joystickPresent;
    m_joystick = JoystickSample{};
    m_keysDown.clear();
    applyEventsUpTo(m_frames);
}

void HeadlessMedia::SetFlipCallback(std::function<void(int frame)> callback) {
    m_onFlip = std::move(callback);
}

void HeadlessMedia::SetKey(int virtualKey, bool down) {
    if (!down) {
        m_keysDown.erase(virtualKey);
        return;
    }
    m_keysDown.insert(virtualKey);
    if (virtualKey == Vk::E) m_quitPending = true;
}

void HeadlessMedia::applyEventsUpTo(int frame) {
    while (m_nextEvent < m_script.size() && m_script[m_nextEvent].frame <= frame) {
        const InputEvent& event = m_script[m_nextEvent++];
        switch (event.type) {
            case InputEvent::Type::KeyDown:
                m_keysDown.insert(event.key);
                // The quit key acts at the next event pump, as a window's key handler would.
                if (event.key == Vk::E) m_quitPending = true;
                break;
            case InputEvent::Type::KeyUp:
                m_keysDown.erase(event.key);
                break;
            case InputEvent::Type::Joystick:
                m_joystick = event.joystick;
                break;
        }
    }
}

std::vector<std::string> HeadlessMedia::TakeSounds() {
    return std::exchange(m_sounds, {});
}
std::vector<std::string> HeadlessMedia::TakeMusic() {
    return std::exchange(m_music, {});
}
std::vector<std::string> HeadlessMedia::TakeMessages() {
    return std::exchange(m_messages, {});
}

void HeadlessMedia::FlipScreen() {
    const int presented = m_frames++;
    // 1/60 s per frame without drift: the clock is derived from the frame count.
    m_clockMicros += (static_cast<std::int64_t>(m_frames) * 1000000 / 60) -
                     (static_cast<std::int64_t>(presented) * 1000000 / 60);
    if (m_onFlip) m_onFlip(presented);
    applyEventsUpTo(m_frames);
}

SoundEffectPtr HeadlessMedia::LoadSoundEffect(const std::string& path) {
    ReadWaveFile(path);
    return std::make_unique<RecordedEffect>();
}

void HeadlessMedia::PlaySoundEffect(SoundEffect& effect) {
    m_sounds.push_back(m_effectName ? m_effectName(effect) : std::string("(unnamed)"));
}

MusicTrackPtr HeadlessMedia::LoadMusic(const std::string& path) {
    // Read whole, as the game's engine reads it, so a replay refuses the same files; the
    // piece itself is not kept, since nothing sounds here.
    music::ReadMidiFile(path);
    return std::make_unique<RecordedTrack>();
}

bool HeadlessMedia::UnloadMusic(MusicTrackPtr& track) {
    if (!track) return false;
    m_music.push_back("unload " + nameOf(*track));
    track.reset();
    return true;
}

bool HeadlessMedia::PlayMusic(MusicTrack* track, int repeats) {
    (void)repeats;
    if (track == nullptr) return false;
    static_cast<RecordedTrack*>(track)->played = true;
    m_music.push_back("play " + nameOf(*track));
    return true;
}

bool HeadlessMedia::ResumeMusic(MusicTrack* track) {
    if (track == nullptr) return false;
    // A track never played has no position to resume from; it starts from the beginning.
    auto* recorded = static_cast<RecordedTrack*>(track);
    m_music.push_back((recorded->played ? "resume " : "play ") + nameOf(*track));
    recorded->played = true;
    return true;
}

bool HeadlessMedia::StopMusic(MusicTrack* track) {
    if (track == nullptr) return false;
    m_music.push_back("stop " + nameOf(*track));
    return true;
}

void HeadlessMedia::InitJoystick(int deadZone) {
    m_joystickInUse = m_joystickPresent;
    m_limits = LimitsFor(kAxisMin, kAxisMax, kAxisMin, kAxisMax, deadZone);
}

void HeadlessMedia::ReadController() {
    KeyboardSample keys;
    keys.left = m_keysDown.count(Vk::Left) != 0;
    keys.right = m_keysDown.count(Vk::Right) != 0;
    keys.up = m_keysDown.count(Vk::Up) != 0;
    keys.down = m_keysDown.count(Vk::Down) != 0;
    for (int i = 0; i < 4; ++i) {
        keys.assigned[i] = KeyAssign[i] != 0 && m_keysDown.count(KeyAssign[i]) != 0;
    }
    m_controller = MergeController(m_joystickInUse ? &m_joystick : nullptr, m_limits, keys);
}

bool HeadlessMedia::IsKeyDown(int virtualKey) {
    return m_keysDown.count(virtualKey) != 0;
}

std::int32_t HeadlessMedia::Tick() {
    return static_cast<std::int32_t>(m_clockMicros / 1000);
}

void HeadlessMedia::PumpEvents() {
    if (m_quitPending) {
        m_quitPending = false;
        throw QuitRequested{};
    }
}

void HeadlessMedia::Doze(int ms) {
    m_clockMicros += static_cast<std::int64_t>(std::max(ms, 0)) * 1000;
}

void HeadlessMedia::ShowMessage(const std::string& title, const std::string& text) {
    (void)title;
    m_messages.push_back(text);
}

}  // namespace qon::headless
