// The folder choice dialog's logic (Form2): its load, BT1 and BT2 handlers and
// its close box. Both the Win32 dialog and the console dialog drive this one
// object, which lives for the whole run so that BrowsedPath keeps its value
// from one showing to the next.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "files/file_ops.h"
#include "folderchoice/folder_choice_view.h"

namespace tolvashu {

class FolderChoice {
 public:
  // `game_path` and `path_chosen` are the process-wide GamePath and
  // PathChosen, owned by the application.
  FolderChoice(FileOps& files, std::string& game_path, std::int16_t& path_chosen);

  void Load(FolderChoiceView& view);
  void ClickBT1(FolderChoiceView& view);
  void ClickBT2(FolderChoiceView& view);
  void CloseBox(FolderChoiceView& view);

  const std::string& BrowsedPath() const { return browsed_path_; }

 private:
  FileOps& files_;
  std::string& game_path_;
  std::int16_t& path_chosen_;
  std::string browsed_path_;
  // The saved folder that this showing's load offered on BT2, if any.
  std::optional<std::string> bt2_folder_;
};

}  // namespace tolvashu
