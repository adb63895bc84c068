// Finding, reading and working the windows of another process (the
// installer under test) the way a user would: by caption, with clicks and
// keys. Window texts are read with GetWindowTextW, which answers even while
// the other process is busy.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace tolvashu::e2e {

inline constexpr int kWaitMs = 20000;

// The visible top-level window of process `pid` with exactly this caption
// (UTF-8) and, when given, this window class; null when there is none.
HWND FindTopLevel(DWORD pid, const std::string& caption, const wchar_t* window_class = nullptr);
// The visible top-level dialogs (class #32770) of `pid` owned by `owner`.
std::vector<HWND> DialogsOwnedBy(DWORD pid, HWND owner);
// The child window of this class and text (UTF-8), or null.
HWND FindChild(HWND parent, const wchar_t* window_class, const std::string& text);

// Polls `find` until it returns a window or `timeout_ms` have passed.
HWND WaitFor(const std::function<HWND()>& find, int timeout_ms = kWaitMs);
// Polls until the window no longer exists.
bool WaitUntilGone(HWND window, int timeout_ms = kWaitMs);

std::string TextOf(HWND window);
std::wstring ClassOf(HWND window);
// The client area's size, and a child's rectangle in its parent's client
// coordinates.
SIZE ClientSize(HWND window);
RECT RectInParent(HWND child);
// The window that has the keyboard focus in that thread, or null.
HWND FocusOf(DWORD thread_id);

// Presses a button as a click does, without waiting for what it starts.
void Press(HWND button);
// Types a key (with Shift held, when asked) into whatever window has the
// focus.
void TypeKey(WORD key, bool shift = false);
// Asks a window to close, as its close box does.
void Close(HWND window);

// What a message box shows.
struct MessageBoxView {
  std::string text;
  bool has_icon = false;
};
MessageBoxView ReadMessageBox(HWND box);
// Types `text` (UTF-8) into the name box of the folder picker `picker`, as
// a user typing or pasting a path does. False when the picker has no such
// box or the box did not take the text.
bool TypeIntoPicker(HWND picker, const std::string& text);
// Ends a dialog with its OK or Cancel button.
void PressDialogButton(HWND dialog, int id);

}  // namespace tolvashu::e2e
