// One copy of the Windows program at a time: two copies could otherwise run
// transfers into one game folder at once. A second start hands over to the
// copy that runs and ends without a window of its own.
#pragma once

#include <windows.h>

namespace tolvashu {

class SingleInstance {
 public:
  // Claims the program's name in this logon session for as long as the
  // object lives.
  SingleInstance();
  ~SingleInstance();
  SingleInstance(const SingleInstance&) = delete;
  SingleInstance& operator=(const SingleInstance&) = delete;

  // False when another copy claimed it first.
  bool IsFirst() const { return first_; }

 private:
  HANDLE mutex_;
  bool first_;
};

// Brings the running copy's main window to the front, or the dialog or
// message box it shows over it. Waits a moment for the window when the other
// copy is still starting.
void BringRunningCopyForward();

}  // namespace tolvashu
