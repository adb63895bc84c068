// A front end that plays the user for the operations' tests: what happens in
// the folder dialog is scripted, message boxes and the notice are recorded.
#pragma once

#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "app/app_state.h"
#include "app/ui.h"

namespace tolvashu::testing {

struct Shown {
  std::string text;
  MessageIcon icon;
  bool operator==(const Shown& other) const { return text == other.text && icon == other.icon; }
};

inline std::ostream& operator<<(std::ostream& out, const Shown& shown) {
  return out << (shown.icon == MessageIcon::kExclamation ? "[!] " : "") << shown.text;
}

class CountingNotice : public ProgressNotice {
 public:
  void Show() override { ++shown; }
  void Unload() override { ++unloaded; }
  int shown = 0;
  int unloaded = 0;
};

class ScriptedUi : public Ui {
 public:
  explicit ScriptedUi(AppState& state) : state_(state) {}
  void ShowMessage(const std::string& text, MessageIcon icon) override { messages.push_back({text, icon}); }
  void ShowFolderChoice() override {
    if (in_dialog) in_dialog(state_);
  }
  ProgressNotice& Notice() override { return notice; }

  // The user confirms `folder` in the dialog.
  void ConfirmFolder(const std::string& folder) {
    in_dialog = [folder](AppState& state) {
      state.GamePath = folder;
      state.PathChosen = 1;
    };
  }

  std::function<void(AppState&)> in_dialog;
  std::vector<Shown> messages;
  CountingNotice notice;

 private:
  AppState& state_;
};

}  // namespace tolvashu::testing
