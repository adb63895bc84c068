// Short texts for the Win32 errors the file layer reports to the user.
#pragma once

#include <string>

namespace tolvashu {

// Why a read-only file was left alone. Checked by the layer itself, since
// Wine running as root would let the system write or delete it.
inline constexpr const char* kReadOnlyReason = "read-only";

// A short English description of a GetLastError code: our own words for the
// causes a user meets (read-only, in use, disk full, folder missing), the
// system's message for the rest.
std::string DescribeSystemError(unsigned long code);

// The codes that say "there is nothing at that path" rather than "something
// is there but could not be used".
bool IsNotFoundError(unsigned long code);

}  // namespace tolvashu
