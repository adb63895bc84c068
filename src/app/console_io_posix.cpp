#include <iostream>

#include "app/console_io.h"

namespace tolvashu {

// The terminal is taken to speak UTF-8, as the program does.
std::unique_ptr<ConsoleIo> MakeStandardConsoleIo() { return std::make_unique<StreamConsoleIo>(std::cin, std::cout); }

}  // namespace tolvashu
