#include "app/console_main_menu.h"

#include <string>

#include "app/app_texts.h"
#include "app/console_texts.h"
#include "app/interruption.h"

namespace tolvashu {

namespace {

struct MenuItem {
  const char* key;
  const char* caption;
  void (Operations::*click)();
};

// In the order the buttons stand in the window, top to bottom.
constexpr MenuItem kMenu[] = {
    {"1", texts::kBackupBT, &Operations::ClickBackupBT},
    {"2", texts::kInstallBT, &Operations::ClickInstallBT},
    {"3", texts::kRestoreBT, &Operations::ClickRestoreBT},
    {"4", texts::kDefoBT, &Operations::ClickDefoBT},
};

void PrintMenu(ConsoleIo& io) {
  io.WriteText(texts::kForm1Caption);
  for (const MenuItem& item : kMenu) io.WriteText(std::string(item.key) + ": " + item.caption);
  io.WriteText(console::kExitItem);
  io.Write(console::kPrompt);
}

}  // namespace

void RunMainMenu(ConsoleIo& io, Operations& operations) {
  for (;;) {
    PrintMenu(io);
    std::optional<std::string> choice = io.ReadChoice();
    if (!choice || *choice == "0") return;
    for (const MenuItem& item : kMenu) {
      if (*choice == item.key) (operations.*item.click)();
    }
    if (InterruptingSignal() != 0) return;  // the transfer was undone: the program ends
  }
}

}  // namespace tolvashu
