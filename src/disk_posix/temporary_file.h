// The file a copy writes before it takes its destination's name, and the
// removal of those that a killed run left behind.
//
// Where the file system can make a file without a name (O_TMPFILE: ext4,
// XFS, Btrfs, tmpfs), the temporary file has none until it is whole and
// linked to its destination: a copy cut short leaves nothing, and the
// folder takes one new entry instead of a temporary one renamed.
//
// Elsewhere it gets a temporary name of our naming (temporary_name.h). A
// copy keeps such a file open from the moment it creates it until it has
// written it whole. A leftover is removed only when no program has it open,
// which the kernel tells by granting a write lease on it: a file that
// another running transfer is still writing stays where it is, and the copy
// itself needs no call beyond creating, writing and closing the file.
#pragma once

#include <sys/stat.h>

#include <functional>
#include <string>
#include <vector>

#include "disk_posix/unique_fd.h"

namespace tolvashu {

class TemporaryFile {
 public:
  TemporaryFile() = default;
  TemporaryFile(const TemporaryFile&) = delete;
  TemporaryFile& operator=(const TemporaryFile&) = delete;
  // Removes the file unless it was moved over its destination.
  ~TemporaryFile();

  // Creates a fresh temporary file in the folder that the handle `folder`
  // stands for (folder_handles.h), which must stay open until this
  // object is gone: one without a name while `unnamed` is true and the file
  // system can make one; `unnamed` is set to false where it cannot. Returns
  // 0 or the errno value of the failure.
  int Create(int folder, bool& unnamed);

  // Creates an unnamed temporary file in the on-disk `folder`, for a copy
  // written ahead (copy_ahead.h); its handle goes to TakeUnnamed.
  // Returns 0 or the errno value of the failure.
  int CreateUnnamed(const std::string& folder);

  // The handle of an unnamed file, which this object then lets go of.
  UniqueFd TakeUnnamed();

  // Takes on an unnamed file written ahead, to be linked into the folder
  // that the handle `folder` stands for.
  void AdoptUnnamed(int folder, UniqueFd file);

  int fd() const { return fd_.get(); }

  // The copy keeps the source's modification time, as a Windows copy does. A
  // time that cannot be set does not undo a complete copy.
  void KeepModificationTime(const struct timespec& modified);

  // Starts writing a large file's content to the disk in the background,
  // so that the transfer's one sync at its end finds most of it written;
  // small files are left to that sync, which costs nothing per file.
  void StartWritingBack(off_t size);

  // Closes the file and renames it to the on-disk `destination`, over the
  // file there when `replace` is true, and only to a free name otherwise.
  // Returns 0 or the errno value of the failure, in which case the
  // destination is untouched.
  int MoveTo(const std::string& destination, bool replace);

 private:
  int OpenUnnamed(int at, const char* folder);
  int TakeFreshName(const std::function<bool(const std::string&)>& make);
  int LinkTo(const std::string& destination);
  int LinkToTemporaryName();

  UniqueFd fd_;
  int folder_ = -1;
  bool unnamed_ = false;  // open without a name, not yet linked
  std::string name_;      // empty once moved, or when none was made
};

// Removes the temporary files of our naming in the on-disk `folder` that no
// program has open, and returns their names. Whatever cannot be removed
// stays: it is hidden and harms no data.
std::vector<std::string> RemoveLeftoverTemporaryFiles(const std::string& folder);

}  // namespace tolvashu
