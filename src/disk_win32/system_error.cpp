#include <windows.h>

#include "disk_win32/system_error.h"

#include "text/wide_text_win32.h"

namespace tolvashu {

namespace {

std::string SystemMessage(DWORD code) {
  wchar_t* buffer = nullptr;
  DWORD length =
      FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                     nullptr, code, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
  std::wstring text(buffer ? buffer : L"", length);
  if (buffer) LocalFree(buffer);
  while (!text.empty() &&
         (text.back() == L'\r' || text.back() == L'\n' || text.back() == L' ' || text.back() == L'.')) {
    text.pop_back();
  }
  std::string result = WideToUtf8(text);
  if (!result.empty()) result += " ";
  return result + "(error " + std::to_string(code) + ")";
}

}  // namespace

std::string DescribeSystemError(unsigned long code) {
  switch (code) {
    case ERROR_ACCESS_DENIED:
      return "access denied";
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
      return "in use by another program";
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
      return "disk full";
    case ERROR_PATH_NOT_FOUND:
      return "folder missing";
    case ERROR_WRITE_PROTECT:
      return "write-protected";
    case ERROR_FILENAME_EXCED_RANGE:
      return "path too long";
    case ERROR_INVALID_NAME:
      return "invalid name";
    default:
      return SystemMessage(code);
  }
}

FailureCause CauseOfSystemError(unsigned long code) {
  switch (code) {
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
    case ERROR_USER_MAPPED_FILE:
      return FailureCause::kInUse;
    case ERROR_ACCESS_DENIED:
    case ERROR_WRITE_PROTECT:
      return FailureCause::kDenied;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
      return FailureCause::kDiskFull;
    case ERROR_CRC:
    case ERROR_READ_FAULT:
    case ERROR_SECTOR_NOT_FOUND:
      return FailureCause::kUnreadable;
    default:
      return FailureCause::kOther;
  }
}

DiskError SystemError(unsigned long code) {
  return {DiskError::kFailed, CauseOfSystemError(code), DescribeSystemError(code)};
}

DiskError ErrorOfSystem(unsigned long code) {
  DiskError error = SystemError(code);
  if (code == ERROR_FILE_NOT_FOUND) {
    error.kind = DiskError::kAbsent;
  } else if (code == ERROR_ALREADY_EXISTS || code == ERROR_FILE_EXISTS) {
    error.kind = DiskError::kTaken;
  } else if (IsNotFoundError(code)) {
    error.kind = DiskError::kNoFolder;
  }
  return error;
}

bool IsNotFoundError(unsigned long code) {
  switch (code) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_NAME:
    case ERROR_BAD_PATHNAME:
    case ERROR_INVALID_DRIVE:
    case ERROR_DIRECTORY:
    case ERROR_BAD_NETPATH:
    case ERROR_BAD_NET_NAME:
      return true;
    default:
      return false;
  }
}

}  // namespace tolvashu
