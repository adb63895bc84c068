#include "app/session_end_win32.h"

#include "app/app_texts.h"
#include "text/wide_text_win32.h"

namespace tolvashu {

namespace {

// One transfer at a time runs on the program's one thread.
bool held = false;
bool ending = false;

}  // namespace

void HoldSessionEnd(HWND window) {
  held = true;
  ending = false;
  if (window) ShutdownBlockReasonCreate(window, Utf8ToWide(texts::kSessionEndHeld).c_str());
}

// The transfer that met a session end has ended: what comes next (the plan
// of the next operation) is not taken for stopped.
void ReleaseSessionEnd(HWND window) {
  held = false;
  ending = false;
  if (window) ShutdownBlockReasonDestroy(window);
}

bool SessionEndHeld() { return held; }

void SessionEnds() {
  if (held) ending = true;
}

bool SessionEnding() { return ending; }

}  // namespace tolvashu
