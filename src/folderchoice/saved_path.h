// The game folder confirmed last time, remembered in "PathDATA.txt" in the
// current directory: one line in code page 932 ending with CR LF.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "files/file_ops.h"

namespace tolvashu {

inline constexpr char kSavedPathFile[] = "PathDATA.txt";

// Reads the first item of the saved-path file into `game_path` and returns 1.
// Returns -1, leaving `game_path` as it was and no file open, when the file
// cannot be opened or read or its first item is empty.
std::int16_t LoadSavedPath(FileOps& files, std::string& game_path);

// The line that makes the first item of the file read back as `path`
// exactly: the path itself, or the path in double quotes when reading would
// otherwise cut it (a comma, a line end, blanks or tabs at either end).
// std::nullopt when no line can: an empty path, or one holding a double
// quote, which the item rules cannot carry inside a quoted item.
std::optional<std::string> SavedPathLine(const std::string& path);

enum class SaveResult {
  kSaved,
  kCannotHold,  // no line of code page 932 reads back as this path
  kNotWritten,  // the file could not be written
};

// Replaces the saved-path file with `game_path`. Where that cannot be done,
// the file is emptied instead, so that it names no folder at all rather than
// one confirmed before this one (or a part of this one); a file that cannot
// be emptied either (a read-only one) stays as it was. An empty file reads
// as no saved path, here and in every earlier version. A failure is never
// passed on as more than the result.
SaveResult SavePath(FileOps& files, const std::string& game_path);

}  // namespace tolvashu
