// The Windows program: shows the main window and runs until it is closed.
// It reads no command line, registry or environment setting; the package
// folder is the folder it is started in. Only one copy runs at a time.
#include <windows.h>

#include <commctrl.h>
#include <objbase.h>

#include <memory>

#include "app/app_state.h"
#include "app/form1_window_win32.h"
#include "app/form3_notice_win32.h"
#include "app/operations.h"
#include "app/single_instance_win32.h"
#include "app/windows_ui_win32.h"
#include "files/file_ops.h"
#include "folderchoice/folder_choice.h"
#include "folderchoice/form2_window_win32.h"
#include "winui/message_loop_win32.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  using namespace tolvashu;
  SingleInstance instance;
  if (!instance.IsFirst()) {
    BringRunningCopyForward();
    return 0;
  }
  // The folder picker needs COM in a single-threaded apartment; the visual
  // styles of the manifest need the common controls loaded.
  HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
  INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_STANDARD_CLASSES | ICC_PROGRESS_CLASS};
  InitCommonControlsEx(&controls);

  int exit_code = 1;
  {
    std::unique_ptr<FileOps> files = MakePlatformFileOps();
    AppState state;
    FolderChoice folder_choice(*files, state.GamePath, state.PathChosen);
    Form2Window form2(folder_choice);
    Form1Window form1;
    Form3Notice form3(form1);
    WindowsUi ui(form1, form2, form3);
    Operations operations(*files, ui, state);
    form1.ConnectButtons(operations);
    if (form1.Create(nullptr)) {
      form1.Show();
      RunWhileOpen(form1);
      exit_code = 0;
    }
  }
  if (SUCCEEDED(com)) CoUninitialize();
  return exit_code;
}
