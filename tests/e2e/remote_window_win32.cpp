#include "e2e/remote_window_win32.h"

#include "text/wide_text_win32.h"

namespace tolvashu::e2e {

namespace {

constexpr int kPollMs = 10;

struct TopLevelSearch {
  DWORD pid;
  std::vector<HWND> found;
};

BOOL CALLBACK CollectTopLevel(HWND window, LPARAM param) {
  auto* search = reinterpret_cast<TopLevelSearch*>(param);
  DWORD pid = 0;
  GetWindowThreadProcessId(window, &pid);
  if (pid == search->pid && IsWindowVisible(window)) search->found.push_back(window);
  return TRUE;
}

std::vector<HWND> VisibleTopLevels(DWORD pid) {
  TopLevelSearch search{pid, {}};
  EnumWindows(&CollectTopLevel, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

bool HasClass(HWND window, const wchar_t* window_class) {
  return !window_class || CompareStringOrdinal(ClassOf(window).c_str(), -1, window_class, -1, TRUE) == CSTR_EQUAL;
}

}  // namespace

HWND FindTopLevel(DWORD pid, const std::string& caption, const wchar_t* window_class) {
  for (HWND window : VisibleTopLevels(pid)) {
    if (TextOf(window) == caption && HasClass(window, window_class)) return window;
  }
  return nullptr;
}

std::vector<HWND> DialogsOwnedBy(DWORD pid, HWND owner) {
  std::vector<HWND> dialogs;
  for (HWND window : VisibleTopLevels(pid)) {
    if (HasClass(window, L"#32770") && GetWindow(window, GW_OWNER) == owner) dialogs.push_back(window);
  }
  return dialogs;
}

HWND FindChild(HWND parent, const wchar_t* window_class, const std::string& text) {
  std::wstring wide = Utf8ToWide(text);
  return FindWindowExW(parent, nullptr, window_class, wide.c_str());
}

HWND WaitFor(const std::function<HWND()>& find, int timeout_ms) {
  for (int waited = 0;; waited += kPollMs) {
    if (HWND window = find()) return window;
    if (waited >= timeout_ms) return nullptr;
    Sleep(kPollMs);
  }
}

bool WaitUntilGone(HWND window, int timeout_ms) {
  if (!window) return true;
  // The handle itself, no longer valid, is the non-null answer that ends the wait.
  return WaitFor([&]() -> HWND { return IsWindow(window) ? nullptr : window; }, timeout_ms) != nullptr;
}

std::string TextOf(HWND window) {
  int length = GetWindowTextLengthW(window);
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  int got = GetWindowTextW(window, text.data(), length + 1);
  text.resize(static_cast<size_t>(got > 0 ? got : 0));
  return WideToUtf8(text);
}

std::wstring ClassOf(HWND window) {
  wchar_t name[64] = {};
  GetClassNameW(window, name, 64);
  return name;
}

SIZE ClientSize(HWND window) {
  RECT client{};
  GetClientRect(window, &client);
  return SIZE{client.right - client.left, client.bottom - client.top};
}

RECT RectInParent(HWND child) {
  RECT rect{};
  GetWindowRect(child, &rect);
  MapWindowPoints(HWND_DESKTOP, GetParent(child), reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

HWND FocusOf(DWORD thread_id) {
  GUITHREADINFO info{};
  info.cbSize = sizeof(info);
  return GetGUIThreadInfo(thread_id, &info) ? info.hwndFocus : nullptr;
}

void Press(HWND button) { PostMessageW(button, BM_CLICK, 0, 0); }

void TypeKey(WORD key_code, bool shift) {
  std::vector<INPUT> keys;
  auto key = [&keys](WORD code, bool up) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = code;
    input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    keys.push_back(input);
  };
  if (shift) key(VK_SHIFT, false);
  key(key_code, false);
  key(key_code, true);
  if (shift) key(VK_SHIFT, true);
  SendInput(static_cast<UINT>(keys.size()), keys.data(), sizeof(INPUT));
}

void Close(HWND window) { PostMessageW(window, WM_CLOSE, 0, 0); }

MessageBoxView ReadMessageBox(HWND box) {
  MessageBoxView view;
  for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    if (!HasClass(child, L"Static") || !IsWindowVisible(child)) continue;
    LONG style = GetWindowLongW(child, GWL_STYLE);
    if ((style & SS_TYPEMASK) == SS_ICON) {
      // The icon control is there in every box; it holds an icon only when
      // the box was asked for one.
      view.has_icon = view.has_icon || SendMessageW(child, STM_GETICON, 0, 0) != 0;
    } else if (view.text.empty()) {
      view.text = TextOf(child);
    }
  }
  return view;
}

bool TypeIntoPicker(HWND picker, const std::string& text) {
  // The name box is the picker's one visible edit box (inside a combo box
  // on some systems).
  HWND box = nullptr;
  EnumChildWindows(
      picker,
      [](HWND child, LPARAM found) -> BOOL {
        if (!IsWindowVisible(child) || !HasClass(child, L"Edit")) return TRUE;
        *reinterpret_cast<HWND*>(found) = child;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&box));
  if (!box) return false;
  // WM_SETTEXT carries its text to another process by itself.
  std::wstring wide = Utf8ToWide(text);
  DWORD_PTR taken = 0;
  return SendMessageTimeoutW(box, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(wide.c_str()), SMTO_ABORTIFHUNG, kWaitMs,
                             &taken) &&
         taken == TRUE;
}

void PressDialogButton(HWND dialog, int id) {
  PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

}  // namespace tolvashu::e2e
