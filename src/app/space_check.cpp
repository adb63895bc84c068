#include "app/space_check.h"

namespace tolvashu {

namespace {

// The journal holds one line per change, about two paths long, and its
// head; a holding folder or two take a block each.
constexpr std::uint64_t kJournalHeadBytes = 64 * 1024;
constexpr std::uint64_t kJournalBytesPerChange = 128;
constexpr std::uint64_t kMegabyte = 1024 * 1024;

std::uint64_t RoundedUp(std::uint64_t bytes, std::uint64_t block) { return (bytes + block - 1) / block * block; }

}  // namespace

std::uint64_t SpaceNeeded(const std::vector<PlannedChange>& changes, std::uint64_t block_bytes) {
  const std::uint64_t block = block_bytes != 0 ? block_bytes : 1;
  std::uint64_t journal = kJournalHeadBytes;
  std::uint64_t needed = 0;
  for (const PlannedChange& change : changes) {
    journal += kJournalBytesPerChange + 2 * (change.path.size() + change.source.size());
    switch (change.kind) {
      case ChangeKind::kCopy:
      case ChangeKind::kWrite:
        needed += RoundedUp(change.bytes, block);
        break;
      case ChangeKind::kMakeFolder:
        needed += block;
        break;
      case ChangeKind::kDelete:
      case ChangeKind::kEmpty:
        break;
    }
  }
  return needed + RoundedUp(journal, block);
}

SpaceOutlook LookAtSpace(Disk& disk, const std::vector<std::string>& folders,
                         const std::vector<PlannedChange>& changes) {
  for (const std::string& folder : folders) {
    Result<VolumeSpace> space = disk.FreeSpace(folder);
    if (space.ok()) return {SpaceNeeded(changes, space->block_bytes), space->free_bytes};
  }
  return {SpaceNeeded(changes, 1), std::nullopt};
}

std::optional<SpaceShortage> FindSpaceShortage(Disk& disk, const std::vector<std::string>& folders,
                                               const std::vector<PlannedChange>& changes) {
  SpaceOutlook outlook = LookAtSpace(disk, folders, changes);
  // Where nothing can be known, the transfer goes on.
  if (!outlook.free_bytes || outlook.needed_bytes <= *outlook.free_bytes) return std::nullopt;
  return SpaceShortage{outlook.needed_bytes, *outlook.free_bytes};
}

std::string NeededMegabytes(const SpaceShortage& shortage) {
  return std::to_string((shortage.needed_bytes + kMegabyte - 1) / kMegabyte) + " MB";
}

std::string FreeMegabytes(const SpaceShortage& shortage) {
  return std::to_string(shortage.free_bytes / kMegabyte) + " MB";
}

}  // namespace tolvashu
