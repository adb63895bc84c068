#include <windows.h>

#include "app/console_paths.h"
#include "text/wide_text_win32.h"

namespace tolvashu {

namespace {

bool IsRoot(const std::wstring& path) { return path.size() == 3 && path[1] == L':'; }

}  // namespace

// The system resolves the path as it would open it: against the current
// folder, or the current folder of another drive («D:game»).
std::string AbsoluteFolder(const std::string& path) {
  std::wstring wide = Utf8ToWide(path);
  DWORD size = GetFullPathNameW(wide.c_str(), 0, nullptr, nullptr);
  if (size == 0) return path;
  std::wstring full(size, L'\0');
  size = GetFullPathNameW(wide.c_str(), size, full.data(), nullptr);
  full.resize(size);
  while (full.size() > 1 && (full.back() == L'\\' || full.back() == L'/') && !IsRoot(full)) full.pop_back();
  return WideToUtf8(full);
}

bool EnterFolder(const std::string& folder) { return SetCurrentDirectoryW(Utf8ToWide(folder).c_str()) != 0; }

std::string ShownPath(std::string path) {
  for (char& c : path) {
    if (c == '/') c = '\\';
  }
  return path;
}

}  // namespace tolvashu
