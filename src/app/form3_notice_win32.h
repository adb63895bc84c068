// The progress notice (Form3): a tool window owned by the main window and
// centred on it, shown while a transfer runs. The transfer runs on this
// thread; whenever it reports a step, the notice shows the file being copied
// and lets the window system in, so that the program's windows are drawn and
// answer the system while they take no input.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "transfer/progress_notice.h"
#include "winui/table_window_win32.h"

namespace tolvashu {

class Form3Notice : public TableWindow, public ProgressNotice {
 public:
  // `owner` is the main window, open whenever a transfer runs.
  explicit Form3Notice(const TableWindow& owner);

  void Show() override;
  void Unload() override;
  void CopyingFile(std::string_view name) override;
  void StillWorking() override;
  // The session is ending (session_end_win32.h).
  bool Interrupted() override;

 protected:
  // The close box does nothing: the notice goes when the transfer ends.
  void OnClose() override;

 private:
  // Shows the latest file name, at most about ten times a second: a faster
  // change could not be read, and would cost the transfer time.
  void ShowFileName(ULONGLONG now);

  const TableWindow& owner_;
  std::string file_name_;   // the file being copied now
  std::string shown_name_;  // what Label2 shows
  ULONGLONG name_shown_at_ = 0;
  ULONGLONG answered_at_ = 0;
  std::optional<int> quit_code_;  // a WM_QUIT met during the transfer
};

}  // namespace tolvashu
