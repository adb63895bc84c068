// What the four operations ask of a front end (the Windows program or the
// console program).
#pragma once

#include <string>

#include "transfer/progress_notice.h"

namespace tolvashu {

enum class MessageIcon { kNone, kExclamation };

class Ui {
 public:
  virtual ~Ui() = default;
  // A modal message box with OK only and the application's title. CR breaks
  // a line. Returns when the user has closed it.
  virtual void ShowMessage(const std::string& text, MessageIcon icon) = 0;
  // Shows the folder choice dialog (Form2) modally: loads it, lets the user
  // act on it through FolderChoice, and returns when it has been unloaded.
  virtual void ShowFolderChoice() = 0;
  // The progress notice (Form3) that the transfer shows and unloads.
  virtual ProgressNotice& Notice() = 0;
};

}  // namespace tolvashu
