#include "winui/table_window_win32.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "text/wide_text_win32.h"
#include "winui/message_loop_win32.h"

namespace tolvashu {
namespace {

// Created in one order, tabbed in another, with a label too narrow for its
// text and a multi-line button.
constexpr ControlRow kControls[] = {
    {"Lower", ControlKind::kMultiLineButton, "", {120, 840, 4000, 975}, 2},
    {"Upper", ControlKind::kButton, "上のボタン", {120, 360, 4000, 375}, 1},
    {"Narrow", ControlKind::kLabel, "とても長いラベルの文字列です。最後まで見えること。", {240, 120, 600, 255}, 0},
};
constexpr WindowTable kTable = MakeWindowTable("Test", "表のウィンドウ", Frame::kFixedSingle, 6000, 2000,
                                               StartPosition::kCenterScreen, kControls, "Upper");

class ClickCounter : public TableWindow {
 public:
  ClickCounter() : TableWindow(kTable) {}
  std::vector<std::string> clicked;

 protected:
  void OnClick(const ControlRow& control) override { clicked.push_back(control.name); }
};

std::string TextOf(HWND window) {
  wchar_t text[256] = {};
  GetWindowTextW(window, text, 256);
  return WideToUtf8(text);
}

RECT RectInParent(HWND child) {
  RECT rect{};
  GetWindowRect(child, &rect);
  MapWindowPoints(HWND_DESKTOP, GetParent(child), reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

// Whether the window system can make windows at all: Wine without a display
// cannot. These tests then have nothing to look at and are skipped;
// scripts/e2e-windows runs them again with a display.
bool WindowsCanBeMade() {
  HWND probe = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  if (!probe) return false;
  DestroyWindow(probe);
  return true;
}

class TableWindowTest : public testing::Test {
 protected:
  void SetUp() override {
    if (!WindowsCanBeMade()) GTEST_SKIP() << "no display to make windows on";
    ASSERT_TRUE(window_.Create(nullptr));
  }
  int Pixels(int twips) const { return TwipsToPixels(twips, static_cast<int>(GetDpiForWindow(window_.hwnd()))); }

  ClickCounter window_;
};

TEST_F(TableWindowTest, ClientAreaAndButtonsHaveTheTablesSizes) {
  RECT client{};
  GetClientRect(window_.hwnd(), &client);
  EXPECT_EQ(client.right, Pixels(6000));
  EXPECT_EQ(client.bottom, Pixels(2000));
  RECT upper = RectInParent(window_.Control("Upper"));
  EXPECT_EQ(upper.left, Pixels(120));
  EXPECT_EQ(upper.top, Pixels(360));
  EXPECT_EQ(upper.right - upper.left, Pixels(4000));
  EXPECT_EQ(upper.bottom - upper.top, Pixels(375));
  EXPECT_EQ(TextOf(window_.hwnd()), "表のウィンドウ");
}

TEST_F(TableWindowTest, FrameIsFixedWithACloseBoxOnly) {
  LONG style = GetWindowLongW(window_.hwnd(), GWL_STYLE);
  EXPECT_TRUE(style & WS_SYSMENU);
  EXPECT_FALSE(style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME));
  for (const char* name : {"Upper", "Lower"}) {
    EXPECT_EQ(GetWindowLongW(window_.Control(name), GWL_STYLE) & BS_TYPEMASK, BS_PUSHBUTTON) << name;
  }
  EXPECT_TRUE(GetWindowLongW(window_.Control("Lower"), GWL_STYLE) & BS_MULTILINE);
}

TEST_F(TableWindowTest, TabFollowsTheTabIndexNotTheCreationOrder) {
  HWND upper = window_.Control("Upper");
  HWND lower = window_.Control("Lower");
  EXPECT_EQ(GetNextDlgTabItem(window_.hwnd(), upper, FALSE), lower);
  EXPECT_EQ(GetNextDlgTabItem(window_.hwnd(), lower, FALSE), upper);
  EXPECT_EQ(GetNextDlgTabItem(window_.hwnd(), lower, TRUE), upper);
  // Stacked by tab index: the label first, then Upper, then Lower.
  EXPECT_EQ(GetWindow(window_.hwnd(), GW_CHILD), window_.Control("Narrow"));
  EXPECT_EQ(GetWindow(window_.Control("Narrow"), GW_HWNDNEXT), upper);
  EXPECT_EQ(GetWindow(upper, GW_HWNDNEXT), lower);
}

TEST_F(TableWindowTest, ALabelTooSmallForItsTextGrowsWithinTheWindow) {
  RECT label = RectInParent(window_.Control("Narrow"));
  EXPECT_EQ(label.left, Pixels(240));
  EXPECT_EQ(label.top, Pixels(120));
  EXPECT_GT(label.right - label.left, Pixels(600));
  EXPECT_LE(label.right, Pixels(6000));
  EXPECT_GE(label.bottom - label.top, Pixels(255));
}

TEST_F(TableWindowTest, CaptionsBreakAtCrAndShowAmpersands) {
  window_.SetControlText("Lower", "前回保存したパス名、\rD:\\A&B\rを選択する。");
  EXPECT_EQ(TextOf(window_.Control("Lower")), "前回保存したパス名、\r\nD:\\A&&B\r\nを選択する。");
}

// The widths of the lines of a control's text in the control's font.
std::vector<int> LineWidths(HWND control) {
  std::wstring text = Utf8ToWide(TextOf(control));
  HDC dc = GetDC(control);
  HGDIOBJ previous = SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageW(control, WM_GETFONT, 0, 0)));
  std::vector<int> widths;
  for (std::size_t start = 0; start <= text.size();) {
    std::size_t end = std::min(text.find(L"\r\n", start), text.size());
    RECT bounds{};
    DrawTextW(dc, text.c_str() + start, static_cast<int>(end - start), &bounds, DT_CALCRECT | DT_SINGLELINE);
    widths.push_back(bounds.right);
    start = end + 2;
  }
  SelectObject(dc, previous);
  ReleaseDC(control, dc);
  return widths;
}

TEST_F(TableWindowTest, ALongPathOnAMultiLineButtonIsShortenedInTheMiddle) {
  const std::string path = "C:\\とても長い名前のフォルダ\\もっと長い名前のフォルダ\\さらに長い名前のフォルダ\\Tolvashu";
  window_.SetControlText("Lower", "前回保存したパス名、\r" + path + "\rを選択する。");
  HWND lower = window_.Control("Lower");
  std::string shown = TextOf(lower);
  std::size_t first_break = shown.find("\r\n");
  std::size_t second_break = shown.find("\r\n", first_break + 2);
  ASSERT_NE(second_break, std::string::npos) << shown;
  std::string middle = shown.substr(first_break + 2, second_break - first_break - 2);
  EXPECT_EQ(shown.substr(0, first_break), "前回保存したパス名、");
  EXPECT_EQ(shown.substr(second_break + 2), "を選択する。");
  EXPECT_LT(middle.size(), path.size());
  EXPECT_EQ(middle.substr(0, 3), "C:\\");
  EXPECT_EQ(middle.substr(middle.size() - 9), "\\Tolvashu");
  RECT client{};
  GetClientRect(lower, &client);
  for (int width : LineWidths(lower)) EXPECT_LE(width, client.right);
}

TEST_F(TableWindowTest, AClickReachesTheWindowWithTheControlsRow) {
  SendMessageW(window_.Control("Lower"), BM_CLICK, 0, 0);
  SendMessageW(window_.Control("Upper"), BM_CLICK, 0, 0);
  EXPECT_EQ(window_.clicked, (std::vector<std::string>{"Lower", "Upper"}));
}

TEST_F(TableWindowTest, TheWindowShowsTheProgramIconInBothSizes) {
  for (auto [which, metric] : {std::pair{ICON_BIG, SM_CXICON}, std::pair{ICON_SMALL, SM_CXSMICON}}) {
    auto icon = reinterpret_cast<HICON>(SendMessageW(window_.hwnd(), WM_GETICON, which, 0));
    ASSERT_NE(icon, nullptr) << which;
    ICONINFO info{};
    ASSERT_TRUE(GetIconInfo(icon, &info));
    BITMAP colour{};
    GetObjectW(info.hbmColor, sizeof(colour), &colour);
    EXPECT_EQ(colour.bmWidth, GetSystemMetricsForDpi(metric, GetDpiForWindow(window_.hwnd()))) << which;
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
  }
}

// Busy work lets the window system in: what was posted is handled, input is
// thrown away (a click would start another operation), and a WM_QUIT is
// handed back for later.
TEST_F(TableWindowTest, AnsweringWhileBusyHandlesMessagesDropsInputAndKeepsQuit) {
  HWND upper = window_.Control("Upper");
  PostMessageW(upper, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  PostMessageW(upper, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
  PostMessageW(upper, WM_KEYDOWN, VK_SPACE, 0);
  PostMessageW(upper, WM_KEYUP, VK_SPACE, 0);
  PostMessageW(window_.Control("Lower"), BM_CLICK, 0, 0);
  PostQuitMessage(7);
  EXPECT_EQ(AnswerPendingMessages(), std::optional<int>(7));
  EXPECT_EQ(window_.clicked, std::vector<std::string>{"Lower"});
  EXPECT_EQ(AnswerPendingMessages(), std::nullopt);
}

TEST_F(TableWindowTest, ClosingDestroysTheWindowAndItsControls) {
  HWND hwnd = window_.hwnd();
  SendMessageW(hwnd, WM_CLOSE, 0, 0);
  EXPECT_FALSE(window_.IsOpen());
  EXPECT_FALSE(IsWindow(hwnd));
  EXPECT_EQ(window_.Control("Upper"), nullptr);
}

}  // namespace
}  // namespace tolvashu
