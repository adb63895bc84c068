#include "app/console_message_box.h"

#include "app/console_texts.h"

namespace tolvashu {

void PrintMessageBox(ConsoleIo& io, const std::string& text, MessageIcon icon) {
  io.WriteText(icon == MessageIcon::kExclamation ? console::kWarningMark + text : text);
}

void PrintDiagnostic(ConsoleIo& errors, const std::string& text, MessageIcon icon) {
  errors.Write(console::kDiagnosticStart);
  PrintMessageBox(errors, text, icon);
}

}  // namespace tolvashu
