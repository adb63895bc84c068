// A copy that another transfer is making right now: its temporary file,
// created and held the way the platform's file layer holds its own.
#pragma once

#include <string>
#include <string_view>

namespace tolvashu::testing {

class LiveTemporaryFile {
 public:
  explicit LiveTemporaryFile(const std::string& path);
  ~LiveTemporaryFile();
  LiveTemporaryFile(const LiveTemporaryFile&) = delete;
  LiveTemporaryFile& operator=(const LiveTemporaryFile&) = delete;

  // Writes the content, lets go of the file and moves it over `destination`.
  bool Finish(std::string_view content, const std::string& destination);

 private:
  std::string path_;
  void* handle_;  // the platform's handle or descriptor
};

}  // namespace tolvashu::testing
