#include "winui/message_loop_win32.h"

namespace tolvashu {

bool RunWhileOpen(const TableWindow& window) {
  MSG message{};
  while (window.IsOpen()) {
    BOOL got = GetMessageW(&message, nullptr, 0, 0);
    if (got == 0) {
      PostQuitMessage(static_cast<int>(message.wParam));
      return false;
    }
    if (got == -1) return false;
    HWND root = message.hwnd ? GetAncestor(message.hwnd, GA_ROOT) : nullptr;
    if (root && IsDialogMessageW(root, &message)) continue;
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return true;
}

void DiscardPendingInput() {
  // Keyboard, client-area mouse, and mouse on the frames (the close box).
  constexpr UINT kRanges[][2] = {
      {WM_KEYFIRST, WM_KEYLAST}, {WM_MOUSEFIRST, WM_MOUSELAST}, {WM_NCMOUSEMOVE, WM_NCXBUTTONDBLCLK}};
  MSG message{};
  for (const auto& range : kRanges) {
    while (PeekMessageW(&message, nullptr, range[0], range[1], PM_REMOVE)) {
    }
  }
}

}  // namespace tolvashu
