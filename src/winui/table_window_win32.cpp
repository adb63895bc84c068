#include "winui/table_window_win32.h"

#include <commctrl.h>

#include <string_view>

#include "text/wide_text_win32.h"
#include "winui/display_text.h"
#include "winui/program_icon.h"
#include "winui/text_fit_win32.h"

namespace tolvashu {

namespace {

constexpr wchar_t kWindowClass[] = L"TolvashuWindow";
// The space a push button keeps between its edges and its caption, on
// either side.
constexpr int kButtonTextMarginTwips = 120;
// How often a marquee bar moves its block, in milliseconds.

struct FrameStyle {
  DWORD style;
  DWORD ex_style;
};

// Fixed border, caption and close box, no minimise or maximise box, no
// sizing border.
FrameStyle StyleOf(Frame frame) {
  constexpr DWORD kFixed = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
  switch (frame) {
    case Frame::kFixedToolWindow:
      return {kFixed, WS_EX_TOOLWINDOW};
    case Frame::kFixedSingle:
      break;
  }
  return {kFixed, 0};
}

// No button is a default or cancel button: all are plain push buttons.
DWORD ControlStyle(ControlKind kind) {
  constexpr DWORD kChild = WS_CHILD | WS_VISIBLE;
  switch (kind) {
    case ControlKind::kButton:
      return kChild | WS_TABSTOP | BS_PUSHBUTTON;
    case ControlKind::kMultiLineButton:
      return kChild | WS_TABSTOP | BS_PUSHBUTTON | BS_MULTILINE;
    case ControlKind::kFileNameLabel:
      return kChild | SS_LEFT | SS_NOPREFIX | SS_PATHELLIPSIS;
    case ControlKind::kProgressBar:
      return kChild | PBS_SMOOTH;
    case ControlKind::kLabel:
      break;
  }
  return kChild | SS_LEFT | SS_NOPREFIX;
}

// The progress bar is a common control: its class exists once the common
// controls library has registered it.
bool RegisterControlClass(ControlKind kind) {
  if (kind != ControlKind::kProgressBar) return true;
  INITCOMMONCONTROLSEX classes{sizeof(classes), ICC_PROGRESS_CLASS};
  return InitCommonControlsEx(&classes) != FALSE;
}

std::wstring DisplayText(ControlKind kind, const std::string& text) {
  return Utf8ToWide(ControlText(kind, text));
}

HINSTANCE ProgramModule() { return GetModuleHandleW(nullptr); }

HICON LoadProgramIcon(int width, int height, UINT flags) {
  return static_cast<HICON>(
      LoadImageW(ProgramModule(), MAKEINTRESOURCEW(kProgramIconId), IMAGE_ICON, width, height, flags));
}

bool RegisterWindowClass(WNDPROC procedure) {
  static bool registered = false;
  if (registered) return true;
  WNDCLASSEXW window_class{};
  window_class.cbSize = sizeof(window_class);
  window_class.lpfnWndProc = procedure;
  window_class.hInstance = ProgramModule();
  window_class.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  window_class.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  window_class.lpszClassName = kWindowClass;
  window_class.hIcon = LoadProgramIcon(GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON), LR_SHARED);
  window_class.hIconSm = LoadProgramIcon(GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), LR_SHARED);
  registered = RegisterClassExW(&window_class) != 0;
  return registered;
}

// The outer size of a window whose client area is the table's, at a DPI.
SIZE FrameSize(const WindowTable& table, UINT dpi) {
  const int dots = static_cast<int>(dpi);
  RECT rect{0, 0, TwipsToPixels(table.client_width, dots), TwipsToPixels(table.client_height, dots)};
  FrameStyle frame = StyleOf(table.frame);
  AdjustWindowRectExForDpi(&rect, frame.style, FALSE, frame.ex_style, dpi);
  return SIZE{rect.right - rect.left, rect.bottom - rect.top};
}

RECT WorkAreaOf(HMONITOR monitor) {
  MONITORINFO info{};
  info.cbSize = sizeof(info);
  GetMonitorInfoW(monitor, &info);
  return info.rcWork;
}

RECT PrimaryWorkArea() { return WorkAreaOf(MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY)); }

// Centred on `area`, moved inside `work` where it would stick out, and never
// above or left of `work`.
POINT CentredOn(const RECT& area, SIZE size, const RECT& work) {
  LONG x = area.left + (area.right - area.left - size.cx) / 2;
  LONG y = area.top + (area.bottom - area.top - size.cy) / 2;
  if (x + size.cx > work.right) x = work.right - size.cx;
  if (y + size.cy > work.bottom) y = work.bottom - size.cy;
  return POINT{x < work.left ? work.left : x, y < work.top ? work.top : y};
}

// Where a window of `size` starts: centred on the primary screen's work
// area, or on its owner within the owner's screen.
POINT StartPoint(StartPosition start, HWND owner, SIZE size) {
  if (start == StartPosition::kCenterOwner && owner) {
    RECT owner_rect{};
    GetWindowRect(owner, &owner_rect);
    return CentredOn(owner_rect, size, WorkAreaOf(MonitorFromWindow(owner, MONITOR_DEFAULTTONEAREST)));
  }
  RECT work = PrimaryWorkArea();
  return CentredOn(work, size, work);
}

}  // namespace

const wchar_t* ControlClassName(ControlKind kind) {
  if (IsButton(kind)) return L"Button";
  return kind == ControlKind::kProgressBar ? PROGRESS_CLASSW : L"Static";
}

HWND FindTableWindow(const WindowTable& table) {
  return FindWindowW(kWindowClass, Utf8ToWide(table.caption).c_str());
}

TableWindow::TableWindow(const WindowTable& table) : table_(table) {}

TableWindow::~TableWindow() { Destroy(); }

bool TableWindow::Create(HWND owner) {
  if (hwnd_) return true;
  if (!RegisterWindowClass(&TableWindow::Procedure)) return false;
  // Created hidden, first at the system DPI; once the window exists it is
  // laid out again at the DPI of the monitor it is on.
  SIZE size = FrameSize(table_, GetDpiForSystem());
  const bool placed_by_us = table_.start != StartPosition::kPlatform;
  POINT origin{CW_USEDEFAULT, CW_USEDEFAULT};
  if (placed_by_us) origin = StartPoint(table_.start, owner, size);
  FrameStyle frame = StyleOf(table_.frame);
  HWND created = CreateWindowExW(frame.ex_style, kWindowClass, Utf8ToWide(table_.caption).c_str(), frame.style,
                                 origin.x, origin.y, size.cx, size.cy, owner, nullptr, ProgramModule(), this);
  if (!created) return false;
  if (!CreateControls()) {
    Destroy();
    return false;
  }
  ApplyTabOrder();
  Layout(GetDpiForWindow(hwnd_));
  if (placed_by_us) {
    RECT outer{};
    GetWindowRect(hwnd_, &outer);
    POINT at = StartPoint(table_.start, owner, SIZE{outer.right - outer.left, outer.bottom - outer.top});
    SetWindowPos(hwnd_, nullptr, at.x, at.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  return true;
}

bool TableWindow::CreateControls() {
  for (std::size_t i = 0; i < table_.control_count; ++i) {
    const ControlRow& control = table_.controls[i];
    const auto id = static_cast<INT_PTR>(TableControlId(i));
    if (!RegisterControlClass(control.kind)) return false;
    HWND child = CreateWindowExW(0, ControlClassName(control.kind), DisplayText(control.kind, control.caption).c_str(),
                                 ControlStyle(control.kind), 0, 0, 0, 0, hwnd_, reinterpret_cast<HMENU>(id),
                                 ProgramModule(), nullptr);
    if (!child) return false;
    if (control.kind == ControlKind::kProgressBar) SendMessageW(child, PBM_SETRANGE32, 0, kProgressScale);
    controls_.push_back(child);
    texts_.emplace_back(control.caption);
  }
  return true;
}

// Controls are created in the table's order, which is not the Tab order.
// The dialog manager moves the focus along the z-order of the children, so
// the children are restacked by tab index.
void TableWindow::ApplyTabOrder() {
  HWND previous = HWND_TOP;
  for (int tab = 0; tab < static_cast<int>(table_.control_count); ++tab) {
    for (std::size_t i = 0; i < table_.control_count; ++i) {
      if (table_.controls[i].tab_index != tab) continue;
      SetWindowPos(controls_[i], previous, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
      previous = controls_[i];
    }
  }
}

void TableWindow::Layout(UINT dpi) {
  const int dots = static_cast<int>(dpi);
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof(metrics);
  HFONT font = nullptr;
  if (SystemParametersInfoForDpi(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0, dpi)) {
    font = CreateFontIndirectW(&metrics.lfMessageFont);
  }
  HFONT previous_font = font_;
  font_ = font;
  dpi_ = dots;
  const SIZE client{TwipsToPixels(table_.client_width, dots), TwipsToPixels(table_.client_height, dots)};
  for (std::size_t i = 0; i < controls_.size(); ++i) {
    SendMessageW(controls_[i], WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    ShowText(i);
    const TwipsRect& r = table_.controls[i].rect;
    RECT at{TwipsToPixels(r.left, dots), TwipsToPixels(r.top, dots), 0, 0};
    at.right = at.left + TwipsToPixels(r.width, dots);
    at.bottom = at.top + TwipsToPixels(r.height, dots);
    if (table_.controls[i].kind == ControlKind::kLabel) at = FitLabel(controls_[i], font, at, client);
    MoveWindow(controls_[i], at.left, at.top, at.right - at.left, at.bottom - at.top, FALSE);
  }
  if (previous_font) DeleteObject(previous_font);
  SIZE size = FrameSize(table_, dpi);
  SetWindowPos(hwnd_, nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  LoadIcons(dpi);
  InvalidateRect(hwnd_, nullptr, TRUE);
}

void TableWindow::LoadIcons(UINT dpi) {
  HICON big = LoadProgramIcon(GetSystemMetricsForDpi(SM_CXICON, dpi), GetSystemMetricsForDpi(SM_CYICON, dpi), 0);
  HICON small =
      LoadProgramIcon(GetSystemMetricsForDpi(SM_CXSMICON, dpi), GetSystemMetricsForDpi(SM_CYSMICON, dpi), 0);
  SendMessageW(hwnd_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big));
  SendMessageW(hwnd_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small));
  if (big_icon_) DestroyIcon(big_icon_);
  if (small_icon_) DestroyIcon(small_icon_);
  big_icon_ = big;
  small_icon_ = small;
}

void TableWindow::Show() {
  if (!hwnd_) return;
  focus_ = table_.initial_focus ? Control(table_.initial_focus) : nullptr;
  ShowWindow(hwnd_, SW_SHOW);
  if (focus_) SetFocus(focus_);
  PaintNow();
}

void TableWindow::ShowInactive() {
  if (!hwnd_) return;
  ShowWindow(hwnd_, SW_SHOWNOACTIVATE);
  PaintNow();
}

void TableWindow::PaintNow() {
  RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
  GdiFlush();
}

void TableWindow::Destroy() {
  if (hwnd_) DestroyWindow(hwnd_);  // WM_NCDESTROY releases the rest
}

HWND TableWindow::Control(const char* name) const {
  int index = IndexOf(name);
  return index >= 0 ? controls_[index] : nullptr;
}

void TableWindow::SetControlText(const char* name, const std::string& text) {
  int index = IndexOf(name);
  if (index < 0) return;
  texts_[index] = text;
  ShowText(index);
}

void TableWindow::SetControlProgress(const char* name, int share) {
  int index = IndexOf(name);
  if (index < 0 || table_.controls[index].kind != ControlKind::kProgressBar) return;
  SendMessageW(controls_[index], PBM_SETPOS, static_cast<WPARAM>(share), 0);
}

// A multi-line button breaks its caption at CR only, so a line that is too
// wide for it (a long folder path) is shortened for the screen.
void TableWindow::ShowText(std::size_t index) {
  const ControlRow& control = table_.controls[index];
  std::string shown = texts_[index];
  if (control.kind == ControlKind::kMultiLineButton) {
    int width = TwipsToPixels(control.rect.width - 2 * kButtonTextMarginTwips, dpi_);
    shown = ShortenWideLines(shown, font_, width);
  }
  SetWindowTextW(controls_[index], DisplayText(control.kind, shown).c_str());
}

int TableWindow::IndexOf(const char* name) const {
  for (std::size_t i = 0; i < controls_.size(); ++i) {
    if (std::string_view(table_.controls[i].name) == name) return static_cast<int>(i);
  }
  return -1;
}

int TableWindow::IndexOf(HWND control) const {
  for (std::size_t i = 0; i < controls_.size(); ++i) {
    if (control && controls_[i] == control) return static_cast<int>(i);
  }
  return -1;
}

void TableWindow::OnClick(const ControlRow&) {}

void TableWindow::OnClose() { Destroy(); }

void TableWindow::OnCommand(int id, int code, HWND from) {
  int index = IndexOf(from);
  if (index >= 0) {
    if (code == BN_CLICKED && IsButton(table_.controls[index].kind)) OnClick(table_.controls[index]);
    return;
  }
  // Enter arrives from the dialog manager as IDOK, since no button is the
  // default button: it presses the button that has the focus. Esc (IDCANCEL)
  // does nothing, since no button is the cancel button.
  if (id != IDOK) return;
  int focused = IndexOf(GetFocus());
  if (focused >= 0 && IsButton(table_.controls[focused].kind) && IsWindowEnabled(controls_[focused])) {
    OnClick(table_.controls[focused]);
  }
}

// The window manager may activate the window again some time after it was
// shown (an X server under Wine does), and the default handling would then
// give the focus to the frame: like a dialog, the window keeps the focus on
// its controls instead. False when the default handling should run.
bool TableWindow::OnActivate(bool active) {
  if (!active) {
    if (IndexOf(GetFocus()) >= 0) focus_ = GetFocus();
    return false;
  }
  if (!focus_ || !IsWindowEnabled(focus_)) return false;
  SetFocus(focus_);
  return true;
}

void TableWindow::OnDpiChanged(UINT dpi, const RECT& suggested) {
  Layout(dpi);
  SetWindowPos(hwnd_, nullptr, suggested.left, suggested.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TableWindow::OnNcDestroy() {
  SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
  hwnd_ = nullptr;
  focus_ = nullptr;
  controls_.clear();
  texts_.clear();
  ReleaseResources();
}

void TableWindow::ReleaseResources() {
  if (font_) DeleteObject(font_);
  if (big_icon_) DestroyIcon(big_icon_);
  if (small_icon_) DestroyIcon(small_icon_);
  font_ = nullptr;
  big_icon_ = nullptr;
  small_icon_ = nullptr;
}

LRESULT TableWindow::Handle(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_COMMAND:
      OnCommand(LOWORD(wparam), HIWORD(wparam), reinterpret_cast<HWND>(lparam));
      return 0;
    case WM_CLOSE:
      OnClose();
      return 0;
    case WM_QUERYENDSESSION:
      return OnQueryEndSession() ? TRUE : FALSE;
    case WM_ENDSESSION:
      OnEndSession(wparam != FALSE);
      return 0;
    case WM_ACTIVATE:
      if (OnActivate(LOWORD(wparam) != WA_INACTIVE)) return 0;
      break;
    case WM_DPICHANGED:
      OnDpiChanged(HIWORD(wparam), *reinterpret_cast<const RECT*>(lparam));
      return 0;
    case WM_NCDESTROY:
      OnNcDestroy();
      break;
    default:
      break;
  }
  return DefWindowProcW(hwnd, message, wparam, lparam);
}

LRESULT CALLBACK TableWindow::Procedure(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_NCCREATE) {
    auto* creating = static_cast<TableWindow*>(reinterpret_cast<CREATESTRUCTW*>(lparam)->lpCreateParams);
    creating->hwnd_ = hwnd;
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(creating));
  }
  auto* self = reinterpret_cast<TableWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (!self) return DefWindowProcW(hwnd, message, wparam, lparam);
  return self->Handle(hwnd, message, wparam, lparam);
}

}  // namespace tolvashu
