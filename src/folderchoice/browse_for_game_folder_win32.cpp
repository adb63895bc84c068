#include "folderchoice/browse_for_game_folder_win32.h"

#include <shlobj.h>

#include <cwchar>

#include "folderchoice/form2_texts.h"
#include "transfer/wide_text_win32.h"

namespace tolvashu {

namespace {

// Long enough for any path the file system can hold, not only MAX_PATH.
constexpr DWORD kLongPathChars = 32768;

std::optional<std::wstring> PathOfItem(PCIDLIST_ABSOLUTE item) {
  std::wstring path(kLongPathChars, L'\0');
  if (!SHGetPathFromIDListEx(item, path.data(), kLongPathChars, GPFIDL_DEFAULT)) return std::nullopt;
  path.resize(std::wcslen(path.c_str()));
  return path;
}

}  // namespace

std::optional<std::string> BrowseForGameFolder(HWND owner) {
  // The wide call takes the title as it is; no ANSI copy is needed.
  std::wstring title = Utf8ToWide(form2::kBrowserTitle);
  wchar_t display_name[MAX_PATH] = {};
  BROWSEINFOW info{};
  info.hwndOwner = owner;
  info.pidlRoot = nullptr;
  info.pszDisplayName = display_name;  // not used; some shells write to it
  info.lpszTitle = title.c_str();
  info.ulFlags = BIF_RETURNONLYFSDIRS;
  PIDLIST_ABSOLUTE item = SHBrowseForFolderW(&info);
  if (!item) return std::nullopt;
  std::optional<std::wstring> path = PathOfItem(item);
  CoTaskMemFree(item);
  return path ? WideToUtf8(*path) : std::string();
}

}  // namespace tolvashu
