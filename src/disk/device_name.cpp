#include "disk/device_name.h"

#include <array>
#include <string>

#include "text/ascii_upper.h"

namespace tolvashu {

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

}  // namespace tolvashu
