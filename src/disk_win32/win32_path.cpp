#include <windows.h>

#include "disk_win32/win32_path.h"

#include "disk/device_name.h"
#include "disk/path_parts.h"
#include "text/wide_text_win32.h"

namespace tolvashu {

namespace {

// CreateDirectoryW allows 12 characters less than MAX_PATH, to leave room
// for an 8.3 name inside the new folder; stay below that everywhere.
constexpr std::size_t kClassicPathLimit = MAX_PATH - 12;

bool HasSystemPrefix(std::wstring_view path) {
  return path.size() >= 4 && (path.substr(0, 4) == L"\\\\?\\" || path.substr(0, 4) == L"\\\\.\\");
}

std::wstring FullPath(const std::wstring& path) {
  DWORD size = GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
  if (size == 0) return path;
  std::wstring full(size, L'\0');
  DWORD written = GetFullPathNameW(path.c_str(), size, full.data(), nullptr);
  if (written == 0 || written >= size) return path;
  full.resize(written);
  return full;
}

}  // namespace

std::wstring ToWin32Path(std::string_view utf8) {
  std::wstring path = Utf8ToWide(utf8);
  if (path.size() < kClassicPathLimit || HasSystemPrefix(path)) return path;
  std::wstring full = FullPath(path);
  if (full.size() >= 2 && full[0] == L'\\' && full[1] == L'\\') return L"\\\\?\\UNC\\" + full.substr(2);
  if (full.size() >= 3 && full[1] == L':' && full[2] == L'\\') return L"\\\\?\\" + full;
  return path;  // a form the prefix cannot express: let the system judge it
}

bool NamesMissingDrive(std::string_view path) {
  if (path.size() < 2 || path[1] != ':') return false;
  char letter = path[0];
  if (!((letter >= 'A' && letter <= 'Z') || (letter >= 'a' && letter <= 'z'))) return false;
  const wchar_t root[] = {static_cast<wchar_t>(letter), L':', L'\\', L'\0'};
  return GetDriveTypeW(root) == DRIVE_NO_ROOT_DIR;
}

bool NamesDevice(std::string_view path) { return IsDeviceName(path.substr(NameStart(path))); }

}  // namespace tolvashu
