// The progress notice (Form3) on the console: its label, printed when the
// transfer shows it.
#pragma once

#include "app/console_io.h"
#include "transfer/progress_notice.h"

namespace tolvashu {

class ConsoleNotice : public ProgressNotice {
 public:
  explicit ConsoleNotice(ConsoleIo& io) : io_(io) {}
  void Show() override;
  void Unload() override;
  bool Interrupted() override;

 private:
  ConsoleIo& io_;
};

}  // namespace tolvashu
