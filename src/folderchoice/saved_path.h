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

// Replaces the saved-path file with `game_path`. A path that cannot be read
// back whole or that code page 932 cannot hold is not saved, and the file
// keeps the folder saved before. Returns whether the path was saved; a
// failure is never passed on as more than this value.
bool SavePath(FileOps& files, const std::string& game_path);

}  // namespace tolvashu
