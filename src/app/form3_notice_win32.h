// The progress notice (Form3): a tool window with one label, shown without
// an owner while a transfer runs. The transfer runs on this thread without
// reading messages, so the notice is painted when shown and takes no input.
#pragma once

#include "transfer/progress_notice.h"
#include "winui/table_window_win32.h"

namespace tolvashu {

class Form3Notice : public TableWindow, public ProgressNotice {
 public:
  Form3Notice();

  void Show() override;
  void Unload() override;

 protected:
  // The close box does nothing: the notice goes when the transfer ends.
  void OnClose() override;
};

}  // namespace tolvashu
