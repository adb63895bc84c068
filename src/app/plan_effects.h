// What each change of a plan does to the file at its path, judged against
// what is there now: a step line says "copy ... (replaces)" also when the
// same content is already there, and only the content tells. The summary of
// a dry run counts these; verify lists those that are not kUnchanged.
#pragma once

#include <cstdint>
#include <vector>

#include "disk/disk.h"
#include "disk/planned_change.h"

namespace tolvashu {

enum class Effect {
  kFolderMade,  // a folder that was not there
  kNew,         // a file that was not there (an empty one included)
  kReplaced,    // a file there now, with other content
  kUnchanged,   // a file there now, with the very same content
  kRemoved,     // a file there now, gone without a replacement
  kEmptied,     // a file there now with content, left empty
};

struct PlannedEffect {
  Effect effect = Effect::kNew;
  // kNew, kReplaced, kUnchanged: the bytes the file ends up with; kRemoved,
  // kEmptied: the bytes it holds now.
  std::uint64_t bytes = 0;
  // The file there now, or the copy's source, could not be read: counted as
  // kReplaced, since nothing shows it to be the same.
  bool unreadable = false;
};

// One effect for each change, in the same order. `now` is the disk that the
// plan's overlay read through: it shows the folders as they are before the
// run (after the undo of an unfinished transfer, when there was one).
std::vector<PlannedEffect> EffectsOf(Disk& now, const std::vector<PlannedChange>& changes);

}  // namespace tolvashu
