#include "disk_posix/folder_handles.h"

#include <fcntl.h>

#include <algorithm>

namespace tolvashu {

namespace {

// Enough for a transfer's destination folder, its two data subfolders and
// the subfolders a world file names; more are opened again when needed.
constexpr std::size_t kKeptHandles = 8;

}  // namespace

FolderHandles::Handle FolderHandles::Get(const std::string& folder) {
  for (Kept& kept : handles_) {
    if (kept.folder == folder) return {kept.handle, true};
  }
  // A path handle: it needs no right to read the folder, only to reach it.
  UniqueFd fd(open(folder.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC));
  if (!fd.valid()) return {};
  if (handles_.size() == kKeptHandles) handles_.erase(handles_.begin());
  auto handle = std::make_shared<Folder>();
  handle->fd = std::move(fd);
  handles_.push_back({folder, handle});
  return {handle, false};
}

void FolderHandles::Forget(const std::string& folder) {
  auto kept = std::find_if(handles_.begin(), handles_.end(), [&](const Kept& held) { return held.folder == folder; });
  if (kept != handles_.end()) handles_.erase(kept);
}

}  // namespace tolvashu
