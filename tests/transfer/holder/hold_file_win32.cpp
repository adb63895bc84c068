// Plays another program that holds files open, in one of two ways:
//
//   hold_file FILE ACCESS SHARING
//     the running game: opens FILE with the given access ("r", "rw" or "rd")
//     and sharing ("none", "r", "rw", "rwd"), writes "held" (or "failed" and
//     the error number) and a line end, and keeps the file open until its
//     input is closed;
//   hold_file --scan FOLDER MS
//     a virus scanner: watches FOLDER and its subfolders and opens every file
//     created, renamed into it or written there, for reading and without
//     sharing its deletion, for MS milliseconds each, as soon as the file can
//     be opened (one still being written is tried again until it is closed).
//     Writes "held" once it watches; once its input is closed, lets go of
//     every file and writes "scanned NAME" (relative to FOLDER) for each file
//     it held, in the order it took them.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <cwchar>
#include <iterator>
#include <set>
#include <string>
#include <vector>

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

void Say(const std::string& text) {
  DWORD written = 0;
  WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
}

std::string Utf8(const std::wstring& wide) {
  int size = WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0, nullptr, nullptr);
  std::string text(size, '\0');
  WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), text.data(), size, nullptr, nullptr);
  return text;
}

// Returns once the input is closed.
void WaitForTheEndOfInput() {
  char byte;
  DWORD got = 0;
  while (ReadFile(GetStdHandle(STD_INPUT_HANDLE), &byte, 1, &got, nullptr) && got > 0) {
  }
}

int HoldOneFile(const wchar_t* path, const wchar_t* access, const wchar_t* sharing) {
  HANDLE file = CreateFileW(path, Access(access), Sharing(sharing), nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    Say("failed " + std::to_string(GetLastError()) + "\n");
  } else {
    Say("held\n");
  }
  WaitForTheEndOfInput();
  if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
  return 0;
}

// Whether the input has been closed, without waiting.
bool InputClosed() {
  return !PeekNamedPipe(GetStdHandle(STD_INPUT_HANDLE), nullptr, 0, nullptr, nullptr, nullptr);
}

// The scanner's files: those it waits to open, and those it holds until
// their time is up.
class Scanner {
 public:
  Scanner(std::wstring folder, DWORD hold_ms) : folder_(std::move(folder)), hold_ms_(hold_ms) {}
  // Lets go of every file, and tells which it held.
  ~Scanner() {
    for (const Held& held : held_) CloseHandle(held.handle);
    for (const std::wstring& name : scanned_) Say("scanned " + Utf8(name) + "\n");
  }

  // The names of one batch of change notifications.
  void Notice(const char* changes) {
    for (auto* change = reinterpret_cast<const FILE_NOTIFY_INFORMATION*>(changes);;) {
      if (change->Action == FILE_ACTION_ADDED || change->Action == FILE_ACTION_RENAMED_NEW_NAME ||
          change->Action == FILE_ACTION_MODIFIED) {
        waiting_.emplace(change->FileName, change->FileNameLength / sizeof(wchar_t));
      }
      if (change->NextEntryOffset == 0) return;
      changes += change->NextEntryOffset;
      change = reinterpret_cast<const FILE_NOTIFY_INFORMATION*>(changes);
    }
  }

  // Lets go of what has been held long enough, and opens what can be
  // opened now: a file still being written is tried again, a folder or a
  // file gone is dropped.
  void Work() {
    const ULONGLONG now = GetTickCount64();
    for (auto it = held_.begin(); it != held_.end();) {
      if (now < it->until) {
        ++it;
        continue;
      }
      CloseHandle(it->handle);
      it = held_.erase(it);
    }
    for (auto it = waiting_.begin(); it != waiting_.end();) {
      HANDLE file = CreateFileW((folder_ + L"\\" + *it).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                nullptr, OPEN_EXISTING, 0, nullptr);
      const DWORD error = file == INVALID_HANDLE_VALUE ? GetLastError() : ERROR_SUCCESS;
      if (file != INVALID_HANDLE_VALUE) {
        held_.push_back({file, now + hold_ms_});
        scanned_.push_back(*it);
      }
      it = error == ERROR_SHARING_VIOLATION ? std::next(it) : waiting_.erase(it);
    }
  }

 private:
  struct Held {
    HANDLE handle;
    ULONGLONG until;
  };
  const std::wstring folder_;
  const DWORD hold_ms_;
  std::set<std::wstring> waiting_;
  std::vector<Held> held_;
  std::vector<std::wstring> scanned_;
};

// Watches with one change notification after the other, and works every
// millisecond in between.
int ScanFolder(const wchar_t* folder, const wchar_t* hold_ms) {
  HANDLE watched = CreateFileW(folder, FILE_LIST_DIRECTORY, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                               nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OVERLAPPED, nullptr);
  alignas(DWORD) static char changes[64 * 1024];
  OVERLAPPED overlapped{};
  overlapped.hEvent = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  const auto watch = [&] {
    constexpr DWORD kWhat = FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_LAST_WRITE | FILE_NOTIFY_CHANGE_SIZE;
    ResetEvent(overlapped.hEvent);
    return ReadDirectoryChangesW(watched, changes, sizeof changes, TRUE, kWhat, nullptr, &overlapped, nullptr);
  };
  if (watched == INVALID_HANDLE_VALUE || !watch()) {
    Say("failed " + std::to_string(GetLastError()) + "\n");
    WaitForTheEndOfInput();
    return 0;
  }
  Say("held\n");
  Scanner scanner(folder, static_cast<DWORD>(std::wcstoul(hold_ms, nullptr, 10)));
  while (!InputClosed()) {
    DWORD got = 0;
    if (WaitForSingleObject(overlapped.hEvent, 1) == WAIT_OBJECT_0) {
      if (GetOverlappedResult(watched, &overlapped, &got, FALSE) && got > 0) scanner.Notice(changes);
      if (!watch()) break;
    }
    scanner.Work();
  }
  CancelIo(watched);
  CloseHandle(watched);
  return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc != 4) return 2;
  if (std::wcscmp(argv[1], L"--scan") == 0) return ScanFolder(argv[2], argv[3]);
  return HoldOneFile(argv[1], argv[2], argv[3]);
}
