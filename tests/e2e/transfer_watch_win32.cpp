#include "e2e/transfer_watch_win32.h"

#include <algorithm>

#include "app/form3_layout.h"
#include "e2e/remote_window_win32.h"
#include "winui/table_window_win32.h"

namespace tolvashu::e2e {

namespace {

constexpr DWORD kGiveUpMs = 5000;
constexpr DWORD kSampleEveryMs = 50;
constexpr DWORD kLongestWatchMs = 120000;

// Milliseconds `window` took to answer WM_NULL; kGiveUpMs when it did not.
// A window that is gone (the notice at the end) answers at once.
DWORD AnswerTime(HWND window) {
  const ULONGLONG start = GetTickCount64();
  DWORD_PTR ignored = 0;
  if (!SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, kGiveUpMs, &ignored) && IsWindow(window)) {
    return kGiveUpMs;
  }
  return static_cast<DWORD>(GetTickCount64() - start);
}

// Label2 of the notice: the control in its place in the table.
int FileNameIndex() {
  for (std::size_t i = 0; i < kForm3.control_count; ++i) {
    if (kForm3.controls[i].kind == ControlKind::kFileNameLabel) return static_cast<int>(i);
  }
  return -1;
}

}  // namespace

TransferWatch WatchTransfer(HWND main_window, HWND notice) {
  TransferWatch watch;
  HWND file_name = GetDlgItem(notice, TableControlId(static_cast<std::size_t>(FileNameIndex())));
  const ULONGLONG start = GetTickCount64();
  while (IsWindow(notice) && GetTickCount64() - start < kLongestWatchMs) {
    ++watch.samples;
    watch.slowest_main_ms = std::max(watch.slowest_main_ms, AnswerTime(main_window));
    watch.slowest_notice_ms = std::max(watch.slowest_notice_ms, AnswerTime(notice));
    std::string name = IsWindow(file_name) ? TextOf(file_name) : watch.last_name;
    if (name != watch.last_name) ++watch.name_changes;
    watch.last_name = name;
    Sleep(kSampleEveryMs);
  }
  watch.duration_ms = static_cast<DWORD>(GetTickCount64() - start);
  return watch;
}

}  // namespace tolvashu::e2e
