#include "files/folder_watch_posix.h"

#include <optional>
#include <string>
#include <utility>

#include "files/pattern_parts.h"

namespace tolvashu {

namespace {

class NotifiedFolderWatch : public FolderWatch {
 public:
  NotifiedFolderWatch(PathResolver& resolver, std::string folder, FolderNames::Stamp stamp)
      : resolver_(resolver), folder_(std::move(folder)), stamp_(stamp) {}

  bool Changed() override {
    std::optional<FolderNames::Stamp> now = resolver_.StampOf(folder_);
    return !now || !(*now == stamp_);
  }

 private:
  PathResolver& resolver_;
  const std::string folder_;  // as the pattern wrote it
  const FolderNames::Stamp stamp_;
};

}  // namespace

std::unique_ptr<FolderWatch> WatchFolderOf(PathResolver& resolver, std::string_view pattern) {
  std::optional<PatternParts> parts = SplitPattern(pattern);
  if (!parts) return nullptr;
  std::string folder = parts->folder.empty() ? "." : parts->folder;
  std::optional<FolderNames::Stamp> stamp = resolver.StampOf(folder);
  if (!stamp) return nullptr;
  return std::make_unique<NotifiedFolderWatch>(resolver, std::move(folder), *stamp);
}

}  // namespace tolvashu
