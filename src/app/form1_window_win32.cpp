#include "app/form1_window_win32.h"

#include <string_view>

#include "app/form1_layout.h"
#include "app/session_end_win32.h"

namespace tolvashu {

namespace {

struct ButtonHandler {
  const char* name;
  void (Operations::*click)();
};

constexpr ButtonHandler kButtonHandlers[] = {
    {"BackupBT", &Operations::ClickBackupBT},
    {"InstallBT", &Operations::ClickInstallBT},
    {"RestoreBT", &Operations::ClickRestoreBT},
    {"DefoBT", &Operations::ClickDefoBT},
};

}  // namespace

Form1Window::Form1Window() : TableWindow(kForm1) {}

void Form1Window::ConnectButtons(Operations& operations) { operations_ = &operations; }

void Form1Window::OnClick(const ControlRow& control) {
  // An operation runs to its end inside the click; a press that reaches
  // the window meanwhile (through a modal loop) must not start another.
  if (!operations_ || busy_) return;
  for (const ButtonHandler& handler : kButtonHandlers) {
    if (std::string_view(handler.name) != control.name) continue;
    busy_ = true;
    (operations_->*handler.click)();
    busy_ = false;
  }
  if (close_pending_) Destroy();
}

void Form1Window::OnClose() {
  // The window answers the system during a transfer, so a close (from the
  // system, or another program) can reach it then.
  if (busy_) {
    close_pending_ = true;
    return;
  }
  Destroy();
}

bool Form1Window::OnQueryEndSession() { return !SessionEndHeld(); }

void Form1Window::OnEndSession(bool ending) {
  if (ending) SessionEnds();
}

}  // namespace tolvashu
