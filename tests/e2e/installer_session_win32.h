// The installer started in the fixture's package folder and worked through
// its windows by caption, as a user would: the steps that the end-to-end
// test and the screenshot run share.
#pragma once

#include <windows.h>

#include <filesystem>
#include <string>

#include "e2e/checks.h"
#include "e2e/fixture_win32.h"
#include "e2e/installer_process_win32.h"
#include "e2e/layout_check_win32.h"

namespace tolvashu::e2e {

class InstallerSession {
 public:
  InstallerSession(Checks& checks, const Fixture& fixture, std::filesystem::path program);

  // Starts the program and finds the main window and its buttons.
  bool Start();
  // Closes the main window; true when the process then ends with code 0.
  bool CloseMainWindow();

  HWND form1() const { return form1_; }
  const Controls& form1_controls() const { return form1_controls_; }
  InstallerProcess& process() { return process_; }

  // Presses a main window button and waits for the folder dialog; null
  // when it does not open.
  HWND OpenFolderChoice(const char* button);
  // The same with the keyboard: checks that the button has the focus and
  // types Enter.
  HWND OpenFolderChoiceWithEnter(const char* button);
  // Presses BT1 of an open folder dialog and waits for the folder picker;
  // null when it does not open.
  HWND OpenFolderPicker(HWND form2);
  // Presses BT1, types `path` (absolute, or relative to the folder the
  // picker opened in) into the picker and confirms it with OK.
  void ChooseInPicker(HWND form2, const std::string& path);
  // Presses BT2 of an open folder dialog whose BT2 offers the saved folder.
  void ConfirmSavedFolder(HWND form2);
  // The progress notice, caught while the transfer runs, or null when a
  // message box came first.
  HWND WaitForNotice();
  // The next message box owned by `owner`, or null.
  HWND WaitForMessageBox(HWND owner);
  // Waits for the next message box owned by `owner`, checks its text and
  // icon, and presses OK.
  void AnswerMessageBox(HWND owner, const std::string& text, bool exclamation, const std::string& what);

  // BT2's caption when it offers the fixture's game folder.
  std::string SavedFolderCaption() const;

 private:
  Checks& checks_;
  const Fixture& fixture_;
  std::filesystem::path program_;
  InstallerProcess process_;
  HWND form1_ = nullptr;
  Controls form1_controls_;

  HWND WaitForFolderChoice(const char* button);
};

}  // namespace tolvashu::e2e
