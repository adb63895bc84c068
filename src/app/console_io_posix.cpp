#include <unistd.h>

#include <iostream>

#include "app/console_io.h"

namespace tolvashu {

namespace {

// A standard stream, which knows whether a terminal is behind it. The
// terminal is taken to speak UTF-8, as the program does.
class StandardStreamIo : public StreamConsoleIo {
 public:
  StandardStreamIo(std::ostream& out, int fd) : StreamConsoleIo(std::cin, out), fd_(fd) {}
  bool IsTerminal() const override { return isatty(fd_) == 1; }

 private:
  int fd_;
};

}  // namespace

std::unique_ptr<ConsoleIo> MakeStandardConsoleIo() {
  return std::make_unique<StandardStreamIo>(std::cout, STDOUT_FILENO);
}

std::unique_ptr<ConsoleIo> MakeStandardErrorIo() { return std::make_unique<StandardStreamIo>(std::cerr, STDERR_FILENO); }

}  // namespace tolvashu
