// What the Win32 errors the disk meets mean to the layer above the seam,
// and short texts for them.
#pragma once

#include <string>

#include "disk/disk_error.h"

namespace tolvashu {

// A short English description of a GetLastError code: our own words for the
// causes a user meets (access denied, in use, disk full, folder missing), the
// system's message for the rest.
std::string DescribeSystemError(unsigned long code);

// What the user can do about a GetLastError code.
FailureCause CauseOfSystemError(unsigned long code);

// The codes that say "there is nothing at that path" rather than "something
// is there but could not be used".
bool IsNotFoundError(unsigned long code);

// kFailed, whatever the code says, with its cause and its words.
DiskError SystemError(unsigned long code);

// The error a primitive reports for a GetLastError code: kAbsent for "no such
// file", kNoFolder for "no such folder", kTaken for "already there", kFailed
// with its cause otherwise.
DiskError ErrorOfSystem(unsigned long code);

}  // namespace tolvashu
