#include "folderchoice/browse_for_game_folder_win32.h"

#include <shlobj.h>

#include <cwchar>

#include "folderchoice/folder_picker_win32.h"
#include "folderchoice/form2_texts.h"
#include "text/wide_text_win32.h"

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

// Moves the older browser to the start folder once it has opened.
int CALLBACK SelectStartFolder(HWND browser, UINT message, LPARAM, LPARAM start_folder) {
  if (message == BFFM_INITIALIZED && start_folder) SendMessageW(browser, BFFM_SETSELECTIONW, TRUE, start_folder);
  return 0;
}

// The shell's older folder browser, for systems where the picker cannot be
// made: with an edit box to type a path in, and the resizable new style.
std::optional<std::string> BrowseWithShellBrowser(HWND owner, const std::wstring& title,
                                                  const std::wstring& start_folder) {
  wchar_t display_name[MAX_PATH] = {};
  BROWSEINFOW info{};
  info.hwndOwner = owner;
  info.pidlRoot = nullptr;
  info.pszDisplayName = display_name;  // not used; some shells write to it
  info.lpszTitle = title.c_str();
  info.ulFlags = BIF_RETURNONLYFSDIRS | BIF_EDITBOX | BIF_NEWDIALOGSTYLE;
  info.lpfn = &SelectStartFolder;
  info.lParam = start_folder.empty() ? 0 : reinterpret_cast<LPARAM>(start_folder.c_str());
  PIDLIST_ABSOLUTE item = SHBrowseForFolderW(&info);
  if (!item) return std::nullopt;
  std::optional<std::wstring> path = PathOfItem(item);
  CoTaskMemFree(item);
  return path ? WideToUtf8(*path) : std::string();
}

}  // namespace

std::optional<std::string> BrowseForGameFolder(HWND owner, const std::string& start_folder) {
  // The wide calls take the title as it is; no ANSI copy is needed.
  const std::wstring title = Utf8ToWide(form2::kBrowserTitle);
  const std::wstring start = Utf8ToWide(start_folder);
  PickerAnswer picked = PickFolder(owner, title, start);
  if (picked.shown) return picked.folder;
  return BrowseWithShellBrowser(owner, title, start);
}

}  // namespace tolvashu
