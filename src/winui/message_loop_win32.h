// The thread's message loop, with the keyboard handling of a dialog (Tab,
// Shift+Tab, Space and Enter on buttons) for every window of ours.
#pragma once

#include "winui/table_window_win32.h"

namespace tolvashu {

// Runs the loop while `window` is open: the main loop for the main window,
// the modal loop for a modal window. Returns false when WM_QUIT ended it
// first; WM_QUIT is then posted again so that every enclosing loop ends too.
bool RunWhileOpen(const TableWindow& window);

// Throws away the keyboard and mouse input that queued up while the thread
// was busy and not reading its messages, so that a click made during a
// transfer does not start anything once it is over.
void DiscardPendingInput();

}  // namespace tolvashu
