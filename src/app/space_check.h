// Whether the new files of a transfer fit on the destination's volume. The
// files they replace stay there until the transfer commits, so the new ones
// must fit beside them; a transfer that could not is refused before it
// changes anything, rather than undone after it filled the disk.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "disk/disk.h"
#include "disk/planned_change.h"

namespace tolvashu {

struct SpaceShortage {
  std::uint64_t needed_bytes = 0;
  std::uint64_t free_bytes = 0;
};

// What the changes take on a volume of `block_bytes` blocks: each file
// written rounded up to whole blocks, a block for each folder made, and room
// for the transfer's journal.
std::uint64_t SpaceNeeded(const std::vector<PlannedChange>& changes, std::uint64_t block_bytes);

// The space the changes need on the volume of the first of `folders` whose
// free space can be known, and that free space; without it, the need
// without rounding to blocks.
struct SpaceOutlook {
  std::uint64_t needed_bytes = 0;
  std::optional<std::uint64_t> free_bytes;
};
SpaceOutlook LookAtSpace(Disk& disk, const std::vector<std::string>& folders,
                         const std::vector<PlannedChange>& changes);

// The shortage on the volume of the first of `folders` whose free space can
// be known; none when the changes fit, or when no free space can be known.
std::optional<SpaceShortage> FindSpaceShortage(Disk& disk, const std::vector<std::string>& folders,
                                               const std::vector<PlannedChange>& changes);

// "N MB" for a shortage's message: the needed space rounded up, the free
// space down, so that the two never look alike when one is short.
std::string NeededMegabytes(const SpaceShortage& shortage);
std::string FreeMegabytes(const SpaceShortage& shortage);

}  // namespace tolvashu
