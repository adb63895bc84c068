// Makes a folder the process's current directory for as long as the guard
// lives, then returns to the folder that was current before. Tests that need
// a package folder as the current directory use it, since one test
// executable is one process (under Wine too).
#pragma once

#include <filesystem>
#include <string>

namespace tolvashu::testing {

class CurrentFolderGuard {
 public:
  explicit CurrentFolderGuard(const std::string& folder);
  ~CurrentFolderGuard();
  CurrentFolderGuard(const CurrentFolderGuard&) = delete;
  CurrentFolderGuard& operator=(const CurrentFolderGuard&) = delete;

 private:
  std::filesystem::path previous_;
};

}  // namespace tolvashu::testing
