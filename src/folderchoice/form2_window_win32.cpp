#include "folderchoice/form2_window_win32.h"

#include <string_view>

#include "folderchoice/browse_for_game_folder_win32.h"
#include "folderchoice/form2_layout.h"
#include "winui/message_box_win32.h"
#include "winui/message_loop_win32.h"

namespace tolvashu {

Form2Window::Form2Window(FolderChoice& logic) : TableWindow(kForm2), logic_(logic) {}

void Form2Window::ShowModal(HWND owner) {
  if (!Create(owner)) return;
  owner_ = owner;
  logic_.Load(*this);
  if (!IsOpen()) return;
  EnableWindow(owner_, FALSE);
  Show();
  if (!RunWhileOpen(*this) && IsOpen()) logic_.CloseBox(*this);  // the program is ending
  // The owner is uncovered now; draw it before the caller starts work that
  // does not let the window system in.
  RedrawWindow(owner, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
}

void Form2Window::SetBT2(const std::string& caption, bool enabled) {
  SetControlText("BT2", caption);
  EnableWindow(Control("BT2"), enabled ? TRUE : FALSE);
}

std::optional<std::string> Form2Window::BrowseForFolder(const std::string& start_folder) {
  return BrowseForGameFolder(hwnd(), start_folder);
}

void Form2Window::ShowWarning(const std::string& text) { ShowMessageBox(hwnd(), text, MB_ICONEXCLAMATION); }

void Form2Window::Unload() {
  // The owner is enabled before the dialog goes, so that the activation
  // returns to it and not to another program's window.
  if (owner_) EnableWindow(owner_, TRUE);
  owner_ = nullptr;
  Destroy();
}

void Form2Window::OnClick(const ControlRow& control) {
  std::string_view name = control.name;
  if (name == "BT1") logic_.ClickBT1(*this);
  if (name == "BT2") logic_.ClickBT2(*this);
}

void Form2Window::OnClose() { logic_.CloseBox(*this); }

}  // namespace tolvashu
