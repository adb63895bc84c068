// Waits out a passing lock: on Windows a virus scanner, the search indexer,
// a backup or cloud-sync program opens a file right after it is written or
// renamed, for tens of milliseconds to a few seconds, often without sharing
// its deletion; a rename, a deletion or an open in that moment fails with a
// sharing violation, a lock violation or "access denied". Such a failure is
// tried again after a short, growing wait, up to a bound for each file,
// before it counts. A read-only file, or a folder where a file is wanted,
// fails at once: that "access denied" does not pass. A file held for longer
// than the bound (the running game's) fails after it.
//
// Nothing is asked of the system before the first try fails, so a call that
// succeeds costs exactly its own call.
#pragma once

#include <functional>
#include <string>
#include <utility>

#include "disk/disk.h"

namespace tolvashu {

// How long a lock is waited out: the first wait, each wait twice the one
// before up to the longest, until the waits add up to the total.
struct PassingLockWaits {
  unsigned first_ms = 10;
  unsigned longest_ms = 250;  // short enough that the windows answer in between
  unsigned total_ms = 2000;   // for each file, in all
};

class PassingLocks {
 public:
  explicit PassingLocks(PassingLockWaits waits = {}) : waits_(waits) {}

  // Called before each wait, so that the caller's windows answer while a
  // lock is waited out. Empty: no call.
  void SetWaitHook(ChunkHook hook) { wait_hook_ = std::move(hook); }

  // Calls `attempt` (true on success; on failure it leaves the system's
  // error for GetLastError) until it succeeds, or fails other than by a
  // passing lock on `path` (an entry of the kind `kind`), or the waits are
  // spent. On failure GetLastError tells the last attempt's error.
  template <typename Attempt>
  bool Try(EntryKind kind, const std::wstring& path, Attempt&& attempt) const {
    return attempt() || TryAgain(kind, path, std::function<bool()>(std::forward<Attempt>(attempt)));
  }
  template <typename Attempt>
  bool Try(const std::wstring& path, Attempt&& attempt) const {
    return Try(EntryKind::kFile, path, std::forward<Attempt>(attempt));
  }

 private:
  // After a first failure.
  bool TryAgain(EntryKind kind, const std::wstring& path, const std::function<bool()>& attempt) const;

  PassingLockWaits waits_;
  ChunkHook wait_hook_;
};

// Whether the Win32 error `code`, met on `path`, may be another program's
// passing hold of it: a sharing or lock violation; "access denied" unless
// `path` is read-only, is a folder where a file (kind kFile) is meant, or
// is not there at all (then the folder refused it).
bool MayBePassingLock(unsigned long code, EntryKind kind, const std::wstring& path);

}  // namespace tolvashu
