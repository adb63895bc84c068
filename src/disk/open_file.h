// The two kinds of open file a disk hands out: one to read whole, one to
// write (the current file of the file layer, and a transfer's journal).
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tolvashu {

// The bytes of a file opened for reading, read when first needed (a game
// executable is opened only to prove that it is there).
class InputFile {
 public:
  virtual ~InputFile() = default;
  virtual std::optional<std::string> ReadAll() = 0;
};

// A file opened for writing, already created or truncated to length 0.
class OutputFile {
 public:
  virtual ~OutputFile() = default;
  virtual bool Write(std::string_view bytes) = 0;
  // Hands what was written so far to the system: it survives the end of
  // this process, killed or not.
  virtual bool Flush() = 0;
  // Flush, and makes the content durable: it survives a power cut.
  virtual bool Sync() = 0;
  virtual bool Close() = 0;
};

}  // namespace tolvashu
