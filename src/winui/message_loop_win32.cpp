#include "winui/message_loop_win32.h"

namespace tolvashu {

namespace {

// Keyboard, client-area mouse, and mouse on the frames (the close box).
constexpr UINT kInputRanges[][2] = {
    {WM_KEYFIRST, WM_KEYLAST}, {WM_MOUSEFIRST, WM_MOUSELAST}, {WM_NCMOUSEMOVE, WM_NCXBUTTONDBLCLK}};

bool IsInput(UINT message) {
  for (const auto& range : kInputRanges) {
    if (message >= range[0] && message <= range[1]) return true;
  }
  return false;
}

// The longest one call of AnswerPendingMessages keeps the caller from its
// work, even when messages keep coming.
constexpr ULONGLONG kAnswerBudgetMs = 50;

}  // namespace

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

std::optional<int> AnswerPendingMessages() {
  const ULONGLONG start = GetTickCount64();
  MSG message{};
  while (GetTickCount64() - start < kAnswerBudgetMs && PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) return static_cast<int>(message.wParam);
    if (IsInput(message.message)) continue;
    DispatchMessageW(&message);
  }
  return std::nullopt;
}

void DiscardPendingInput() {
  MSG message{};
  for (const auto& range : kInputRanges) {
    while (PeekMessageW(&message, nullptr, range[0], range[1], PM_REMOVE)) {
    }
  }
}

}  // namespace tolvashu
