// The current file's two forms on POSIX: a file opened for reading, and one
// opened for writing with its lines gathered in memory and written in large
// pieces.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "disk/open_file.h"
#include "disk_posix/unique_fd.h"

namespace tolvashu {

class PosixInputFile : public InputFile {
 public:
  explicit PosixInputFile(UniqueFd fd) : fd_(std::move(fd)) {}
  std::optional<std::string> ReadAll() override;

 private:
  UniqueFd fd_;
};

class PosixOutputFile : public OutputFile {
 public:
  explicit PosixOutputFile(UniqueFd fd) : fd_(std::move(fd)) {}
  ~PosixOutputFile() override;
  bool Write(std::string_view bytes) override;
  bool Flush() override;
  bool Sync() override;
  bool Close() override;

 private:
  UniqueFd fd_;
  std::string pending_;
  bool failed_ = false;  // a write was lost: every later result says so
};

}  // namespace tolvashu
