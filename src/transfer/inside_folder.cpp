#include "transfer/inside_folder.h"

#include <array>
#include <string>

#include "transfer/ascii_upper.h"

namespace tolvashu {

namespace {

constexpr std::string_view kSeparators = "\\/";

bool IsSeparator(char c) { return kSeparators.find(c) != std::string_view::npos; }

// Windows opens these device names in any folder, whatever extension follows.
bool IsDeviceName(std::string_view component) {
  static constexpr std::array<std::string_view, 6> kDevices = {"CON", "PRN", "AUX", "NUL", "CONIN$", "CONOUT$"};
  static constexpr std::array<std::string_view, 2> kNumberedDevices = {"COM", "LPT"};
  std::string stem = AsciiUpper(component.substr(0, component.find('.')));
  while (!stem.empty() && stem.back() == ' ') stem.pop_back();
  for (std::string_view device : kDevices) {
    if (stem == device) return true;
  }
  for (std::string_view device : kNumberedDevices) {
    if (stem.size() == device.size() + 1 && stem.compare(0, device.size(), device) == 0 && stem.back() >= '1' &&
        stem.back() <= '9') {
      return true;
    }
  }
  return false;
}

// «..» steps up; longer runs of dots are no names Windows keeps.
bool IsDotsOnly(std::string_view component) {
  return component.size() >= 2 && component.find_first_not_of('.') == std::string_view::npos;
}

bool IsSafeComponent(std::string_view component) { return !IsDotsOnly(component) && !IsDeviceName(component); }

}  // namespace

bool StaysInsideFolder(std::string_view name) {
  if (name.empty() || IsSeparator(name.front())) return false;
  for (char c : name) {
    if (c == ':' || static_cast<unsigned char>(c) < 0x20) return false;
  }
  std::size_t start = 0;
  while (start <= name.size()) {
    std::size_t end = name.find_first_of(kSeparators, start);
    if (end == std::string_view::npos) end = name.size();
    if (!IsSafeComponent(name.substr(start, end - start))) return false;
    start = end + 1;
  }
  return true;
}

}  // namespace tolvashu
