#include "disk/disk.h"

#include "disk/path_parts.h"

namespace tolvashu {

// Policy: every name is tried, and the first that stays is told.
Result<void, RemovalError> Disk::RemoveFiles(const std::string& folder, const std::vector<std::string>& names) {
  const std::string at = WithSeparator(folder);
  std::optional<RemovalError> first;
  for (const std::string& name : names) {
    Result<void> removed = RemoveFile(at + name);
    if (!removed.ok() && removed.error().kind != DiskError::kAbsent && !first) first = RemovalError{name, removed.error()};
  }
  if (first) return *first;
  return {};
}

Result<VolumeSpace> Disk::FreeSpace(const std::string&) { return DiskError::Unknown(); }

void Disk::ExpectCopies(std::vector<ExpectedCopy>) {}

void Disk::SetWaitHook(ChunkHook) {}

}  // namespace tolvashu
