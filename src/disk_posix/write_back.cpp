#include "disk_posix/write_back.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>

#include "disk_posix/durability.h"

namespace tolvashu {

namespace {

// New content that piles up before the helper is asked to sync: enough that
// a transfer of small files syncs a few times, not once per file.
constexpr off_t kSyncEvery = off_t{16} << 20;

}  // namespace

WriteBack::~WriteBack() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    stopping_ = true;
  }
  wake_.notify_one();
  if (helper_.joinable()) helper_.join();
}

void WriteBack::Watch(const std::string& folder) {
  UniqueFd fd(open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  struct stat status;
  if (!fd.valid() || fstat(fd.get(), &status) != 0) return;
  auto same = [&](const FileSystemHandle& handle) { return handle.device == status.st_dev; };
  if (std::any_of(watched_.begin(), watched_.end(), same)) return;
  // Where syncfs is not enough, the commit syncs each file, and syncing the
  // whole file system on the way would only cost.
  const bool synced_whole = OneSyncReachesStorage(fd.get());
  watched_.push_back({status.st_dev, std::move(fd)});
  if (!synced_whole) return;
  std::lock_guard<std::mutex> lock(mutex_);
  to_sync_.push_back(watched_.back().fd.get());
}

void WriteBack::Written(off_t bytes) {
  unsynced_ += bytes;
  if (unsynced_ < kSyncEvery) return;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    if (to_sync_.empty() || sync_asked_) return;  // the helper is still at the last sync
    sync_asked_ = true;
  }
  unsynced_ = 0;
  if (!helper_.joinable()) {
    helper_ = std::thread([this] { SyncInBackground(); });
  } else {
    wake_.notify_one();
  }
}

// Each sync goes through a handle of the helper's own: what it reports is
// for the helper alone, and the watched handles still hear of every failure.
void WriteBack::SyncInBackground() {
  std::unique_lock<std::mutex> lock(mutex_);
  for (;;) {
    wake_.wait(lock, [this] { return sync_asked_ || stopping_; });
    if (stopping_) return;
    std::vector<int> file_systems = to_sync_;
    lock.unlock();
    for (int watched : file_systems) {
      UniqueFd own(openat(watched, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC));
      if (own.valid()) syncfs(own.get());
    }
    lock.lock();
    sync_asked_ = false;
  }
}

}  // namespace tolvashu
