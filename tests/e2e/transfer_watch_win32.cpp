#include "e2e/transfer_watch_win32.h"

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

}  // namespace

TransferWatch WatchTransfer(HWND main_window, HWND notice, HWND file_name) {
  TransferWatch watch;
  std::string shown;
  const ULONGLONG start = GetTickCount64();
  while (IsWindow(notice) && GetTickCount64() - start < 120000) {
    ++watch.samples;
    watch.slowest_main_ms = std::max(watch.slowest_main_ms, AnswerTime(main_window));
    watch.slowest_notice_ms = std::max(watch.slowest_notice_ms, AnswerTime(notice));
    std::string name = IsWindow(file_name) ? TextOf(file_name) : shown;
    if (name != shown) ++watch.name_changes;
    shown = name;
    Sleep(50);
  }
  watch.duration_ms = static_cast<DWORD>(GetTickCount64() - start);
  return watch;
}

}  // namespace tolvashu::e2e
