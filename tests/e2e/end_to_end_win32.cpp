#include "e2e/end_to_end_win32.h"

#include <cstdio>
#include <optional>
#include <string>

#include "app/app_texts.h"
#include "app/form1_layout.h"
#include "app/form3_layout.h"
#include "e2e/fixture_win32.h"
#include "e2e/installer_session_win32.h"
#include "e2e/layout_check_win32.h"
#include "e2e/remote_window_win32.h"
#include "e2e/transfer_watch_win32.h"
#include "disk_win32/handle.h"
#include "folderchoice/form2_layout.h"
#include "folderchoice/form2_texts.h"
#include "winui/display_text.h"

namespace tolvashu::e2e {

namespace {

std::string DefaultWarning() {
  return std::string(texts::kNoDefaultData1) + "\r" + texts::kNoDefaultData2 + "\r" + texts::kNoDefaultData3;
}

std::string NoBackupWarning() { return std::string(texts::kNoBackupData1) + "\r" + texts::kNoBackupData2; }

std::string UnwritableReport(const std::string& name, const char* advice) {
  return std::string(texts::kReportUndoneHead) + "\r" + name + "\r" + advice;
}

void CheckMainWindow(Checks& checks, InstallerSession& session) {
  checks.Section("main window");
  CheckLayout(checks, session.form1(), kForm1, session.form1_controls());
  CheckFocusAndTabOrder(checks, kForm1, session.form1_controls(), session.process().thread_id());
}

void CheckFolderDialog(Checks& checks, InstallerSession& session, HWND form2, const std::string& bt2_caption) {
  Controls controls = FindControls(checks, form2, kForm2, {{"BT2", bt2_caption}});
  CheckLayout(checks, form2, kForm2, controls);
  checks.Expect(GetWindow(form2, GW_OWNER) == session.form1(), "Form2 is owned by the main window");
  checks.Expect(!IsWindowEnabled(session.form1()), "the main window takes no input while Form2 is open");
  CheckFocusAndTabOrder(checks, kForm2, controls, session.process().thread_id());
}

// The notice is looked at with the program frozen, since it goes as soon
// as the transfer ends.
void CheckNotice(Checks& checks, InstallerSession& session, HWND notice) {
  if (!checks.Expect(notice != nullptr, "the progress notice is shown during the transfer")) return;
  session.process().Suspend();
  if (checks.Expect(IsWindow(notice) != FALSE, "the progress notice stays while the transfer runs")) {
    Controls controls = FindControls(checks, notice, kForm3);
    CheckLayout(checks, notice, kForm3, controls);
    checks.Expect(GetWindow(notice, GW_OWNER) == session.form1(), "Form3 is owned by the main window");
  }
  session.process().Resume();
}

// Confirms the saved folder in the open folder dialog with BT2 and answers
// the box that ends the operation.
void FinishOperation(Checks& checks, InstallerSession& session, HWND form2, const char* button,
                     const std::string& message, bool look_at_windows) {
  if (!form2) return;
  if (look_at_windows) CheckFolderDialog(checks, session, form2, session.SavedFolderCaption());
  session.ConfirmSavedFolder(form2);
  checks.Expect(WaitUntilGone(form2), std::string(button) + ": Form2 closes after BT2");
  if (look_at_windows) CheckNotice(checks, session, session.WaitForNotice());
  session.AnswerMessageBox(session.form1(), message, false, button);
  checks.Expect(IsWindowEnabled(session.form1()) != FALSE, std::string(button) + ": the main window is idle again");
}

// Presses a main window button and runs its operation on the saved folder.
void RunOperation(Checks& checks, InstallerSession& session, const char* button, const std::string& message,
                  bool look_at_windows) {
  FinishOperation(checks, session, session.OpenFolderChoice(button), button, message, look_at_windows);
}

void ExpectGameFile(Checks& checks, const Fixture& fixture, const char* relative, const std::string& content) {
  checks.ExpectEqual(fixture.ReadGame(relative).value_or("(missing)"), content, std::string("game folder: ") + relative);
}

void ExpectNoGameFile(Checks& checks, const Fixture& fixture, const char* relative) {
  checks.Expect(!fixture.GameHas(relative), std::string("game folder has no ") + relative);
}

// No box follows within half a second, and the main window is enabled.
void ExpectQuietMainWindow(Checks& checks, InstallerSession& session, const std::string& what) {
  Sleep(500);
  checks.Expect(DialogsOwnedBy(session.process().pid(), session.form1()).empty(), what + ": no message box");
  checks.Expect(IsWindowEnabled(session.form1()) != FALSE, what + ": the main window is idle again");
}

void DefaultWithoutDefaultData(Checks& checks, InstallerSession& session, const Fixture& fixture) {
  checks.Section("Default without default data");
  HWND form2 = session.OpenFolderChoice("DefoBT");
  if (!form2) return;
  CheckFolderDialog(checks, session, form2, session.SavedFolderCaption());
  session.ConfirmSavedFolder(form2);
  session.AnswerMessageBox(session.form1(), DefaultWarning(), false, "Default warning");
  ExpectGameFile(checks, fixture, "MAINDATA.DAT", "game main data");
  ExpectGameFile(checks, fixture, "年表5.txt", "game chronology 5");
  for (const char* folder : {"Backup", "Backup/nationDATA", "Backup/pastDATA", "default"}) {
    checks.Expect(!fixture.GameHas(folder), std::string("a refused operation makes no folder: ") + folder);
  }
}

// Restore before any backup: there is no Backup folder yet, so nothing is
// restored and the game keeps its data.
void RestoreWithoutBackup(Checks& checks, InstallerSession& session, const Fixture& fixture) {
  checks.Section("Restore without a backup");
  HWND form2 = session.OpenFolderChoice("RestoreBT");
  if (!form2) return;
  session.ConfirmSavedFolder(form2);
  session.AnswerMessageBox(session.form1(), NoBackupWarning(), false, "Restore guard");
  ExpectGameFile(checks, fixture, "MAINDATA.DAT", "game main data");
  ExpectGameFile(checks, fixture, "Sison.dat", "game descendants");
  ExpectGameFile(checks, fixture, "年表5.txt", "game chronology 5");
}

void CloseBoxChangesNothing(Checks& checks, InstallerSession& session, const Fixture& fixture) {
  checks.Section("folder dialog closed with its close box");
  HWND form2 = session.OpenFolderChoice("BackupBT");
  if (!form2) return;
  Close(form2);
  checks.Expect(WaitUntilGone(form2), "the close box closes Form2");
  ExpectQuietMainWindow(checks, session, "close box");
  ExpectNoGameFile(checks, fixture, "Backup/MAINDATA.DAT");
  ExpectGameFile(checks, fixture, "MAINDATA.DAT", "game main data");
}

void Backup(Checks& checks, InstallerSession& session, const Fixture& fixture) {
  // The focus is back on BackupBT, the button clicked last, once the folder
  // dialog has gone; Enter presses it, as no default button takes the key.
  checks.Section("Backup, started with Enter");
  FinishOperation(checks, session, session.OpenFolderChoiceWithEnter("BackupBT"), "BackupBT", texts::kBackupDone,
                  false);
  ExpectGameFile(checks, fixture, "Backup/MAINDATA.DAT", "game main data");
  ExpectGameFile(checks, fixture, "Backup/kosei00.dat", "game scenario 0");
  ExpectGameFile(checks, fixture, "Backup/Sison.dat", "game descendants");
  ExpectGameFile(checks, fixture, "Backup/nationDATA/old.dat", "game nation");
  ExpectGameFile(checks, fixture, "Backup/pastDATA/p.dat", "game past");
}

void Install(Checks& checks, InstallerSession& session, const Fixture& fixture) {
  checks.Section("Install");
  RunOperation(checks, session, "InstallBT", texts::kInstallDone, true);
  ExpectGameFile(checks, fixture, "MAINDATA.DAT", "package main data");
  ExpectGameFile(checks, fixture, "kosei01.dat", "package scenario 1");
  ExpectGameFile(checks, fixture, "song.mp3", "package music");
  ExpectGameFile(checks, fixture, "haikei01.jpg", "package picture");
  ExpectGameFile(checks, fixture, "城下町.dat", "package town");
  ExpectGameFile(checks, fixture, "nationDATA/1.dat", "package nation 1");
  ExpectGameFile(checks, fixture, "Sison.dat", "");
  checks.Expect(fixture.GameHas("se399.wav"), "game folder: the last sound file");
  checks.Expect(fixture.GameHas("年表1.txt"), "game folder: the package's chronology");
  ExpectNoGameFile(checks, fixture, "年表5.txt");
  ExpectNoGameFile(checks, fixture, "nationDATA/old.dat");
}

void Restore(Checks& checks, InstallerSession& session, const Fixture& fixture) {
  checks.Section("Restore");
  RunOperation(checks, session, "RestoreBT", texts::kRestoreDone, false);
  ExpectGameFile(checks, fixture, "MAINDATA.DAT", "game main data");
  ExpectGameFile(checks, fixture, "kosei00.dat", "game scenario 0");
  ExpectGameFile(checks, fixture, "Sison.dat", "game descendants");
  ExpectGameFile(checks, fixture, "nationDATA/old.dat", "game nation");
  ExpectGameFile(checks, fixture, "pastDATA/p.dat", "game past");
  ExpectNoGameFile(checks, fixture, "nationDATA/1.dat");
  ExpectNoGameFile(checks, fixture, "年表1.txt");
}

void DefaultWithDefaultData(Checks& checks, InstallerSession& session, const Fixture& fixture) {
  checks.Section("Default");
  fixture.WriteGame("Default/MAINDATA.DAT", "default main data");
  fixture.WriteGame("Default/kosei00.dat", "default scenario 0");
  RunOperation(checks, session, "DefoBT", texts::kDefaultDone, false);
  ExpectGameFile(checks, fixture, "MAINDATA.DAT", "default main data");
  ExpectGameFile(checks, fixture, "kosei00.dat", "default scenario 0");
}

// A game file that cannot be replaced, read-only or held open by the running
// game (here this driver holds it, sharing reading only), is named in a box
// with the exclamation icon and the advice for its cause, and the whole
// Install is undone: the file keeps its content, and so do the files the
// Install had replaced before it met that one.
void UnwritableFileReported(Checks& checks, InstallerSession& session, const Fixture& fixture) {
  for (bool held : {false, true}) {
    checks.Section(held ? "Install onto a file the game holds open" : "Install onto a read-only file");
    ScopedHandle holder(held ? CreateFileW((fixture.game() / "MAINDATA.DAT").c_str(), GENERIC_READ, FILE_SHARE_READ,
                                           nullptr, OPEN_EXISTING, 0, nullptr)
                             : INVALID_HANDLE_VALUE);
    checks.Expect(!held || holder.valid(), "the driver holds MAINDATA.DAT");
    if (!held) fixture.SetGameReadOnly("MAINDATA.DAT", true);
    HWND form2 = session.OpenFolderChoice("InstallBT");
    if (form2) {
      session.ConfirmSavedFolder(form2);
      const char* advice = held ? texts::kAdviceInUse : texts::kAdviceDenied;
      session.AnswerMessageBox(session.form1(), UnwritableReport("MAINDATA.DAT", advice), true, "report");
    }
    if (!held) fixture.SetGameReadOnly("MAINDATA.DAT", false);
    holder.Close();
    ExpectGameFile(checks, fixture, "MAINDATA.DAT", "default main data");
    ExpectGameFile(checks, fixture, "kosei00.dat", "default scenario 0");
    ExpectNoGameFile(checks, fixture, "nationDATA/1.dat");
  }
}

// A browsed folder without the game's executable: the warning with the
// exclamation icon over Form2, which stays open until its close box.
void NotAGameFolder(Checks& checks, InstallerSession& session, const Fixture& fixture) {
  checks.Section("browsed folder without the game");
  HWND form2 = session.OpenFolderChoice("InstallBT");
  if (!form2) return;
  session.ChooseInPicker(form2, fixture.PackagePath());
  session.AnswerMessageBox(form2, form2::kNoGameExe, true, "not a game folder");
  checks.Expect(IsWindow(form2) && IsWindowVisible(form2), "the dialog stays open after the warning");
  Close(form2);
  checks.Expect(WaitUntilGone(form2), "the close box closes Form2");
  ExpectQuietMainWindow(checks, session, "failed check");
  checks.ExpectEqual(fixture.SavedPathBytes().value_or("(missing)"), fixture.SavedPathFileContent(),
                     "a failed check leaves PathDATA.txt as it was");
  ExpectGameFile(checks, fixture, "MAINDATA.DAT", "default main data");
}

// Without PathDATA.txt BT2 cannot be pressed; the picker opens with its
// title, and cancelling it leaves the dialog open with no warning.
void NoSavedFolderAndCancelledPicker(Checks& checks, InstallerSession& session, const Fixture& fixture) {
  checks.Section("no saved folder, picker cancelled");
  fixture.RemoveSavedPath();
  HWND form2 = session.OpenFolderChoice("InstallBT");
  if (!form2) return;
  CheckFolderDialog(checks, session, form2, form2::kBT2NoSavedPath);
  HWND bt2 = FindChild(form2, L"Button", ButtonCaption(form2::kBT2NoSavedPath));
  checks.Expect(bt2 && !IsWindowEnabled(bt2), "BT2 is disabled without a saved folder");
  const DWORD pid = session.process().pid();
  if (HWND picker = session.OpenFolderPicker(form2)) {
    checks.ExpectEqual(TextOf(picker), form2::kBrowserTitle, "the picker's title");
    PressDialogButton(picker, IDCANCEL);
    checks.Expect(WaitUntilGone(picker), "Cancel closes the picker");
    Sleep(500);
    checks.Expect(DialogsOwnedBy(pid, form2).empty(), "a cancelled picker brings no warning");
    checks.Expect(IsWindow(form2) && IsWindowVisible(form2), "the dialog stays open after a cancel");
  }
  Close(form2);
  checks.Expect(WaitUntilGone(form2), "the close box closes Form2");
  ExpectQuietMainWindow(checks, session, "cancelled picker");
  ExpectGameFile(checks, fixture, "MAINDATA.DAT", "default main data");
  checks.Expect(!fixture.HasSavedPath(), "a cancelled picker saves no folder");
}

// The game folder's path typed into the picker: it is saved to PathDATA.txt
// in code page 932 and the operation goes on with it. Then the picker opens
// in it.
void GameFolderTypedIntoPicker(Checks& checks, InstallerSession& session, const Fixture& fixture) {
  checks.Section("game folder typed into the picker, which then opens in it");
  fixture.WriteGame("MAINDATA.DAT", "game main data, second backup");
  HWND form2 = session.OpenFolderChoice("BackupBT");
  if (!form2) return;
  session.ChooseInPicker(form2, fixture.GamePath());
  checks.Expect(WaitUntilGone(form2), "Form2 closes after a game folder is chosen");
  session.AnswerMessageBox(session.form1(), texts::kBackupDone, false, "BackupBT");
  checks.ExpectEqual(fixture.SavedPathBytes().value_or("(missing)"), fixture.SavedPathFileContent(),
                     "the chosen folder is saved in PathDATA.txt");
  ExpectGameFile(checks, fixture, "Backup/MAINDATA.DAT", "game main data, second backup");

  // Now saved, the folder is where the picker opens: "." typed there is the
  // game folder itself, which passes the check and is saved as it was.
  fixture.WriteGame("MAINDATA.DAT", "game main data, third backup");
  form2 = session.OpenFolderChoice("BackupBT");
  if (!form2) return;
  session.ChooseInPicker(form2, ".");
  checks.Expect(WaitUntilGone(form2), "the picker opened in the saved folder, the game folder");
  session.AnswerMessageBox(session.form1(), texts::kBackupDone, false, "BackupBT");
  checks.ExpectEqual(fixture.SavedPathBytes().value_or("(missing)"), fixture.SavedPathFileContent(),
                     "the saved folder is saved again as it was");
  ExpectGameFile(checks, fixture, "Backup/MAINDATA.DAT", "game main data, third backup");
}

// A second start of the program hands over to the first: the first window
// comes to the front, and the second copy ends without a window.
void SecondStartBringsTheFirstForward(Checks& checks, InstallerSession& session, const Fixture& fixture,
                                      const std::filesystem::path& program) {
  checks.Section("a second start");
  HWND elsewhere = CreateWindowExW(0, L"STATIC", L"another program", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 200,
                                   100, nullptr, nullptr, nullptr, nullptr);
  SetForegroundWindow(elsewhere);
  checks.Expect(GetForegroundWindow() == elsewhere, "another window is in front first");
  InstallerProcess second;
  if (checks.Expect(second.Start(program, fixture.package()), "the second copy starts")) {
    checks.Expect(second.WaitForExit(10000) == DWORD{0}, "the second copy ends by itself with code 0");
  }
  checks.Expect(WaitFor([&]() -> HWND { return GetForegroundWindow() == session.form1() ? session.form1() : nullptr; },
                        5000) != nullptr,
                "the first copy's main window is in front");
  DestroyWindow(elsewhere);
  checks.Expect(IsWindowVisible(session.form1()) && IsWindowEnabled(session.form1()),
                "the first copy goes on as before");
}

// A transfer of several seconds: the main window and the notice answer the
// system within a second all along (the system greys out a window as not
// responding after five), and the notice, centred on the main window, names
// the files as it copies them, about ten times a second at most. A close of
// the main window asked for meanwhile waits until the operation has ended.
void LongInstallAnswersTheSystem(Checks& checks, InstallerSession& session, const Fixture& fixture) {
  checks.Section("a long Install answers the system");
  fixture.AddBulkToPackage();
  HWND form2 = session.OpenFolderChoice("InstallBT");
  if (!form2) return;
  session.ConfirmSavedFolder(form2);
  HWND notice = session.WaitForNotice();
  if (!checks.Expect(notice != nullptr, "the progress notice is shown during the transfer")) return;
  Controls controls = FindControls(checks, notice, kForm3);
  CheckLayout(checks, notice, kForm3, controls);
  checks.Expect(GetWindow(notice, GW_OWNER) == session.form1(), "Form3 is owned by the main window");
  Close(session.form1());
  TransferWatch watch = WatchTransfer(session.form1(), notice, controls["Label2"], controls["ProgressBar1"]);
  std::printf("    watched %lu ms, %d looks: slowest answer of form1 %lu ms, of Form3 %lu ms; %d file names shown\n"
              "    the bar rose %d times, fell %d times, reached %d of %d\n",
              watch.duration_ms, watch.samples, watch.slowest_main_ms, watch.slowest_notice_ms, watch.name_changes,
              watch.bar_rises, watch.bar_falls, watch.bar_highest, watch.bar_range);
  checks.Expect(watch.duration_ms >= 3000, "the transfer takes several seconds");
  checks.Expect(watch.slowest_main_ms < 1000, "form1 answers within a second throughout the transfer");
  checks.Expect(watch.slowest_notice_ms < 1000, "Form3 answers within a second throughout the transfer");
  checks.Expect(watch.name_changes >= 5, "Form3 shows the names of the files as they are copied");
  checks.Expect(watch.bar_rises >= 3 && watch.bar_falls == 0, "Form3's bar fills step by step and never goes back");
  checks.Expect(watch.bar_range > 0 && watch.bar_highest <= watch.bar_range && watch.bar_highest * 2 > watch.bar_range,
                "the bar fills towards its end within its range");
  checks.Expect(watch.name_changes * 1000LL <= 12LL * watch.duration_ms,
                "the file name changes ten times a second at most");
  session.AnswerMessageBox(session.form1(), texts::kInstallDone, false, "InstallBT, closed meanwhile");
  checks.Expect(fixture.GameHas(Fixture::kBulkMusic), "the large music file is copied");
  checks.Expect(session.process().WaitForExit(10000) == DWORD{0}, "then the close takes effect: exit code 0");
}

// Whether the main window lets the session end now, asked as the system
// asks at a log-off.
bool LetsTheSessionEnd(HWND form1) {
  DWORD_PTR answer = FALSE;
  SendMessageTimeoutW(form1, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF, SMTO_NORMAL, 5000, &answer);
  return answer != FALSE;
}

// A log-off during a transfer is held up with a reason; when the session
// ends all the same, the transfer stops and is undone at once.
void SessionEndDuringATransfer(Checks& checks, InstallerSession& session, const Fixture& fixture) {
  checks.Section("the session ends during a transfer");
  fixture.AddBulkToPackage();
  const std::optional<std::string> main_before = fixture.ReadGame("MAINDATA.DAT");
  checks.Expect(LetsTheSessionEnd(session.form1()), "while idle, the main window lets the session end");
  HWND form2 = session.OpenFolderChoice("InstallBT");
  if (!form2) return;
  session.ConfirmSavedFolder(form2);
  HWND notice = session.WaitForNotice();
  if (!checks.Expect(notice != nullptr, "the progress notice is shown during the transfer")) return;
  checks.Expect(!LetsTheSessionEnd(session.form1()), "during the transfer, the main window holds the session end up");
  DWORD_PTR ignored = 0;
  SendMessageTimeoutW(session.form1(), WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF, SMTO_NORMAL, 5000, &ignored);
  session.AnswerMessageBox(session.form1(), texts::kInterruptedUndone, false, "InstallBT, the session ending");
  checks.Expect(!fixture.GameHas(Fixture::kBulkMusic) && fixture.ReadGame("MAINDATA.DAT") == main_before,
                "the game folder is as before the Install");
  checks.Expect(LetsTheSessionEnd(session.form1()), "after the undo, the main window lets the session end again");
}

}  // namespace

void RunEndToEnd(Checks& checks, const std::filesystem::path& program) {
  Fixture fixture;
  fixture.WriteSavedPath();
  InstallerSession session(checks, fixture, program);
  checks.Section("start");
  if (!session.Start()) return;
  CheckMainWindow(checks, session);
  SecondStartBringsTheFirstForward(checks, session, fixture, program);
  DefaultWithoutDefaultData(checks, session, fixture);
  RestoreWithoutBackup(checks, session, fixture);
  CloseBoxChangesNothing(checks, session, fixture);
  Backup(checks, session, fixture);
  Install(checks, session, fixture);
  Restore(checks, session, fixture);
  DefaultWithDefaultData(checks, session, fixture);
  UnwritableFileReported(checks, session, fixture);
  NotAGameFolder(checks, session, fixture);
  NoSavedFolderAndCancelledPicker(checks, session, fixture);
  GameFolderTypedIntoPicker(checks, session, fixture);
  SessionEndDuringATransfer(checks, session, fixture);
  LongInstallAnswersTheSystem(checks, session, fixture);
  checks.Section("end");
  InstallerSession again(checks, fixture, program);
  checks.Expect(again.Start() && again.CloseMainWindow(), "closing the idle main window ends the program with code 0");
}

}  // namespace tolvashu::e2e
