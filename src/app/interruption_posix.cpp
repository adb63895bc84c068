#include <signal.h>

#include <atomic>
#include <initializer_list>

#include "app/interruption.h"

namespace tolvashu {

namespace {

std::atomic<int> interrupting_signal{0};
std::atomic<bool> in_transfer{false};

// Only what is safe in a signal handler: atomics, and the default action
// raised again when no transfer would be left halfway.
void OnSignal(int signal) {
  if (!in_transfer.load()) {
    ::signal(signal, SIG_DFL);
    raise(signal);
    return;
  }
  interrupting_signal.store(signal);
}

}  // namespace

void CatchInterruptions() {
  struct sigaction action {};
  action.sa_handler = OnSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;  // a read or write under way is not cut short
  for (int signal : {SIGINT, SIGTERM, SIGHUP}) sigaction(signal, &action, nullptr);
}

void TransferStarts() { in_transfer.store(true); }

// A signal that came during the transfer has been dealt with by its undo:
// the program ends on it as soon as it can.
void TransferEnds() { in_transfer.store(false); }

int InterruptingSignal() { return interrupting_signal.load(); }

}  // namespace tolvashu
