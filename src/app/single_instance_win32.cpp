#include "app/single_instance_win32.h"

#include "app/form1_layout.h"
#include "winui/table_window_win32.h"

namespace tolvashu {

namespace {

// Local: one copy per logon session; another user on the same machine has
// their own.
constexpr wchar_t kMutexName[] = L"Local\\TolvashuInstaller.OneCopy";
constexpr int kWindowWaitMs = 5000;
constexpr int kPollMs = 50;

}  // namespace

// Without a mutex at all (the system refused it) the program still runs: a
// second copy is a lesser harm than none.
SingleInstance::SingleInstance()
    : mutex_(CreateMutexW(nullptr, FALSE, kMutexName)), first_(!mutex_ || GetLastError() != ERROR_ALREADY_EXISTS) {}

SingleInstance::~SingleInstance() {
  if (mutex_) CloseHandle(mutex_);
}

void BringRunningCopyForward() {
  HWND main_window = FindTableWindow(kForm1);
  for (int waited = 0; !main_window && waited < kWindowWaitMs; waited += kPollMs) {
    Sleep(kPollMs);
    main_window = FindTableWindow(kForm1);
  }
  if (!main_window) return;
  if (IsIconic(main_window)) ShowWindow(main_window, SW_RESTORE);
  // The folder dialog or a message box, when one is open over the window.
  SetForegroundWindow(GetLastActivePopup(main_window));
}

}  // namespace tolvashu
