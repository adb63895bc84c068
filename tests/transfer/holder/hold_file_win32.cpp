// Plays a running game that holds a file open: opens the file named on its
// command line with the given access ("r", "rw" or "rd") and sharing ("none",
// "r", "rw", "rwd"), writes "held" (or "failed" and the error number) and a
// line end to its output, and keeps the file open until its input is closed.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <cwchar>

namespace {

DWORD Access(const wchar_t* text) {
  DWORD access = GENERIC_READ;
  if (std::wcschr(text, L'w')) access |= GENERIC_WRITE;
  if (std::wcschr(text, L'd')) access |= DELETE;
  return access;
}

DWORD Sharing(const wchar_t* text) {
  DWORD sharing = 0;
  if (std::wcschr(text, L'r')) sharing |= FILE_SHARE_READ;
  if (std::wcschr(text, L'w')) sharing |= FILE_SHARE_WRITE;
  if (std::wcschr(text, L'd')) sharing |= FILE_SHARE_DELETE;
  return std::wcscmp(text, L"none") == 0 ? 0 : sharing;
}

void Say(const char* text) {
  DWORD written = 0;
  WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), text, static_cast<DWORD>(std::strlen(text)), &written, nullptr);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc != 4) return 2;
  HANDLE file = CreateFileW(argv[1], Access(argv[2]), Sharing(argv[3]), nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    char failed[32];
    std::snprintf(failed, sizeof failed, "failed %lu\n", GetLastError());
    Say(failed);
  } else {
    Say("held\n");
  }
  char byte;
  DWORD got = 0;
  while (ReadFile(GetStdHandle(STD_INPUT_HANDLE), &byte, 1, &got, nullptr) && got > 0) {
  }
  if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
  return 0;
}
