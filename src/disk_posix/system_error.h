// What an errno value means to the layer above the seam.
#pragma once

#include <string>

#include "disk/disk_error.h"

namespace tolvashu {

// What the user can do about an errno value.
FailureCause CauseOfError(int error);

// The error a primitive reports for an errno value: kAbsent, kTaken or
// kWrongKind where the value says so, kFailed with its cause otherwise.
DiskError ErrorOf(int error);

// kFailed, whatever the errno value says, with its cause and its words.
DiskError FailedWith(int error);

// A failure of the system, with its own words.
DiskError Failed(FailureCause cause, std::string reason);

// The errors of stat and open that say "nothing is there", as opposed to
// "something on the way could not be looked into" (EACCES, EIO).
bool SaysAbsent(int error);

}  // namespace tolvashu
