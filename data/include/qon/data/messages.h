// SPDX-License-Identifier: MIT
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

#include "qon/data/language.h"

namespace qon {

// Every text the data library builds for a person (the reasons of DataError, the names of
// what a file lacks), in Japanese and in English. A reason is made in the process's
// language where the failure is found, so no program ever has to recognise an English
// phrase after the fact to translate it.
enum class Message {
    // The file layer.
    FileMissing,
    FileUnreadable,  // permission denied
    FileCannotBeOpened,
    FileIsFolder,
    FileIsNamedPipe,
    FileIsDevice,
    FileNotOrdinary,
    FileTooLarge,
    FileCannotBeRead,
    FileCannotBeWritten,
    FolderCannotBeRead,
    FolderCannotBeOpened,
    FolderBusy,
    FolderCannotBeMade,
    FileCannotBeRemoved,
    FolderCannotBeRemoved,
    OwnFolderUnknown,
    PathNamesNoFolder,
    // Pictures.
    NotBmp,
    BmpHeaderCutShort,
    BmpSizeOutOfRange,
    // Text lines.
    ByteNotShiftJis,
    BareCrLineEnds,
    FileEndsEarly,
    TextHoldsLineBreak,
    TextNotShiftJis,
    NumberOutOfRange,
    NumberNotWhole,
    // What a file holds, as the reasons above name it.
    SetName,
    AuthorName,
    TitleTrack,
    EndingTrack,
    StageTrackOf,
    TrackCount,
    EntryCount,
    EntryOf,
    BitmapFor,
    ProjectName,
    StaffName,
    StageCount,
    StageRowOf,
    SaveSlotOf,
    SaveSlot,
    StageSetChoice,
    GraphicSetChoice,
    MusicSetChoice,
    // The formats' limits.
    ListTooLong,
    TooManyStageTracks,
    StageCountOutOfRange,
    SetChoiceHint,
    // Saving a stage project.
    NotAProjectFile,
    SavedBytesIncomplete,
    JournalUnreadable,
    JournalNamesNoProject,
    InterruptedSaveUnfinished,
    ProjectNameRefused,
    SavedButNotInPlace,
    // DataError::what(): the quoted file, the line and the reason.
    ErrorAtLine,
    ErrorInFile,
};

inline constexpr int kMessageCount = static_cast<int>(Message::ErrorInFile) + 1;

// The message's text with {1}, {2}, ... replaced by `args` in order. The two forms of one
// message hold the same placeholders.
std::string Say(Language language, Message message,
                std::initializer_list<std::string_view> args = {});
std::string Say(Message message, std::initializer_list<std::string_view> args = {});

// `pattern` with {1}, {2}, ... replaced by `args` in order; for the other message tables of
// the programs, which share the placeholders.
std::string FillPlaceholders(std::string_view pattern,
                             std::initializer_list<std::string_view> args);

// The template itself, for checking the table.
std::string_view MessageTemplate(Language language, Message message);

// The C library's explanation of an errno value in the process's language: strerror for
// English, a table of the errors a file can meet for Japanese (strerror again for the rare
// rest).
std::string SystemErrorText(int error);

// A reason that is put in parentheses inside another one loses its final full stop.
std::string WithoutFullStop(std::string text);

// A value quoted as the language's reasons quote it: "abc" (QuotedText) in English,
// 「abc」 in Japanese.
std::string QuotedValue(std::string_view text);

}  // namespace qon
