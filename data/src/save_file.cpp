// SPDX-License-Identifier: MIT
#include "qon/data/save_file.h"

#include <sys/stat.h>

#include <cerrno>
#include <optional>
#include <vector>

#include "qon/data/game_folders.h"
#include "qon/data/messages.h"
#include "qon/data/paths.h"
#include "qon/data/text.h"

namespace qon {

std::string SaveFilePath(const std::string& projectPath) {
    return FolderOf(projectPath) + kSaveFileName;
}

SaveSlots ParseSaveFile(std::string_view bytes, const std::string& name) {
    LineReader reader(name, std::string(bytes));
    SaveSlots slots{};
    for (int slot = 0; slot < kSaveSlotCount; ++slot) {
        const std::string text = reader.require(
            Say(Message::SaveSlotOf, {std::to_string(slot + 1), std::to_string(kSaveSlotCount)}));
        const std::optional<std::int16_t> value = ParseInt16(text);
        if (!value) {
            reader.fail(NumberProblem(Say(Message::SaveSlot, {std::to_string(slot + 1)}), text,
                                      -32768, 32767));
        }
        slots[slot] = *value;
    }
    return slots;
}

SaveSlots ReadSaveFile(const std::string& path) {
    return ParseSaveFile(ReadTextFileBytes(path), path);
}

SaveSlots ReadOrCreateSaveFile(const std::string& path) {
    return ReadOrCreateSaveFile(path, path);
}

SaveSlots ReadOrCreateSaveFile(const std::string& readPath, const std::string& writePath) {
    struct stat info {};
    if (::stat(readPath.c_str(), &info) != 0 && errno == ENOENT) {
        SaveSlots fresh;
        fresh.fill(1);
        if (writePath != readPath) MakeFolderFor(writePath);
        WriteSaveFile(writePath, fresh);
        return fresh;
    }
    return ReadSaveFile(readPath);
}

std::vector<std::string> FormatSaveFile(const SaveSlots& slots) {
    std::vector<std::string> lines;
    for (const std::int16_t value : slots) {
        lines.push_back(PrintStatementInteger(value));
    }
    return lines;
}

void WriteSaveFile(const std::string& path, const SaveSlots& slots) {
    WriteLinesAtomic(path, FormatSaveFile(slots));
}

std::string SaveSlotLabel(std::int16_t value) {
    return "STAGE " + std::to_string(static_cast<int>(value) - 1) + "までクリア";
}

}  // namespace qon
