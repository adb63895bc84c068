// Compares a live window of the installer with the table it was made from:
// caption, frame, client size, start position, every control's class, text,
// style and rectangle, the initial focus and the Tab sequence.
#pragma once

#include <windows.h>

#include <map>
#include <string>

#include "e2e/checks.h"
#include "winui/window_table.h"

namespace tolvashu::e2e {

// The controls of a live window by name. `captions` gives the text of the
// controls whose caption is set at run time (BT2 of Form2); a control with
// no caption in its table and none given (the notice's bar and file name)
// is found by its place in the table instead.
using Controls = std::map<std::string, HWND>;
Controls FindControls(Checks& checks, HWND window, const WindowTable& table,
                      const std::map<std::string, std::string>& captions = {});

// Everything that can be seen without input: caption, frame style, client
// size, centring and the controls' styles and rectangles. (Wine answers no
// WM_GETICON from another process, so the windows' icons are checked by the
// window unit tests, and the program file's icon by CheckProgramFile.)
void CheckLayout(Checks& checks, HWND window, const WindowTable& table, const Controls& controls);

// The initial focus, then Tab through every control that takes the focus
// and back with Shift+Tab, in the table's tab index order. The window must
// be the active window of `thread_id`.
void CheckFocusAndTabOrder(Checks& checks, const WindowTable& table, const Controls& controls, DWORD thread_id);

}  // namespace tolvashu::e2e
