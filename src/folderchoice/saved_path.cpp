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

bool WriteSavedPathFile(FileOps& files, const std::string& line) {
  constexpr ErrorPolicy kPolicy = ErrorPolicy::kStopAtFirstFailure;
  if (!files.OpenForWriting(kSavedPathFile) || !files.WriteLine(line)) {
    StopAtFailure<kPolicy>(files);
    return false;
  }
  return files.CloseAll();
}

// Only a file that is there is emptied: where there is none, none names an
// older folder either.
void EmptySavedPathFile(FileOps& files) {
  constexpr ErrorPolicy kPolicy = ErrorPolicy::kSkipAndContinue;
  if (files.HasFile(kSavedPathFile).value_or(true)) SkipOnFailure<kPolicy>(files.CreateEmpty(kSavedPathFile));
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

SaveResult SavePath(FileOps& files, const std::string& game_path) {
  std::optional<std::string> line = SavedPathLine(game_path);
  // Known before the file is touched: no line is begun that cannot be ended.
  const bool holds = line && EncodeCp932(*line);
  if (holds && WriteSavedPathFile(files, *line)) return SaveResult::kSaved;
  EmptySavedPathFile(files);
  return holds ? SaveResult::kNotWritten : SaveResult::kCannotHold;
}

}  // namespace tolvashu
