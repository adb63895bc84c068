#include "transfer/inside_folder.h"

#include "disk/device_name.h"
#include "disk/path_parts.h"
#include "disk/temporary_name.h"
#include "text/ascii_upper.h"

namespace tolvashu {

namespace {

// «..» steps up; longer runs of dots are no names Windows keeps.
bool IsDotsOnly(std::string_view component) {
  return component.size() >= 2 && component.find_first_not_of('.') == std::string_view::npos;
}

// The transfer's own journal, holding folders and temporary files, in any
// case: a world file could otherwise name the player's held files.
bool IsOwnComponent(std::string_view component) {
  return AsciiUpper(component.substr(0, kOwnNamePrefix.size())) == AsciiUpper(kOwnNamePrefix);
}

bool IsSafeComponent(std::string_view component) {
  return !IsDotsOnly(component) && !IsDeviceName(component) && !IsOwnComponent(component);
}

}  // namespace

bool StaysInsideFolder(std::string_view name) {
  if (name.empty() || IsPathSeparator(name.front())) return false;
  for (char c : name) {
    if (c == ':' || static_cast<unsigned char>(c) < 0x20) return false;
  }
  std::size_t start = 0;
  while (start <= name.size()) {
    std::size_t end = name.find_first_of(kPathSeparators, start);
    if (end == std::string_view::npos) end = name.size();
    if (!IsSafeComponent(name.substr(start, end - start))) return false;
    start = end + 1;
  }
  return true;
}

}  // namespace tolvashu
