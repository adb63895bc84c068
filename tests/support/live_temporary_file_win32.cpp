#include <windows.h>

#include <utility>

#include "support/live_temporary_file.h"
#include "support/scratch_folder.h"

namespace tolvashu::testing {

LiveTemporaryFile::LiveTemporaryFile(const std::string& path)
    : path_(path),
      handle_(
          CreateFileW(ToPath(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_HIDDEN, nullptr)) {}

LiveTemporaryFile::~LiveTemporaryFile() {
  if (handle_ != INVALID_HANDLE_VALUE) CloseHandle(handle_);
}

bool LiveTemporaryFile::Finish(std::string_view content, const std::string& destination) {
  HANDLE file = std::exchange(handle_, INVALID_HANDLE_VALUE);
  DWORD written = 0;
  bool ok = file != INVALID_HANDLE_VALUE &&
            WriteFile(file, content.data(), static_cast<DWORD>(content.size()), &written, nullptr) &&
            written == content.size();
  return CloseHandle(file) && ok &&
         MoveFileExW(ToPath(path_).c_str(), ToPath(destination).c_str(), MOVEFILE_REPLACE_EXISTING);
}

}  // namespace tolvashu::testing
