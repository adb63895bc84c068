// A message box on the console: its text, each CR a line break, marked
// "警告: " when the box carries the exclamation icon. A console box has no
// OK button to wait for.
#pragma once

#include <string>

#include "app/console_io.h"
#include "app/ui.h"

namespace tolvashu {

void PrintMessageBox(ConsoleIo& io, const std::string& text, MessageIcon icon);

// A message box, or any other word of the program's, as a diagnostic on
// standard error: the same, after "tolvashu-console: ", so that it can be
// told from what other programs in a script say.
void PrintDiagnostic(ConsoleIo& errors, const std::string& text, MessageIcon icon = MessageIcon::kNone);

}  // namespace tolvashu
