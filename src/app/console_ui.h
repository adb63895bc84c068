// The operations' front end on the console: message boxes and the progress
// notice as printed text, and the folder choice dialog as a console dialog.
// It holds the one folder choice object of the run.
#pragma once

#include <optional>
#include <string>

#include "app/app_state.h"
#include "app/console_io.h"
#include "app/console_notice.h"
#include "app/ui.h"
#include "files/file_ops.h"
#include "folderchoice/folder_choice.h"

namespace tolvashu {

class ConsoleUi : public Ui {
 public:
  ConsoleUi(ConsoleIo& io, FileOps& files, AppState& state);

  void ShowMessage(const std::string& text, MessageIcon icon) override;
  void ShowFolderChoice() override;
  ProgressNotice& Notice() override { return notice_; }

 private:
  ConsoleIo& io_;
  FileOps& files_;
  AppState& state_;
  ConsoleNotice notice_;
  // Created at the dialog's first showing and kept, so that the browsed
  // folder is remembered from one showing to the next.
  std::optional<FolderChoice> folder_choice_;
};

}  // namespace tolvashu
