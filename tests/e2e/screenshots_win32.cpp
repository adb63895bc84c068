#include <cstdio>

#include "e2e/end_to_end_win32.h"
#include "e2e/fixture_win32.h"
#include "e2e/installer_session_win32.h"
#include "e2e/remote_window_win32.h"

namespace tolvashu::e2e {

namespace {

// Announces a window's client area on the screen and waits until the
// caller has taken its picture.
void Shoot(const char* name, HWND window) {
  RECT client{};
  GetClientRect(window, &client);
  MapWindowPoints(window, HWND_DESKTOP, reinterpret_cast<POINT*>(&client), 2);
  Sleep(300);  // let the window system put the last drawing on the screen
  std::printf("SHOT %s %ld %ld %ld %ld\n", name, client.left, client.top, client.right - client.left,
              client.bottom - client.top);
  std::fflush(stdout);
  char answer[16];
  if (!std::fgets(answer, sizeof(answer), stdin)) return;
}

void ShootFolderDialog(InstallerSession& session, const char* name) {
  HWND form2 = session.OpenFolderChoice("InstallBT");
  if (!form2) return;
  Shoot(name, form2);
  Close(form2);
  WaitUntilGone(form2);
}

// The folder picker as BT1 opens it, in the saved folder.
void ShootFolderPicker(InstallerSession& session) {
  HWND form2 = session.OpenFolderChoice("InstallBT");
  if (!form2) return;
  if (HWND picker = session.OpenFolderPicker(form2)) {
    Shoot("folder-picker", picker);
    PressDialogButton(picker, IDCANCEL);
    WaitUntilGone(picker);
  }
  Close(form2);
  WaitUntilGone(form2);
}

}  // namespace

void RunScreenshots(Checks& checks, const std::filesystem::path& program) {
  // A short folder that reads well on BT2 and is the same in every picture.
  Fixture fixture(L"C:\\Games");
  fixture.WriteSavedPath();
  InstallerSession session(checks, fixture, program);
  if (!session.Start()) return;
  Shoot("form1", session.form1());
  ShootFolderDialog(session, "form2-saved-folder");
  ShootFolderPicker(session);
  fixture.RemoveSavedPath();
  ShootFolderDialog(session, "form2-no-saved-folder");
  fixture.WriteSavedPath();

  // The Default warning: three lines, since the game has no Default data.
  HWND form2 = session.OpenFolderChoice("DefoBT");
  if (!form2) return;
  session.ConfirmSavedFolder(form2);
  HWND box = session.WaitForMessageBox(session.form1());
  if (!checks.Expect(box != nullptr, "the Default warning appears")) return;
  Shoot("message-box", box);
  PressDialogButton(box, IDOK);
  WaitUntilGone(box);

  // The progress notice, held on the screen by freezing the program once it
  // names a file.
  fixture.AddBulkToPackage();
  form2 = session.OpenFolderChoice("InstallBT");
  if (!form2) return;
  session.ConfirmSavedFolder(form2);
  HWND notice = session.WaitForNotice();
  if (checks.Expect(notice != nullptr, "the progress notice appears")) {
    Sleep(1500);
    session.process().Suspend();
    Shoot("form3", notice);
    session.process().Resume();
  }
  box = session.WaitForMessageBox(session.form1());
  if (box) PressDialogButton(box, IDOK);
  WaitUntilGone(box);
  checks.Expect(session.CloseMainWindow(), "the program ends");
}

}  // namespace tolvashu::e2e
