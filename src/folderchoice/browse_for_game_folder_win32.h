// The folder browser as the folder choice dialog runs it: the system's
// folder picker, or the shell's older folder browser where the picker
// cannot be made.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

namespace tolvashu {

// Shows the browser modally over `owner`, titled
// "Tolvashuフォルダを選択してください", accepting file-system folders only,
// opening in `start_folder` (UTF-8) when that is an existing folder. The
// user can type or paste a path. Returns the chosen folder's path (a drive
// root keeps its backslash), "" when the chosen item has no file-system
// path, or std::nullopt when the user cancels. COM must be initialised on
// the calling thread.
std::optional<std::string> BrowseForGameFolder(HWND owner, const std::string& start_folder);

}  // namespace tolvashu
