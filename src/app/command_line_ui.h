// The operations' front end for one operation run by argument. The folder
// choice is made from the arguments instead of a dialog: --game is the
// folder browsed with BT1 (checked, then saved), and without it the saved
// folder is taken as BT2 takes it (checked again). Warnings go to standard
// error at once (the one for a --game that is no game folder names it and
// what is there); message boxes are kept until the operation has ended,
// when the caller knows whether they report its completion.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "app/app_state.h"
#include "app/command_line_notice.h"
#include "app/console_io.h"
#include "app/ui.h"
#include "files/file_ops.h"

namespace tolvashu {

class CommandLineUi : public Ui {
 public:
  // `game_folder`: the folder given with --game, absolute.
  CommandLineUi(FileOps& files, AppState& state, ConsoleIo& errors, std::optional<std::string> game_folder,
                CommandLineNotice& notice);

  void ShowMessage(const std::string& text, MessageIcon icon) override;
  void ShowFolderChoice() override;
  ProgressNotice& Notice() override { return notice_; }

  // Prints the message boxes shown so far, as the console prints them: on
  // `out` as the output of a run that did what it was asked, or on standard
  // error as diagnostics.
  void PrintMessages(ConsoleIo& out) const;
  void PrintDiagnostics() const;

 private:
  struct Message {
    std::string text;
    MessageIcon icon;
  };

  FileOps& files_;
  AppState& state_;
  ConsoleIo& errors_;
  const std::optional<std::string> game_folder_;
  CommandLineNotice& notice_;
  std::vector<Message> messages_;
};

}  // namespace tolvashu
