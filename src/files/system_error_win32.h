// Short texts for the Win32 errors the file layer reports to the user.
#pragma once

#include <string>
#include <utility>

#include "files/file_ops.h"

namespace tolvashu {

// Why a read-only file was left alone. Checked by the layer itself, since
// Wine running as root would let the system write or delete it.
inline constexpr const char* kReadOnlyReason = "read-only";

// A short English description of a GetLastError code: our own words for the
// causes a user meets (read-only, in use, disk full, folder missing), the
// system's message for the rest.
std::string DescribeSystemError(unsigned long code);

// What the user can do about a GetLastError code.
FailureCause CauseOfSystemError(unsigned long code);

// A failure of `path` described from a GetLastError code.
inline FileFailure SystemFailure(std::string path, unsigned long code) {
  return {std::move(path), CauseOfSystemError(code), DescribeSystemError(code)};
}

// The codes that say "there is nothing at that path" rather than "something
// is there but could not be used".
bool IsNotFoundError(unsigned long code);

}  // namespace tolvashu
