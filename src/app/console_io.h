// Text in and out of the console front end: UTF-8 lines on standard input,
// UTF-8 text on standard output and standard error.
#pragma once

#include <iosfwd>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace tolvashu {

class ConsoleIo {
 public:
  virtual ~ConsoleIo() = default;
  // The next input line without its line end; std::nullopt at the end of input.
  virtual std::optional<std::string> ReadLine() = 0;
  // Writes UTF-8 text as it is ("\n" ends a line).
  virtual void Write(std::string_view text) = 0;
  // Whether the text goes to a terminal that a person reads, where a line
  // may be written over ("\r"); false for a file or a pipe.
  virtual bool IsTerminal() const { return false; }
  // Writes out what is held back, and tells why the output cannot be
  // written if it cannot (a full disk, a closed pipe): in the system's
  // words, "" when it gives none. std::nullopt while everything written so
  // far has gone out.
  virtual std::optional<std::string> OutputFailure() { return std::nullopt; }

  // Writes a message or caption text, each CR shown as a line break, and
  // ends the line.
  void WriteText(std::string_view text);
  // The next input line as a menu choice: blanks and tabs around it dropped.
  std::optional<std::string> ReadChoice();
};

// A console over two standard streams (also what the tests use). Once its
// output has failed it writes nothing more, and its input has ended: a user
// who cannot see the questions is asked none.
class StreamConsoleIo : public ConsoleIo {
 public:
  StreamConsoleIo(std::istream& in, std::ostream& out);
  std::optional<std::string> ReadLine() override;
  void Write(std::string_view text) override;
  std::optional<std::string> OutputFailure() override;

 private:
  // Keeps the system's reason when the output stream has just failed.
  void NoteFailure();

  std::istream& in_;
  std::ostream& out_;
  std::optional<std::string> failure_;
};

// The process's own console, set up for UTF-8 in both directions.
std::unique_ptr<ConsoleIo> MakeStandardConsoleIo();
// The process's standard error, for what the program says beside its
// output; it reads nothing.
std::unique_ptr<ConsoleIo> MakeStandardErrorIo();

}  // namespace tolvashu
