#include <windows.h>

#include <atomic>

#include "app/interruption.h"

namespace tolvashu {

namespace {

constexpr int kSigInt = 2;
constexpr int kSigHup = 1;
constexpr int kSigTerm = 15;
constexpr int kSigBreak = 21;
// The system ends a program about five seconds after it closes its console
// window or ends the session; the undo gets what it can of that.
constexpr DWORD kUndoWaitMs = 4500;

std::atomic<int> interrupting_signal{0};
std::atomic<bool> in_transfer{false};
HANDLE transfer_ended = nullptr;  // set while no transfer runs

int SignalOf(DWORD event) {
  switch (event) {
    case CTRL_C_EVENT:
      return kSigInt;
    case CTRL_BREAK_EVENT:
      return kSigBreak;
    case CTRL_CLOSE_EVENT:
      return kSigHup;
    default:
      return kSigTerm;  // log-off, shutdown
  }
}

// Runs on a thread of its own. Returning from a close, log-off or shutdown
// ends the program: it waits for the undo first, within the time given.
BOOL WINAPI OnConsoleEvent(DWORD event) {
  if (!in_transfer.load()) return FALSE;  // the default: the program ends
  interrupting_signal.store(SignalOf(event));
  if (event != CTRL_C_EVENT && event != CTRL_BREAK_EVENT) WaitForSingleObject(transfer_ended, kUndoWaitMs);
  return TRUE;
}

}  // namespace

void CatchInterruptions() {
  transfer_ended = CreateEventW(nullptr, TRUE, TRUE, nullptr);
  SetConsoleCtrlHandler(OnConsoleEvent, TRUE);
}

void TransferStarts() {
  if (transfer_ended) ResetEvent(transfer_ended);
  in_transfer.store(true);
}

void TransferEnds() {
  in_transfer.store(false);
  if (transfer_ended) SetEvent(transfer_ended);
}

int InterruptingSignal() { return interrupting_signal.load(); }

}  // namespace tolvashu
