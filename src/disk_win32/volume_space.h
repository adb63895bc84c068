// The room left on the volume of a folder, as Windows tells it.
#pragma once

#include <string>

#include "disk/disk.h"

namespace tolvashu {

// The bytes the calling user may still write there (quotas count), and the
// volume's cluster size.
Result<VolumeSpace> FreeSpaceOnWindows(const std::string& folder);

}  // namespace tolvashu
