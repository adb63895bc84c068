// The Windows program's side of the operations: message boxes over the main
// window, the folder choice dialog shown modally over it, and the notice.
#pragma once

#include "app/form3_notice_win32.h"
#include "app/ui.h"
#include "folderchoice/form2_window_win32.h"
#include "winui/table_window_win32.h"

namespace tolvashu {

class WindowsUi : public Ui {
 public:
  WindowsUi(const TableWindow& main_window, Form2Window& folder_choice, Form3Notice& notice);

  void ShowMessage(const std::string& text, MessageIcon icon) override;
  void ShowFolderChoice() override;
  ProgressNotice& Notice() override;

 private:
  const TableWindow& main_window_;
  Form2Window& folder_choice_;
  Form3Notice& notice_;
};

}  // namespace tolvashu
