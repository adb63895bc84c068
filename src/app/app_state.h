// The process-wide state of the installer: the chosen game folder and whether
// the folder dialog ended with a folder to use. One instance lives for the
// whole run; the operations and the folder choice dialog reference it.
#pragma once

#include <cstdint>
#include <string>

namespace tolvashu {

struct AppState {
  // The game folder as the browser returns it: no trailing separator except
  // at a drive root. Empty until a folder is chosen or loaded.
  std::string GamePath;
  // 1 when the folder dialog ended with a folder to use, 0 otherwise.
  std::int16_t PathChosen = 0;
};

}  // namespace tolvashu
