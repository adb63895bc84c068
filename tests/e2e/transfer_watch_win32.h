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
  DWORD duration_ms = 0;        // until the notice went (two minutes at most)
  DWORD slowest_main_ms = 0;    // the longest answers; five seconds when none came
  DWORD slowest_notice_ms = 0;
  int name_changes = 0;         // how often `file_name` changed
};

TransferWatch WatchTransfer(HWND main_window, HWND notice, HWND file_name);

}  // namespace tolvashu::e2e
