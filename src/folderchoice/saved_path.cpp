#include "folderchoice/saved_path.h"

#include "folderchoice/policy_steps.h"
#include "text/text_codec.h"

namespace tolvashu {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// Reading skips blanks before an item, drops them after an unquoted one, and
// ends an unquoted item at a comma or a line end.
bool ReadingWouldCut(const std::string& path) {
  if (IsBlank(path.front()) || IsBlank(path.back())) return true;
  return path.find_first_of(",\r\n") != std::string::npos;
}

}  // namespace

std::int16_t LoadSavedPath(FileOps& files, std::string& game_path) {
  constexpr ErrorPolicy kPolicy = ErrorPolicy::kStopAtFirstFailure;
  if (!files.OpenForReading(kSavedPathFile)) return StopAtFailure<kPolicy>(files);
  std::optional<std::string> item = files.ReadItem();
  // An empty first item names no folder: it counts as no saved path.
  if (!item || item->empty()) return StopAtFailure<kPolicy>(files);
  if (!files.CloseAll()) return StopAtFailure<kPolicy>(files);
  game_path = *item;
  return 1;
}

std::optional<std::string> SavedPathLine(const std::string& path) {
  if (path.empty() || path.find('"') != std::string::npos) return std::nullopt;
  if (ReadingWouldCut(path)) return "\"" + path + "\"";
  return path;
}

bool SavePath(FileOps& files, const std::string& game_path) {
  constexpr ErrorPolicy kPolicy = ErrorPolicy::kStopAtFirstFailure;
  std::optional<std::string> line = SavedPathLine(game_path);
  // Checked before the file is opened: opening truncates it, and the folder
  // saved before is better kept than lost for a path that cannot be saved.
  if (!line || !EncodeCp932(*line)) return false;
  if (!files.OpenForWriting(kSavedPathFile) || !files.WriteLine(*line)) {
    StopAtFailure<kPolicy>(files);
    return false;
  }
  return files.CloseAll();
}

}  // namespace tolvashu
