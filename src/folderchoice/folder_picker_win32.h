// The system's folder picker (the common item dialog in its folder mode):
// the dialog players know from other programs, where a path can be typed or
// pasted.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

namespace tolvashu {

struct PickerAnswer {
  // False when the picker could not be made on this system; the caller then
  // falls back to another browser.
  bool shown = false;
  // The chosen folder's path (a drive root keeps its backslash), "" when the
  // chosen item has no file-system path, std::nullopt when the user cancelled.
  std::optional<std::string> folder;
};

// Shows the picker modally over `owner` with `title`, accepting file-system
// folders only, opening in `start_folder` when that is an existing folder.
// Changes no current directory. COM must be initialised on the calling
// thread.
PickerAnswer PickFolder(HWND owner, const std::wstring& title, const std::wstring& start_folder);

}  // namespace tolvashu
