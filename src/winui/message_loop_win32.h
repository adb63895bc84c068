// The thread's message loop, with the keyboard handling of a dialog (Tab,
// Shift+Tab, Space and Enter on buttons) for every window of ours.
#pragma once

#include <optional>

#include "winui/table_window_win32.h"

namespace tolvashu {

// Runs the loop while `window` is open: the main loop for the main window,
// the modal loop for a modal window. Returns false when WM_QUIT ended it
// first; WM_QUIT is then posted again so that every enclosing loop ends too.
bool RunWhileOpen(const TableWindow& window);

// Lets the window system in while the thread is busy with long work that
// does not return to a message loop: the messages waiting for the thread
// (paints, timers, the system asking whether the program still answers) are
// handled, and keyboard and mouse input is thrown away, so that the windows
// are drawn and answer but no click or key starts anything meanwhile.
// Returns as soon as nothing is waiting, and after a short while at most.
// A WM_QUIT ends the handling: its exit code is returned, so that the
// caller can post it again once the work is done.
std::optional<int> AnswerPendingMessages();

// Throws away the keyboard and mouse input that queued up while the thread
// was busy and not reading its messages, so that a click made during a
// transfer does not start anything once it is over.
void DiscardPendingInput();

}  // namespace tolvashu
