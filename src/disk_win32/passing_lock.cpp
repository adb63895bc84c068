#include <windows.h>

#include "disk_win32/passing_lock.h"

#include <algorithm>

namespace tolvashu {

// A name whose file was deleted while another program still holds it stays
// until that program lets go, and refuses everything, a look at its
// attributes too, with "access denied": that passes as well.
bool MayBePassingLock(unsigned long code, EntryKind kind, const std::wstring& path) {
  if (code == ERROR_SHARING_VIOLATION || code == ERROR_LOCK_VIOLATION) return true;
  if (code != ERROR_ACCESS_DENIED) return false;
  const DWORD attributes = GetFileAttributesW(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) {
    const DWORD looked = GetLastError();
    return looked == ERROR_ACCESS_DENIED || looked == ERROR_SHARING_VIOLATION;
  }
  if (attributes & FILE_ATTRIBUTE_READONLY) return false;
  return kind == EntryKind::kFolder || (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

bool PassingLocks::TryAgain(EntryKind kind, const std::wstring& path, const std::function<bool()>& attempt) const {
  DWORD error = GetLastError();
  unsigned waited = 0;
  for (unsigned wait = waits_.first_ms; waited < waits_.total_ms && MayBePassingLock(error, kind, path);
       wait = std::min(wait * 2, waits_.longest_ms)) {
    const unsigned pause = std::max(1u, std::min(wait, waits_.total_ms - waited));
    if (wait_hook_) wait_hook_();
    Sleep(pause);
    waited += pause;
    if (attempt()) return true;
    error = GetLastError();
  }
  SetLastError(error);
  return false;
}

}  // namespace tolvashu
