#include "folderchoice/game_check.h"

#include "folderchoice/policy_steps.h"

namespace tolvashu {

namespace {

// The executable only has to open; its content is never read.
bool Opens(FileOps& files, const std::string& path) {
  if (!files.OpenForReading(path)) return false;
  files.CloseAll();
  return true;
}

}  // namespace

std::int16_t CheckGameExe(FileOps& files, const std::string& folder) {
  // Policy 2, with the alternative executable as the fallback instead of a
  // failure value.
  constexpr ErrorPolicy kPolicy = ErrorPolicy::kStopAtFirstFailure;
  if (!Opens(files, folder + kGameExe)) {
    StopAtFailure<kPolicy>(files);
    return CheckAltGameExe(files, folder);
  }
  return 1;
}

std::int16_t CheckAltGameExe(FileOps& files, const std::string& folder) {
  constexpr ErrorPolicy kPolicy = ErrorPolicy::kStopAtFirstFailure;
  if (!Opens(files, folder + kAltGameExe)) return StopAtFailure<kPolicy>(files);
  return 1;
}

}  // namespace tolvashu
