// The installer's message boxes: modal over their owner, OK only, the
// application's title, and an icon only where the caller asks for one.
#pragma once

#include <windows.h>

#include <string>

namespace tolvashu {

// `icon` is 0 or one MB_ICON... style. CR in `text` breaks a line. Returns
// when the user has closed the box.
void ShowMessageBox(HWND owner, const std::string& text, UINT icon);

}  // namespace tolvashu
