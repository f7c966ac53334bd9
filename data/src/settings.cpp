// SPDX-License-Identifier: MIT
#include "qon/data/settings.h"

#include <sys/stat.h>

#include <cerrno>
#include <optional>

#include "qon/data/messages.h"
#include "qon/data/text.h"

namespace qon {

namespace {

std::int16_t readIndex(LineReader& reader, Message name, SetKind list) {
    const std::string what = Say(name);
    const std::string text = reader.require(what);
    const std::optional<std::int16_t> value = ParseInt16(text);
    if (!value) {
        // The file only remembers choices: say how to get a good one back.
        std::string problem = NumberProblem(what, text, 0, 32767);
        // The hint goes inside the sentence: "... from 0 to 32767 (the set's position ...".
        if (CurrentLanguage() == Language::Japanese) problem = WithoutFullStop(problem);
        reader.fail(problem +
                    Say(Message::SetChoiceHint, {SetListFileName(list), kSettingsFileName}));
    }
    return *value;
}

std::int16_t bound(std::int16_t index, const SetList& list) {
    return index < 0 || index >= list.count ? 0 : index;
}

}  // namespace

GameSettings ParseSettingsFile(std::string_view bytes, const std::string& name) {
    LineReader reader(name, std::string(bytes));
    GameSettings settings;
    settings.StageSetIndex = readIndex(reader, Message::StageSetChoice, SetKind::Stage);
    settings.BitMapSetIndex = readIndex(reader, Message::GraphicSetChoice, SetKind::BitMap);
    settings.MusicSetIndex = readIndex(reader, Message::MusicSetChoice, SetKind::Music);
    return settings;
}

GameSettings ReadSettingsFile(const std::string& path) {
    return ParseSettingsFile(ReadTextFileBytes(path), path);
}

GameSettings ReadOrCreateSettingsFile(const std::string& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0 && errno == ENOENT) {
        const GameSettings fresh;
        WriteSettingsFile(path, fresh);
        return fresh;
    }
    return ReadSettingsFile(path);
}

GameSettings BoundSettings(GameSettings settings, const SetLists& lists) {
    settings.StageSetIndex = bound(settings.StageSetIndex, lists.stage);
    settings.BitMapSetIndex = bound(settings.BitMapSetIndex, lists.bitmap);
    settings.MusicSetIndex = bound(settings.MusicSetIndex, lists.music);
    return settings;
}

std::vector<std::string> FormatSettingsFile(const GameSettings& settings) {
    return {std::to_string(settings.StageSetIndex), std::to_string(settings.BitMapSetIndex),
            std::to_string(settings.MusicSetIndex)};
}

void WriteSettingsFile(const std::string& path, const GameSettings& settings) {
    WriteLinesAtomic(path, FormatSettingsFile(settings));
}

}  // namespace qon
