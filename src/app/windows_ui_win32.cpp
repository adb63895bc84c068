#include "app/windows_ui_win32.h"

#include "winui/message_box_win32.h"

namespace tolvashu {

WindowsUi::WindowsUi(const TableWindow& main_window, Form2Window& folder_choice, Form3Notice& notice)
    : main_window_(main_window), folder_choice_(folder_choice), notice_(notice) {}

void WindowsUi::ShowMessage(const std::string& text, MessageIcon icon) {
  ShowMessageBox(main_window_.hwnd(), text, icon == MessageIcon::kExclamation ? MB_ICONEXCLAMATION : 0);
}

void WindowsUi::ShowFolderChoice() { folder_choice_.ShowModal(main_window_.hwnd()); }

ProgressNotice& WindowsUi::Notice() { return notice_; }

}  // namespace tolvashu
