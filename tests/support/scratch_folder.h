// A folder on the real disk for one test, removed with everything in it when
// the test ends. Paths are UTF-8; names may hold Japanese characters.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tolvashu::testing {

// UTF-8 text <-> std::filesystem::path, the same on every platform.
std::filesystem::path ToPath(std::string_view utf8);
std::string FromPath(const std::filesystem::path& path);

class ScratchFolder {
 public:
  ScratchFolder();
  ~ScratchFolder();
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;

  // The folder itself, without a trailing separator.
  const std::string& path() const { return path_; }
  // The folder + the platform's separator + `relative` ("a/b" is accepted).
  std::string Join(std::string_view relative) const;
  // Join(relative) + a trailing separator: the form the engine takes folders in.
  std::string Folder(std::string_view relative = "") const;

  void WriteFile(std::string_view relative, std::string_view bytes) const;
  std::optional<std::string> ReadFile(std::string_view relative) const;
  bool Exists(std::string_view relative) const;
  void MakeFolder(std::string_view relative) const;
  // The names in a folder exactly as the disk holds them, sorted.
  std::vector<std::string> List(std::string_view relative = "") const;

  void SetReadOnly(std::string_view relative, bool read_only) const;
  // The attributes a file or folder has, as text: its permission bits on
  // POSIX, its attribute letters (R, H, S, A) on Windows.
  std::string Attributes(std::string_view relative) const;
  // Marks a file hidden. On POSIX only a dot-file is hidden, so this renames
  // nothing and instead expects the name to start with '.'.
  void SetHidden(std::string_view relative) const;

 private:
  std::string path_;
};

// The separator of the platform's own paths: '\\' on Windows, '/' elsewhere.
char NativeSeparator();

}  // namespace tolvashu::testing
