// A message box on the console: its text, each CR a line break, marked
// "警告: " when the box carries the exclamation icon. A console box has no
// OK button to wait for.
#pragma once

#include <string>

#include "app/console_io.h"
#include "app/ui.h"

namespace tolvashu {

void PrintMessageBox(ConsoleIo& io, const std::string& text, MessageIcon icon);

}  // namespace tolvashu
