// The folder choice dialog's window (Form2): built from its table, shown
// modally over the main window, and driven by FolderChoice, which decides
// everything; this window only draws and forwards the user's actions.
#pragma once

#include <windows.h>

#include "folderchoice/folder_choice.h"
#include "folderchoice/folder_choice_view.h"
#include "winui/table_window_win32.h"

namespace tolvashu {

class Form2Window : public TableWindow, public FolderChoiceView {
 public:
  explicit Form2Window(FolderChoice& logic);

  // Loads the dialog, disables `owner` while it is open, and returns when
  // FolderChoice has unloaded it.
  void ShowModal(HWND owner);

  // FolderChoiceView
  void SetBT2(const std::string& caption, bool enabled) override;
  std::optional<std::string> BrowseForFolder(const std::string& start_folder) override;
  void ShowWarning(const std::string& text) override;
  void Unload() override;

 protected:
  void OnClick(const ControlRow& control) override;
  void OnClose() override;

 private:
  FolderChoice& logic_;
  HWND owner_ = nullptr;
};

}  // namespace tolvashu
