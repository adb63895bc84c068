// The progress notice (Form3): a tool window owned by the main window and
// centred on it, shown while a transfer runs. The transfer runs on this
// thread; whenever it reports a step, the notice shows the file being copied
// and how much of the plan's bytes are copied, and lets the window system in, so that the program's windows are drawn and
// answer the system while they take no input.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "app/progress_count.h"
#include "transfer/progress_notice.h"
#include "winui/table_window_win32.h"

namespace tolvashu {

class Form3Notice : public TableWindow, public ProgressNotice {
 public:
  // `owner` is the main window, open whenever a transfer runs.
  explicit Form3Notice(const TableWindow& owner);

  void Show() override;
  void Unload() override;
  void Expect(const ProgressTotal& total) override { count_.Expect(total); }
  void CopyingFile(std::string_view name) override;
  void FileCopied(std::string_view name) override { count_.Copied(name); }
  void StillWorking() override;
  // The session is ending (session_end_win32.h).
  bool Interrupted() override;

 protected:
  // The close box does nothing: the notice goes when the transfer ends.
  void OnClose() override;

 private:
  // Shows the latest file name and the bar's share, at most about ten times
  // a second: a faster change could not be read, and would cost the
  // transfer time.
  void ShowProgress(ULONGLONG now);

  const TableWindow& owner_;
  std::string file_name_;   // the file being copied now
  std::string shown_name_;  // what Label2 shows
  ProgressCount count_;
  int shown_share_ = 0;     // what ProgressBar1 shows
  ULONGLONG name_shown_at_ = 0;
  ULONGLONG answered_at_ = 0;
  std::optional<int> quit_code_;  // a WM_QUIT met during the transfer
};

}  // namespace tolvashu
