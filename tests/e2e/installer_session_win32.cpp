#include "e2e/installer_session_win32.h"

#include <utility>
#include <vector>

#include "app/app_texts.h"
#include "app/form1_layout.h"
#include "e2e/remote_window_win32.h"
#include "folderchoice/form2_texts.h"
#include "winui/app_title.h"
#include "winui/display_text.h"

namespace tolvashu::e2e {

InstallerSession::InstallerSession(Checks& checks, const Fixture& fixture, std::filesystem::path program)
    : checks_(checks), fixture_(fixture), program_(std::move(program)) {}

bool InstallerSession::Start() {
  if (!checks_.Expect(process_.Start(program_, fixture_.package()), "the program starts")) return false;
  const DWORD pid = process_.pid();
  form1_ = WaitFor([pid] { return FindTopLevel(pid, texts::kForm1Caption); });
  if (!checks_.Expect(form1_ != nullptr, "the main window opens")) return false;
  form1_controls_ = FindControls(checks_, form1_, kForm1);
  return form1_controls_.size() == kForm1.control_count;
}

bool InstallerSession::CloseMainWindow() {
  Close(form1_);
  std::optional<DWORD> code = process_.WaitForExit(10000);
  return code && *code == 0;
}

HWND InstallerSession::OpenFolderChoice(const char* button) {
  Press(form1_controls_.at(button));
  return WaitForFolderChoice(button);
}

HWND InstallerSession::OpenFolderChoiceWithEnter(const char* button) {
  HWND wanted = form1_controls_.at(button);
  bool focused = WaitFor([&]() -> HWND { return FocusOf(process_.thread_id()) == wanted ? wanted : nullptr; },
                         2000) != nullptr;
  checks_.Expect(focused, std::string(button) + " has the focus");
  TypeKey(VK_RETURN);
  return WaitForFolderChoice(button);
}

HWND InstallerSession::WaitForFolderChoice(const char* button) {
  const DWORD pid = process_.pid();
  HWND form2 = WaitFor([pid] { return FindTopLevel(pid, form2::kCaption); });
  checks_.Expect(form2 != nullptr, std::string("the folder dialog opens for ") + button);
  return form2;
}

HWND InstallerSession::OpenFolderPicker(HWND form2) {
  Press(FindChild(form2, L"Button", ButtonCaption(form2::kBT1)));
  const DWORD pid = process_.pid();
  HWND browser = WaitFor([&]() -> HWND {
    std::vector<HWND> dialogs = DialogsOwnedBy(pid, form2);
    return dialogs.empty() ? nullptr : dialogs.front();
  });
  checks_.Expect(browser != nullptr, "BT1 opens the folder picker over Form2");
  return browser;
}

void InstallerSession::ChooseInPicker(HWND form2, const std::string& path) {
  HWND picker = OpenFolderPicker(form2);
  if (!picker) return;
  bool typed = TypeIntoPicker(picker, path);
  checks_.Expect(typed, "the picker takes the typed path «" + path + "»");
  PressDialogButton(picker, typed ? IDOK : IDCANCEL);
  checks_.Expect(WaitUntilGone(picker), "the picker closes");
}

std::string InstallerSession::SavedFolderCaption() const {
  return std::string(form2::kBT2SavedBefore) + "\r" + fixture_.GamePath() + "\r" + form2::kBT2SavedAfter;
}

void InstallerSession::ConfirmSavedFolder(HWND form2) {
  HWND bt2 = FindChild(form2, L"Button", ButtonCaption(SavedFolderCaption()));
  if (!checks_.Expect(bt2 != nullptr, "BT2 offers the saved folder")) return;
  Press(bt2);
}

HWND InstallerSession::WaitForNotice() {
  const DWORD pid = process_.pid();
  HWND notice = nullptr;
  WaitFor([&]() -> HWND {
    notice = FindTopLevel(pid, texts::kForm3Caption);
    if (notice) return notice;
    std::vector<HWND> boxes = DialogsOwnedBy(pid, form1_);  // the transfer ended first
    return boxes.empty() ? nullptr : boxes.front();
  });
  return notice;
}

HWND InstallerSession::WaitForMessageBox(HWND owner) {
  const DWORD pid = process_.pid();
  return WaitFor([&] {
    for (HWND box : DialogsOwnedBy(pid, owner)) {
      if (TextOf(box) == kAppTitle) return box;
    }
    return HWND{};
  });
}

void InstallerSession::AnswerMessageBox(HWND owner, const std::string& text, bool exclamation,
                                        const std::string& what) {
  HWND box = WaitForMessageBox(owner);
  if (!checks_.Expect(box != nullptr, what + ": the message box appears")) return;
  MessageBoxView view = ReadMessageBox(box);
  checks_.ExpectEqual(view.text, WithCrLf(text), what + ": message text");
  checks_.Expect(view.has_icon == exclamation, what + (exclamation ? ": exclamation icon" : ": no icon"));
  PressDialogButton(box, IDOK);
  checks_.Expect(WaitUntilGone(box), what + ": OK closes the box");
}

}  // namespace tolvashu::e2e
