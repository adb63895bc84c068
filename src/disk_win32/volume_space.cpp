#include "disk_win32/volume_space.h"

#include <windows.h>

#include <vector>

#include "disk/path_parts.h"
#include "disk_win32/win32_path.h"

namespace tolvashu {

namespace {

// The cluster size is asked of the volume's root (a drive or a mounted
// folder); 4 KiB, the usual NTFS cluster, where it cannot be.
std::uint64_t ClusterBytes(const std::wstring& folder) {
  constexpr std::uint64_t kUsualCluster = 4096;
  std::vector<wchar_t> root(folder.size() + 2);
  if (!GetVolumePathNameW(folder.c_str(), root.data(), static_cast<DWORD>(root.size()))) return kUsualCluster;
  DWORD sectors_per_cluster = 0, bytes_per_sector = 0, free_clusters = 0, clusters = 0;
  if (!GetDiskFreeSpaceW(root.data(), &sectors_per_cluster, &bytes_per_sector, &free_clusters, &clusters)) {
    return kUsualCluster;
  }
  const std::uint64_t cluster = std::uint64_t{sectors_per_cluster} * bytes_per_sector;
  return cluster != 0 ? cluster : kUsualCluster;
}

}  // namespace

Result<VolumeSpace> FreeSpaceOnWindows(const std::string& folder) {
  const std::wstring wide = ToWin32Path(WithSeparator(folder));
  ULARGE_INTEGER available{};
  if (!GetDiskFreeSpaceExW(wide.c_str(), &available, nullptr, nullptr)) return DiskError::Unknown();
  return VolumeSpace{available.QuadPart, ClusterBytes(wide)};
}

}  // namespace tolvashu
