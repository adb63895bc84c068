// The end of the Windows session (a log-off, a restart, a shutdown) met by
// the Windows program during a transfer. While a transfer runs the program
// holds the session end up: the main window refuses WM_QUERYENDSESSION,
// and the system shows the reason beside the program's name. When the
// session ends all the same (the player chose to end it anyway), the
// transfer is asked to stop at its next step and is undone; should the
// system end the program before the undo is through, the next start takes
// the undo up from the journal.
#pragma once

#include <windows.h>

namespace tolvashu {

// The span of a transfer: the reason is set on `window` (the main window)
// and the session end is held up until ReleaseSessionEnd.
void HoldSessionEnd(HWND window);
void ReleaseSessionEnd(HWND window);
bool SessionEndHeld();

// The session ends now (WM_ENDSESSION came with TRUE) while a transfer
// runs; and whether it has, for the transfer to stop at its next step.
void SessionEnds();
bool SessionEnding();

}  // namespace tolvashu
