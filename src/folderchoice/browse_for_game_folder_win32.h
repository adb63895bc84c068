// The shell's folder browser, as the folder choice dialog runs it.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

namespace tolvashu {

// Shows the browser modally over `owner`, starting at the desktop, titled
// "Tolvashuフォルダを選択してください", accepting file-system folders only.
// Returns the chosen folder's path (a drive root keeps its backslash), ""
// when the chosen item has no file-system path, or std::nullopt when the
// user cancels. COM must be initialised on the calling thread.
std::optional<std::string> BrowseForGameFolder(HWND owner);

}  // namespace tolvashu
