#include "app/console_notice.h"

#include "app/interruption.h"

#include "app/app_texts.h"

namespace tolvashu {

void ConsoleNotice::Show() {
  TransferStarts();
  io_.WriteText(texts::kForm3Label1);
}

void ConsoleNotice::Unload() { TransferEnds(); }

bool ConsoleNotice::Interrupted() { return InterruptingSignal() != 0; }

}  // namespace tolvashu
