#include "e2e/transfer_watch_win32.h"

#include <commctrl.h>

#include <algorithm>

#include "e2e/remote_window_win32.h"

namespace tolvashu::e2e {

namespace {

constexpr DWORD kGiveUpMs = 5000;

// A window that is gone (the notice at the end) counts as answering at once.
DWORD AnswerTime(HWND window) {
  const ULONGLONG start = GetTickCount64();
  DWORD_PTR ignored = 0;
  if (!SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, kGiveUpMs, &ignored) && IsWindow(window)) {
    return kGiveUpMs;
  }
  return static_cast<DWORD>(GetTickCount64() - start);
}

// A progress bar's position or, with `message` PBM_GETRANGE, its top; -1
// once it is gone or does not answer.
int BarValue(HWND bar, UINT message, WPARAM wparam) {
  DWORD_PTR value = 0;
  if (!IsWindow(bar) || !SendMessageTimeoutW(bar, message, wparam, 0, SMTO_NORMAL, kGiveUpMs, &value)) return -1;
  return static_cast<int>(value);
}

void ReadBar(HWND bar, int& last, TransferWatch& watch) {
  const int range = BarValue(bar, PBM_GETRANGE, FALSE);
  const int position = BarValue(bar, PBM_GETPOS, 0);
  if (range < 0 || position < 0) return;
  watch.bar_range = range;
  if (position > last) ++watch.bar_rises;
  if (position < last) ++watch.bar_falls;
  watch.bar_highest = std::max(watch.bar_highest, position);
  last = position;
}

}  // namespace

TransferWatch WatchTransfer(HWND main_window, HWND notice, HWND file_name, HWND bar) {
  TransferWatch watch;
  std::string shown;
  int bar_position = 0;
  const ULONGLONG start = GetTickCount64();
  while (IsWindow(notice) && GetTickCount64() - start < 120000) {
    ++watch.samples;
    watch.slowest_main_ms = std::max(watch.slowest_main_ms, AnswerTime(main_window));
    watch.slowest_notice_ms = std::max(watch.slowest_notice_ms, AnswerTime(notice));
    std::string name = IsWindow(file_name) ? TextOf(file_name) : shown;
    if (name != shown) ++watch.name_changes;
    shown = name;
    ReadBar(bar, bar_position, watch);
    Sleep(50);
  }
  watch.duration_ms = static_cast<DWORD>(GetTickCount64() - start);
  return watch;
}

}  // namespace tolvashu::e2e
