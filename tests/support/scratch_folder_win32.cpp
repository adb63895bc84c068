#include <windows.h>

#include <stdexcept>
#include <string>
#include <utility>

#include "support/scratch_folder.h"

namespace tolvashu::testing {

namespace {

void ChangeAttributes(const std::string& path, DWORD add, DWORD remove) {
  std::wstring wide = ToPath(path).wstring();
  DWORD attributes = GetFileAttributesW(wide.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) throw std::runtime_error("no such file " + path);
  attributes = (attributes | add) & ~remove;
  if (attributes == 0) attributes = FILE_ATTRIBUTE_NORMAL;
  if (!SetFileAttributesW(wide.c_str(), attributes)) throw std::runtime_error("cannot set attributes " + path);
}

}  // namespace

void ScratchFolder::SetReadOnly(std::string_view relative, bool read_only) const {
  ChangeAttributes(Join(relative), read_only ? FILE_ATTRIBUTE_READONLY : 0,
                   read_only ? 0 : FILE_ATTRIBUTE_READONLY);
}

std::string ScratchFolder::Attributes(std::string_view relative) const {
  DWORD attributes = GetFileAttributesW(ToPath(Join(relative)).wstring().c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) throw std::runtime_error("no such file " + Join(relative));
  std::string letters;
  for (auto [flag, letter] : {std::pair{FILE_ATTRIBUTE_READONLY, 'R'}, std::pair{FILE_ATTRIBUTE_HIDDEN, 'H'},
                              std::pair{FILE_ATTRIBUTE_SYSTEM, 'S'}, std::pair{FILE_ATTRIBUTE_ARCHIVE, 'A'}}) {
    if (attributes & flag) letters += letter;
  }
  return letters;
}

void ScratchFolder::SetHidden(std::string_view relative) const {
  ChangeAttributes(Join(relative), FILE_ATTRIBUTE_HIDDEN, 0);
}

}  // namespace tolvashu::testing
