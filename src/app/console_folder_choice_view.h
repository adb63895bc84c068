// The folder choice dialog (Form2) on the console: prints the dialog, reads
// the user's choice and forwards it to FolderChoice until the dialog unloads.
// The folder browser is one input line holding the folder's path.
#pragma once

#include <optional>
#include <string>

#include "app/console_io.h"
#include "folderchoice/folder_choice.h"
#include "folderchoice/folder_choice_view.h"

namespace tolvashu {

class ConsoleFolderChoiceView : public FolderChoiceView {
 public:
  explicit ConsoleFolderChoiceView(ConsoleIo& io) : io_(io) {}

  // One showing of the dialog: load, then the user's choices until unloaded.
  // The end of input is the close box.
  void Run(FolderChoice& choice);

  void SetBT2(const std::string& caption, bool enabled) override;
  std::optional<std::string> BrowseForFolder(const std::string& start_folder) override;
  void ShowWarning(const std::string& text) override;
  void Unload() override { unloaded_ = true; }

 private:
  void Print();
  // Forwards one choice to the logic; other input only shows the dialog again.
  void Dispatch(const std::string& choice, FolderChoice& logic);

  ConsoleIo& io_;
  std::string bt2_caption_;
  bool bt2_enabled_ = false;
  bool unloaded_ = false;
};

}  // namespace tolvashu
