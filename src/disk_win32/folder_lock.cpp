#include <windows.h>

#include "disk_win32/folder_lock.h"

#include <utility>

#include "disk/path_parts.h"
#include "disk/temporary_name.h"
#include "disk_win32/handle.h"
#include "disk_win32/system_error.h"
#include "disk_win32/win32_path.h"

namespace tolvashu {

namespace {

// A lock file whose holder has just closed it is being deleted: for that
// moment the system refuses it with "access denied". A short wait tells
// that moment from a folder where nobody may write.
constexpr int kTries = 20;
constexpr DWORD kPauseMs = 10;

class Win32FolderLock : public FolderLock {
 public:
  explicit Win32FolderLock(ScopedHandle handle) : handle_(std::move(handle)) {}

 private:
  ScopedHandle handle_;
};

}  // namespace

Result<std::unique_ptr<FolderLock>> LockFolderOnWindows(const std::string& folder) {
  const std::wstring path = ToWin32Path(WithSeparator(folder) + std::string(kLockName));
  DWORD error = ERROR_SUCCESS;
  for (int attempt = 0; attempt < kTries; ++attempt) {
    ScopedHandle handle(CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE | DELETE, 0, nullptr, OPEN_ALWAYS,
                                    FILE_ATTRIBUTE_HIDDEN | FILE_FLAG_DELETE_ON_CLOSE, nullptr));
    if (handle.valid()) return std::unique_ptr<FolderLock>(std::make_unique<Win32FolderLock>(std::move(handle)));
    error = GetLastError();
    if (error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION) {
      return DiskError{DiskError::kTaken, FailureCause::kInUse, "locked by another operation"};
    }
    if (error != ERROR_ACCESS_DENIED) break;
    Sleep(kPauseMs);
  }
  return ErrorOfSystem(error);
}

}  // namespace tolvashu
