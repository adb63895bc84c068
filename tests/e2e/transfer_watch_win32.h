// Watches the installer while a transfer runs, from outside, as the system
// does: asks its windows again and again whether they answer (WM_NULL, as
// the system's own "not responding" test does) and reads the file name the
// progress notice shows.
#pragma once

#include <windows.h>

#include <string>

namespace tolvashu::e2e {

struct TransferWatch {
  int samples = 0;
  DWORD duration_ms = 0;          // from the first look until the notice went
  DWORD slowest_main_ms = 0;      // the longest the main window took to answer
  DWORD slowest_notice_ms = 0;    // the longest the notice took to answer
  int name_changes = 0;           // how often the shown file name changed
  std::string last_name;          // the last file name seen
};

// Watches until the notice has gone (or two minutes have passed). A window
// that does not answer within five seconds counts as taking five seconds.
TransferWatch WatchTransfer(HWND main_window, HWND notice);

}  // namespace tolvashu::e2e
