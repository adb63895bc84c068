// A top-level window made from a WindowTable table by one generic routine:
// frame style, caption, client size and every control's rectangle in twips,
// converted at the DPI of the monitor the window is on (and again when it
// moves to a monitor of another DPI), the system's message font, the Tab
// sequence of the table and the program icon. Subclasses only say what a
// button press and the close box mean.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "winui/window_table.h"

namespace tolvashu {

// A control's id: its index in the table's creation order, counted from well
// above IDOK and IDCANCEL, which the dialog manager sends for Enter and Esc.
constexpr int TableControlId(std::size_t index) { return 100 + static_cast<int>(index); }

// The window class of a control of that kind ("Button", "Static", the
// progress bar's class).
const wchar_t* ControlClassName(ControlKind kind);

// The open top-level window made from `table`, in this program or in
// another copy of it on the same desktop; null when there is none.
HWND FindTableWindow(const WindowTable& table);

class TableWindow {
 public:
  explicit TableWindow(const WindowTable& table);
  virtual ~TableWindow();
  TableWindow(const TableWindow&) = delete;
  TableWindow& operator=(const TableWindow&) = delete;

  // Builds the window and its controls, hidden, sized at its DPI, and places
  // it as the table says (a window centred on its owner needs `owner`).
  // `owner` may be null. False when the system refused to create it.
  bool Create(HWND owner);
  // Shows the window, gives the table's initial control the focus, and
  // paints it at once, so that it is drawn even when the caller goes on
  // with work that does not let the window system in.
  void Show();
  // Shows the window without taking the activation from the active window.
  void ShowInactive();
  // Destroys the window and its controls. Nothing happens when closed.
  void Destroy();

  bool IsOpen() const { return hwnd_ != nullptr; }
  HWND hwnd() const { return hwnd_; }
  const WindowTable& table() const { return table_; }
  // The control of that name, or null when the window is closed.
  HWND Control(const char* name) const;
  // Sets a control's text (UTF-8, CR breaks a line). A multi-line button
  // shows a line too wide for it shortened in the middle.
  void SetControlText(const char* name, const std::string& text);
  // Fills the progress bar of this name to `share` of kProgressScale.
  void SetControlProgress(const char* name, int share);
  static constexpr int kProgressScale = 1000;

 protected:
  // A button was pressed: clicked, Space, or Enter while it has the focus.
  virtual void OnClick(const ControlRow& control);
  // The close box or Alt+F4. The default destroys the window.
  virtual void OnClose();
  // The system asks whether the session may end (WM_QUERYENDSESSION); the
  // default lets it.
  virtual bool OnQueryEndSession() { return true; }
  // The session ends now (`ending`), or the end was called off.
  virtual void OnEndSession(bool /*ending*/) {}

 private:
  static LRESULT CALLBACK Procedure(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam);
  LRESULT Handle(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam);
  void OnCommand(int id, int code, HWND from);
  bool OnActivate(bool active);
  void OnDpiChanged(UINT dpi, const RECT& suggested);
  void OnNcDestroy();

  bool CreateControls();
  void ApplyTabOrder();
  void Layout(UINT dpi);
  void LoadIcons(UINT dpi);
  void ReleaseResources();
  void PaintNow();
  // A control's index in the table, or -1 (also while the window is closed).
  int IndexOf(const char* name) const;
  int IndexOf(HWND control) const;
  void ShowText(std::size_t index);

  const WindowTable& table_;
  HWND hwnd_ = nullptr;
  std::vector<HWND> controls_;  // in the table's creation order
  std::vector<std::string> texts_;  // each control's text as set, before fitting
  int dpi_ = USER_DEFAULT_SCREEN_DPI;  // of the last layout
  // The control that gets the focus when the window is activated: the
  // table's initial control, then the one that had it when the window last
  // lost the activation (to a message box, the folder dialog, another
  // program).
  HWND focus_ = nullptr;
  HFONT font_ = nullptr;
  HICON big_icon_ = nullptr;
  HICON small_icon_ = nullptr;
};

}  // namespace tolvashu
