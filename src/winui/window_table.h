// A window described as data: its frame, caption, client size and controls,
// all sizes in twips. One generic routine (TableWindow) turns such a table into
// a real window; the end-to-end test reads the same tables to check what it
// sees on screen.
#pragma once

#include <cstddef>

namespace tolvashu {

// 1440 twips make an inch, so at 96 DPI one pixel is 15 twips.
inline constexpr int kTwipsPerInch = 1440;

// Twips to pixels at a DPI, rounded to the nearest pixel.
constexpr int TwipsToPixels(int twips, int dpi) {
  long long scaled = static_cast<long long>(twips) * dpi;
  return static_cast<int>((scaled + kTwipsPerInch / 2) / kTwipsPerInch);
}

enum class ControlKind {
  kButton,           // a push button with one line of text
  kMultiLineButton,  // a push button whose caption may break into lines
  kLabel,            // static text; takes no focus
  kFileNameLabel,    // one line of static text set while the window is shown;
                     // a name too long for it is shortened in its middle
  kProgressBar,      // a progress bar that fills as the work goes (TableWindow::SetControlProgress)
};

// Buttons take the focus and can be pressed; labels can do neither.
constexpr bool IsButton(ControlKind kind) {
  return kind == ControlKind::kButton || kind == ControlKind::kMultiLineButton;
}

struct TwipsRect {
  int left;
  int top;
  int width;
  int height;
};

struct ControlRow {
  const char* name;     // the control's name, as the code refers to it
  ControlKind kind;
  const char* caption;  // UTF-8; empty when the code sets it at load
  TwipsRect rect;       // relative to the window's client area
  int tab_index;        // position in the Tab sequence, 0 first
};

enum class Frame {
  kFixedSingle,      // fixed border, caption, close box only
  kFixedToolWindow,  // small caption with a close box, not in the taskbar
};

enum class StartPosition {
  kCenterScreen,  // centred on the primary screen's work area
  kCenterOwner,   // centred on the window that owns it, within its screen's work area
  kPlatform,      // wherever the platform places a new window
};

struct WindowTable {
  const char* name;
  const char* caption;  // UTF-8
  Frame frame;
  int client_width;     // twips
  int client_height;    // twips
  StartPosition start;
  const ControlRow* controls;  // in creation order
  std::size_t control_count;
  const char* initial_focus;    // name of the control focused on opening, or nullptr
};

// The controls of a table by index, with their count taken from the array.
template <std::size_t N>
constexpr WindowTable MakeWindowTable(const char* name, const char* caption, Frame frame, int client_width,
                                    int client_height, StartPosition start, const ControlRow (&controls)[N],
                                    const char* initial_focus) {
  return WindowTable{name, caption, frame, client_width, client_height, start, controls, N, initial_focus};
}

}  // namespace tolvashu
