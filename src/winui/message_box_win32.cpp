#include "winui/message_box_win32.h"

#include "text/wide_text_win32.h"
#include "winui/app_title.h"
#include "winui/display_text.h"

namespace tolvashu {

void ShowMessageBox(HWND owner, const std::string& text, UINT icon) {
  MessageBoxW(owner, Utf8ToWide(WithCrLf(text)).c_str(), Utf8ToWide(kAppTitle).c_str(), MB_OK | icon);
}

}  // namespace tolvashu
