#include <windows.h>

#include "files/path_win32.h"

#include "files/device_name.h"
#include "files/pattern_parts.h"
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

std::u32string FoldWideName(std::wstring_view name) {
  std::wstring upper(name);
  if (!upper.empty()) {
    // Without LCMAP_LINGUISTIC_CASING the mapping follows file-system rules.
    LCMapStringEx(LOCALE_NAME_INVARIANT, LCMAP_UPPERCASE, name.data(), static_cast<int>(name.size()), upper.data(),
                  static_cast<int>(upper.size()), nullptr, nullptr, 0);
  }
  std::u32string folded;
  folded.reserve(upper.size());
  for (std::size_t i = 0; i < upper.size(); ++i) {
    char32_t unit = upper[i];
    bool pair =
        unit >= 0xD800 && unit <= 0xDBFF && i + 1 < upper.size() && upper[i + 1] >= 0xDC00 && upper[i + 1] <= 0xDFFF;
    if (pair) {
      unit = 0x10000 + ((unit - 0xD800) << 10) + (upper[i + 1] - 0xDC00);
      ++i;
    }
    folded += unit;
  }
  return folded;
}

}  // namespace tolvashu
