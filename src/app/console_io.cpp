#include "app/console_io.h"

#include <cerrno>
#include <cstring>
#include <istream>
#include <ostream>

namespace tolvashu {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

}  // namespace

void ConsoleIo::WriteText(std::string_view text) {
  std::string shown(text);
  for (char& c : shown) {
    if (c == '\r') c = '\n';
  }
  shown += '\n';
  Write(shown);
}

std::optional<std::string> ConsoleIo::ReadChoice() {
  std::optional<std::string> line = ReadLine();
  if (!line) return std::nullopt;
  std::size_t begin = 0;
  std::size_t end = line->size();
  while (begin < end && IsBlank((*line)[begin])) ++begin;
  while (end > begin && IsBlank((*line)[end - 1])) --end;
  return line->substr(begin, end - begin);
}

StreamConsoleIo::StreamConsoleIo(std::istream& in, std::ostream& out) : in_(in), out_(out) {}

std::optional<std::string> StreamConsoleIo::ReadLine() {
  // The prompt must be visible before the program waits.
  if (OutputFailure()) return std::nullopt;
  std::string line;
  if (!std::getline(in_, line)) return std::nullopt;
  // A line typed on a Windows console or saved by a Windows editor ends with CR LF.
  if (!line.empty() && line.back() == '\r') line.pop_back();
  return line;
}

void StreamConsoleIo::Write(std::string_view text) {
  if (failure_) return;
  out_.write(text.data(), static_cast<std::streamsize>(text.size()));
  NoteFailure();
}

std::optional<std::string> StreamConsoleIo::OutputFailure() {
  if (!failure_) {
    out_.flush();
    NoteFailure();
  }
  return failure_;
}

// A standard stream fails only when the system call under it does, whose
// error number is still there.
void StreamConsoleIo::NoteFailure() {
  const int error = errno;
  if (failure_ || out_.good()) return;
  failure_ = error != 0 ? std::strerror(error) : "";
}

}  // namespace tolvashu
