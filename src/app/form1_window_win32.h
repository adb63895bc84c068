// The main window (form1): four buttons, each starting one data operation.
// Closing it ends the program; a close asked for while an operation runs
// takes effect when the operation has ended, so that no transfer is cut off.
#pragma once

#include "app/operations.h"
#include "winui/table_window_win32.h"

namespace tolvashu {

class Form1Window : public TableWindow {
 public:
  Form1Window();

  // The operations the buttons start; set once, before the window opens.
  void ConnectButtons(Operations& operations);

 protected:
  void OnClick(const ControlRow& control) override;
  void OnClose() override;
  // Held up while a transfer runs (session_end_win32.h).
  bool OnQueryEndSession() override;
  void OnEndSession(bool ending) override;

 private:
  Operations* operations_ = nullptr;
  bool busy_ = false;           // an operation is running inside a click
  bool close_pending_ = false;  // closed while busy: close once it ends
};

}  // namespace tolvashu
