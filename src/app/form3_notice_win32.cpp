#include "app/form3_notice_win32.h"

#include "app/form3_layout.h"
#include "winui/message_loop_win32.h"

namespace tolvashu {

Form3Notice::Form3Notice() : TableWindow(kForm3) {}

void Form3Notice::Show() {
  // Created afresh for every transfer. It is not activated, so that the
  // activation stays with the main window and does not pass to another
  // program when the notice is destroyed.
  if (!Create(nullptr)) return;
  ShowInactive();
}

void Form3Notice::Unload() {
  Destroy();
  DiscardPendingInput();
}

void Form3Notice::OnClose() {}

}  // namespace tolvashu
