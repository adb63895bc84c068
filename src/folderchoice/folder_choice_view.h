// What the folder choice dialog's logic asks of a window (the Win32 dialog or
// the console dialog). The view only draws and forwards the user's actions to
// FolderChoice; it decides nothing.
#pragma once

#include <optional>
#include <string>

namespace tolvashu {

class FolderChoiceView {
 public:
  virtual ~FolderChoiceView() = default;
  // Sets BT2's caption (CR breaks a line) and whether it can be pressed.
  virtual void SetBT2(const std::string& caption, bool enabled) = 0;
  // Runs the folder browser titled "Tolvashuフォルダを選択してください",
  // opening in `start_folder` when that is an existing folder (empty: the
  // browser's own choice); the chosen folder's path, or std::nullopt when the
  // user cancels.
  virtual std::optional<std::string> BrowseForFolder(const std::string& start_folder) = 0;
  // A modal message box with OK only, the application's title and the
  // exclamation icon.
  virtual void ShowWarning(const std::string& text) = 0;
  // Ends the dialog.
  virtual void Unload() = 0;
};

}  // namespace tolvashu
