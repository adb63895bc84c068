// Watches the installer while a transfer runs, from outside, as the system
// does: asks its windows again and again whether they answer (WM_NULL, as
// the system's own "not responding" test does) and reads the file name the
// progress notice shows and how far its bar has filled.
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
  int bar_range = 0;            // the bar's full position, as last read
  int bar_rises = 0;            // how often the bar's position grew
  int bar_falls = 0;            // and how often it went back
  int bar_highest = 0;          // the furthest position seen
};

TransferWatch WatchTransfer(HWND main_window, HWND notice, HWND file_name, HWND bar);

}  // namespace tolvashu::e2e
