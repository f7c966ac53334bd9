// SPDX-License-Identifier: MIT
#include "rules_media.h"

#include <utility>

namespace qon::play::test {
namespace {

class SizeOnly final : public media::Surface {
  public:
    SizeOnly(int w, int h) : m_w(w), m_h(h) {}
    int width() const override { return m_w; }
    int height() const override { return m_h; }

  private:
    int m_w, m_h;
};

}  // namespace

std::string NameOf(const media::SoundEffect& effect) {
    const auto* named = dynamic_cast<const NamedEffect*>(&effect);
    return named != nullptr ? named->name : "(unnamed)";
}

std::string LabelOf(const media::MusicTrack& track) {
    const auto* named = dynamic_cast<const NamedTrack*>(&track);
    return named != nullptr ? named->label : "(unlabelled)";
}

std::vector<std::string> RulesMedia::TakeSounds() {
    return std::exchange(m_sounds, {});
}

media::Surface& RulesMedia::BackBuffer() {
    if (!m_back) m_back = std::make_unique<SizeOnly>(640, 480);
    return *m_back;
}

media::SurfacePtr RulesMedia::CreateOffscreenSurface(int width, int height) {
    return std::make_unique<SizeOnly>(width, height);
}

media::SurfacePtr RulesMedia::LoadSurfaceFromFile(const std::string& path) {
    throw media::MediaError(path, "the rules of play load no pictures");
}

media::SoundEffectPtr RulesMedia::LoadSoundEffect(const std::string& path) {
    throw media::MediaError(path, "the rules of play load no sounds");
}

void RulesMedia::PlaySoundEffect(media::SoundEffect& effect) {
    m_sounds.push_back(NameOf(effect));
}

media::MusicTrackPtr RulesMedia::LoadMusic(const std::string& path) {
    throw media::MediaError(path, "the rules of play load no music");
}

bool RulesMedia::UnloadMusic(media::MusicTrackPtr& track) {
    if (!track) return false;
    music.push_back("unload " + LabelOf(*track));
    track.reset();
    return true;
}

bool RulesMedia::PlayMusic(media::MusicTrack* track, int repeats) {
    if (track == nullptr) return false;
    music.push_back("play " + LabelOf(*track) + " x" + std::to_string(repeats));
    return true;
}

bool RulesMedia::ResumeMusic(media::MusicTrack* track) {
    if (track == nullptr) return false;
    music.push_back("resume " + LabelOf(*track));
    return true;
}

bool RulesMedia::StopMusic(media::MusicTrack* track) {
    if (track == nullptr) return false;
    music.push_back("stop " + LabelOf(*track));
    return true;
}

void FillSounds(SoundEffects& sounds) {
    auto make = [](const char* name) { return std::make_unique<NamedEffect>(name); };
    sounds.SeBar = make("SeBar");
    sounds.SeBlock = make("SeBlock");
    sounds.SeCur = make("SeCur");
    sounds.SeItem = make("SeItem");
    sounds.SeSelect = make("SeSelect");
    sounds.SeBreak = make("SeBreak");
    sounds.SeBlack = make("SeBlack");
    sounds.SeKin = make("SeKin");
}

void FillMusic(MusicSet& music, int stageTracks) {
    auto make = [](std::string label) { return std::make_unique<NamedTrack>(std::move(label)); };
    music.TitleMusic = make("title");
    music.EndingMusic = make("ending");
    music.StageMusic.clear();
    for (int i = 0; i < stageTracks; ++i)
        music.StageMusic.push_back(make("stage:" + std::to_string(i)));
    music.StageMusic.emplace_back();  // the spare empty entry
    music.StageMusicCount = static_cast<std::int16_t>(stageTracks);
}

void PrepareGameForTest(Game& game, int stageTracks) {
    FillSounds(game.sounds);
    FillMusic(game.music, stageTracks);
    ResetForNewGame(game.play);
    SeedRandom(game.play, game.media.RandomSeed());
    ResetGrid(game.play.StageGrid);
}

void PutBlock(PlayState& play, int row, int column, int kind) {
    BlockCell& c = play.StageGrid[static_cast<std::size_t>(row * kGridColumns + column)];
    c.Kind = static_cast<std::int16_t>(kind);
    c.HitPoints = static_cast<std::int16_t>(kind <= 8 ? kind + 1 : 1);
    c.Alive = kind == 255 ? kFalse : kTrue;
}

}  // namespace qon::play::test
