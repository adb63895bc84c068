#include "app/form3_notice_win32.h"

#include "app/form3_layout.h"
#include "app/session_end_win32.h"
#include "winui/message_loop_win32.h"

namespace tolvashu {

namespace {

constexpr ULONGLONG kNameIntervalMs = 100;
// Often enough that paints follow at once and every window answers well
// within a second; seldom enough that looking costs the transfer nothing.
constexpr ULONGLONG kAnswerIntervalMs = 20;

}  // namespace

Form3Notice::Form3Notice(const TableWindow& owner) : TableWindow(kForm3), owner_(owner) {}

void Form3Notice::Show() {
  // Created afresh for every transfer. It is not activated, so that the
  // activation stays with the main window and does not pass to another
  // program when the notice is destroyed.
  file_name_.clear();
  shown_name_.clear();
  shown_share_ = 0;
  name_shown_at_ = answered_at_ = 0;
  quit_code_.reset();
  HoldSessionEnd(owner_.hwnd());
  if (!Create(owner_.hwnd())) return;
  ShowInactive();
}

void Form3Notice::Unload() {
  ReleaseSessionEnd(owner_.hwnd());
  Destroy();
  DiscardPendingInput();
  if (quit_code_) PostQuitMessage(*quit_code_);
}

void Form3Notice::CopyingFile(std::string_view name) {
  file_name_.assign(name);
  StillWorking();
}

void Form3Notice::StillWorking() {
  const ULONGLONG now = GetTickCount64();
  if (now - answered_at_ < kAnswerIntervalMs) return;
  answered_at_ = now;
  ShowProgress(now);
  std::optional<int> quit = AnswerPendingMessages();
  if (quit && !quit_code_) quit_code_ = quit;
}

void Form3Notice::ShowProgress(ULONGLONG now) {
  if (!IsOpen() || now - name_shown_at_ < kNameIntervalMs) return;
  name_shown_at_ = now;
  if (file_name_ != shown_name_) {
    shown_name_ = file_name_;
    SetControlText("Label2", shown_name_);
  }
  const int share = count_.Share(kProgressScale);
  if (share != shown_share_) {
    shown_share_ = share;
    SetControlProgress("ProgressBar1", share);
  }
}

bool Form3Notice::Interrupted() { return SessionEnding(); }

void Form3Notice::OnClose() {}

}  // namespace tolvashu
