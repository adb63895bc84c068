// What a transfer writes, sent on its way to the disk while the transfer
// goes on, and the write-back failures that its commit must hear of.
//
// The commit makes everything durable with one syncfs per file system. Left
// alone, the kernel writes the new files' content out only then, and the
// transfer waits for all of it at the end. Here a helper thread syncs the
// file system each time enough new content has piled up, so the writing
// overlaps the copying and the commit's sync finds little left to do.
//
// syncfs reports a write-back failure once to each open handle that was
// opened before it. The helper's syncs would hide a failure from a handle
// opened at the commit, so the commit syncs through handles opened before
// the first file was written into each file system (`Watch`).
#pragma once

#include <sys/types.h>

#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "disk_posix/unique_fd.h"

namespace tolvashu {

// A handle of a file system, opened before anything was written to it.
struct FileSystemHandle {
  dev_t device;
  UniqueFd fd;
};

class WriteBack {
 public:
  WriteBack() = default;
  WriteBack(const WriteBack&) = delete;
  WriteBack& operator=(const WriteBack&) = delete;
  // Waits for a sync under way.
  ~WriteBack();

  // Called before the first file is written into the on-disk `folder`.
  void Watch(const std::string& folder);

  // `bytes` more were written into watched folders.
  void Written(off_t bytes);

  // The handles that Watch opened, one per file system.
  const std::vector<FileSystemHandle>& watched() const { return watched_; }

 private:
  void SyncInBackground();

  std::vector<FileSystemHandle> watched_;
  std::vector<int> to_sync_;  // the helper's copy of the watched handles
  off_t unsynced_ = 0;
  std::mutex mutex_;
  std::condition_variable wake_;
  bool sync_asked_ = false;
  bool stopping_ = false;
  std::thread helper_;
};

}  // namespace tolvashu
