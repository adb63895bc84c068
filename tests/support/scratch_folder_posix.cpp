#include <sys/stat.h>

#include <stdexcept>
#include <string>

#include "support/scratch_folder.h"

namespace tolvashu::testing {

// Read-only on POSIX means no write permission for anyone, as Wine reads it.
void ScratchFolder::SetReadOnly(std::string_view relative, bool read_only) const {
  std::string path = Join(relative);
  struct stat st;
  if (stat(path.c_str(), &st) != 0) throw std::runtime_error("no such file " + path);
  mode_t mode = read_only ? (st.st_mode & ~mode_t{0222}) : (st.st_mode | 0200);
  if (chmod(path.c_str(), mode & 07777) != 0) throw std::runtime_error("chmod failed " + path);
}

std::string ScratchFolder::Attributes(std::string_view relative) const {
  struct stat st;
  if (stat(Join(relative).c_str(), &st) != 0) throw std::runtime_error("no such file " + Join(relative));
  return std::to_string(st.st_mode & 07777);
}

void ScratchFolder::SetHidden(std::string_view relative) const {
  std::string name(relative.substr(relative.find_last_of("/\\") + 1));
  if (name.empty() || name[0] != '.') throw std::runtime_error("POSIX hidden files are dot-files: " + name);
}

}  // namespace tolvashu::testing
