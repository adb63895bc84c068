// Interruptions of the console program: SIGINT, SIGTERM and SIGHUP on
// POSIX (Ctrl+C, `kill`, a closed terminal); Ctrl+C, Ctrl+Break, a closed
// console window, a log-off or a shutdown on Windows. While no transfer
// runs they end the program as they always do. During a transfer they are
// remembered instead: the transfer stops at its next step and is undone,
// the program says so and ends with exit status 128 + the signal's number.
#pragma once

namespace tolvashu {

// Installs the handlers; once, at the start of the program.
void CatchInterruptions();

// The span of a transfer, from its notice shown to its notice unloaded
// (after its commit or its undo).
void TransferStarts();
void TransferEnds();

// The number of the signal that interrupted a transfer (SIGINT = 2 for
// Ctrl+C, 21 for Ctrl+Break, SIGHUP = 1 for a closed window, SIGTERM = 15);
// 0 while none has.
int InterruptingSignal();

}  // namespace tolvashu
