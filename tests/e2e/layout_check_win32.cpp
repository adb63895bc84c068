#include "e2e/layout_check_win32.h"

#include <commctrl.h>

#include <algorithm>
#include <cstdlib>
#include <vector>

#include "e2e/remote_window_win32.h"
#include "text/wide_text_win32.h"
#include "winui/display_text.h"
#include "winui/table_window_win32.h"

namespace tolvashu::e2e {

namespace {

int WindowDpi(HWND window) {
  UINT dpi = GetDpiForWindow(window);
  return static_cast<int>(dpi ? dpi : GetDpiForSystem());
}

std::string Named(const WindowTable& table, const std::string& what) { return std::string(table.name) + ": " + what; }

void CheckFrame(Checks& checks, HWND window, const WindowTable& table) {
  LONG style = GetWindowLongW(window, GWL_STYLE);
  LONG ex_style = GetWindowLongW(window, GWL_EXSTYLE);
  checks.Expect((style & WS_CAPTION) == WS_CAPTION && (style & WS_SYSMENU), Named(table, "caption and close box"));
  checks.Expect(!(style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX)), Named(table, "no minimise or maximise box"));
  checks.Expect(!(style & WS_THICKFRAME), Named(table, "fixed border, not sizable"));
  bool tool = table.frame == Frame::kFixedToolWindow;
  checks.Expect(((ex_style & WS_EX_TOOLWINDOW) != 0) == tool, Named(table, tool ? "a tool window" : "not a tool window"));
  if (tool) checks.Expect(!(ex_style & WS_EX_APPWINDOW), Named(table, "not forced into the taskbar"));
}

// On the primary screen's work area, or on the owner window.
void CheckCentred(Checks& checks, HWND window, const WindowTable& table) {
  if (table.start == StartPosition::kPlatform) return;
  const bool on_owner = table.start == StartPosition::kCenterOwner;
  RECT area{};
  if (on_owner) {
    GetWindowRect(GetWindow(window, GW_OWNER), &area);
  } else {
    MONITORINFO monitor{};
    monitor.cbSize = sizeof(monitor);
    GetMonitorInfoW(MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY), &monitor);
    area = monitor.rcWork;
  }
  RECT outer{};
  GetWindowRect(window, &outer);
  long dx = (outer.left + outer.right) - (area.left + area.right);
  long dy = (outer.top + outer.bottom) - (area.top + area.bottom);
  checks.Expect(std::labs(dx) <= 2 && std::labs(dy) <= 2,
                Named(table, on_owner ? "centred on its owner" : "centred on the screen"));
}

// A label is at least as large as its table says, and grows only as far as
// the client area reaches (to show its whole text in a larger font).
void CheckLabelSize(Checks& checks, HWND label, const RECT& actual, const ControlRow& wanted, const std::string& what,
                    int dpi) {
  SIZE client = ClientSize(GetParent(label));
  checks.Expect(actual.right - actual.left >= TwipsToPixels(wanted.rect.width, dpi) && actual.right <= client.cx,
                what + " width: the table's, or wider within the window");
  checks.Expect(actual.bottom - actual.top >= TwipsToPixels(wanted.rect.height, dpi) && actual.bottom <= client.cy,
                what + " height: the table's, or taller within the window");
}

void CheckControl(Checks& checks, HWND control, const ControlRow& wanted, const WindowTable& table, int dpi) {
  std::string what = Named(table, wanted.name);
  RECT actual = RectInParent(control);
  const TwipsRect& r = wanted.rect;
  checks.ExpectEqual(actual.left, TwipsToPixels(r.left, dpi), what + " left");
  checks.ExpectEqual(actual.top, TwipsToPixels(r.top, dpi), what + " top");
  if (wanted.kind == ControlKind::kLabel) {
    CheckLabelSize(checks, control, actual, wanted, what, dpi);
    return;
  }
  checks.ExpectEqual(actual.right - actual.left, TwipsToPixels(r.width, dpi), what + " width");
  checks.ExpectEqual(actual.bottom - actual.top, TwipsToPixels(r.height, dpi), what + " height");
  LONG style = GetWindowLongW(control, GWL_STYLE);
  if (wanted.kind == ControlKind::kProgressBar) checks.Expect((style & PBS_MARQUEE) == 0, what + " fills as it goes");
  if (!IsButton(wanted.kind)) return;
  checks.ExpectEqual(style & BS_TYPEMASK, BS_PUSHBUTTON, what + " is a plain push button (not default)");
  checks.Expect((style & WS_TABSTOP) != 0, what + " is a Tab stop");
  bool multi = wanted.kind == ControlKind::kMultiLineButton;
  checks.Expect(((style & BS_MULTILINE) != 0) == multi, what + (multi ? " breaks lines" : " is one line"));
}

// The buttons that can take the focus now, in tab index order.
std::vector<const ControlRow*> FocusableInTabOrder(const WindowTable& table, const Controls& controls) {
  std::vector<const ControlRow*> order;
  for (std::size_t i = 0; i < table.control_count; ++i) {
    auto found = controls.find(table.controls[i].name);
    if (IsButton(table.controls[i].kind) && found != controls.end() && IsWindowEnabled(found->second)) {
      order.push_back(&table.controls[i]);
    }
  }
  std::sort(order.begin(), order.end(),
            [](const ControlRow* a, const ControlRow* b) { return a->tab_index < b->tab_index; });
  return order;
}

std::string NameOf(const Controls& controls, HWND window) {
  for (const auto& [name, hwnd] : controls) {
    if (hwnd == window) return name;
  }
  if (!window) return "(nothing)";
  return "(another window: " + WideToUtf8(ClassOf(window)) + " «" + TextOf(window) + "»)";
}

// Types Tab once and waits for the focus to move.
HWND TabFrom(HWND from, bool shift, DWORD thread_id) {
  TypeKey(VK_TAB, shift);
  HWND moved = WaitFor([&]() -> HWND {
    HWND now = FocusOf(thread_id);
    return now != from ? now : nullptr;
  }, 2000);
  return moved ? moved : FocusOf(thread_id);
}

}  // namespace

Controls FindControls(Checks& checks, HWND window, const WindowTable& table,
                      const std::map<std::string, std::string>& captions) {
  Controls found;
  for (std::size_t i = 0; i < table.control_count; ++i) {
    const ControlRow& control = table.controls[i];
    auto runtime = captions.find(control.name);
    const wchar_t* window_class = ControlClassName(control.kind);
    if (runtime == captions.end() && *control.caption == '\0') {
      HWND hwnd = GetDlgItem(window, TableControlId(i));
      bool ok = hwnd && CompareStringOrdinal(ClassOf(hwnd).c_str(), -1, window_class, -1, TRUE) == CSTR_EQUAL;
      if (checks.Expect(ok, Named(table, std::string(control.name) + " found in its place"))) {
        found[control.name] = hwnd;
      }
      continue;
    }
    std::string caption = runtime != captions.end() ? runtime->second : control.caption;
    HWND hwnd = FindChild(window, window_class, ControlText(control.kind, caption));
    if (checks.Expect(hwnd != nullptr, Named(table, std::string(control.name) + " found by its caption «" + caption + "»"))) {
      found[control.name] = hwnd;
    }
  }
  return found;
}

void CheckLayout(Checks& checks, HWND window, const WindowTable& table, const Controls& controls) {
  checks.ExpectEqual(TextOf(window), table.caption, Named(table, "caption"));
  CheckFrame(checks, window, table);
  const int dpi = WindowDpi(window);
  SIZE client = ClientSize(window);
  checks.ExpectEqual(client.cx, TwipsToPixels(table.client_width, dpi), Named(table, "client width"));
  checks.ExpectEqual(client.cy, TwipsToPixels(table.client_height, dpi), Named(table, "client height"));
  CheckCentred(checks, window, table);
  for (std::size_t i = 0; i < table.control_count; ++i) {
    auto control = controls.find(table.controls[i].name);
    if (control != controls.end()) CheckControl(checks, control->second, table.controls[i], table, dpi);
  }
}

void CheckFocusAndTabOrder(Checks& checks, const WindowTable& table, const Controls& controls, DWORD thread_id) {
  std::vector<const ControlRow*> order = FocusableInTabOrder(table, controls);
  if (order.empty() || controls.size() != table.control_count) return;
  // The window is found as soon as it is visible, which can be a moment
  // before its activation has run; what counts is where the focus settles.
  auto initial = controls.find(table.initial_focus);
  HWND wanted = initial != controls.end() ? initial->second : nullptr;
  WaitFor([&]() -> HWND { return FocusOf(thread_id) == wanted ? wanted : nullptr; }, 2000);
  HWND focus = FocusOf(thread_id);
  checks.ExpectEqual(NameOf(controls, focus), table.initial_focus, Named(table, "initial focus"));
  std::size_t start = 0;
  while (start < order.size() && order[start]->name != std::string(table.initial_focus)) ++start;
  if (start == order.size()) start = 0;
  const std::size_t n = order.size();
  // Forward once round, back to the start, then backward once round.
  for (std::size_t step = 1; step <= n; ++step) {
    focus = TabFrom(focus, false, thread_id);
    checks.ExpectEqual(NameOf(controls, focus), order[(start + step) % n]->name, Named(table, "Tab step"));
  }
  for (std::size_t step = 1; step <= n; ++step) {
    focus = TabFrom(focus, true, thread_id);
    checks.ExpectEqual(NameOf(controls, focus), order[(start + n - step) % n]->name, Named(table, "Shift+Tab step"));
  }
}

}  // namespace tolvashu::e2e
