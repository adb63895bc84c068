// The disk on POSIX, as Wine presents a Unix tree to Windows programs: names
// resolved case-insensitively (path_resolver.h), a leading dot for hidden,
// no write permission for anyone for read-only. Only the system calls live
// here; what they mean to the installer is decided in files/file_ops.h.
//
// What makes it fast sits behind the primitives, where nobody above sees
// it: listings kept by the kernel's change notifications (listing_cache.h),
// copies written ahead by a helper thread (copy_ahead.h) into unnamed
// temporary files (temporary_file.h), new content sent to the disk by a
// second helper while the transfer goes on (write_back.h), holding folders
// emptied by two threads (entry_removal.h), and the lookup of the path just
// looked at kept for the change that follows it.
#pragma once

#include <sys/stat.h>

#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "disk/disk.h"
#include "disk_posix/copy_ahead.h"
#include "disk_posix/folder_handles.h"
#include "disk_posix/held_files.h"
#include "disk_posix/listing_cache.h"
#include "disk_posix/path_resolver.h"
#include "disk_posix/unique_fd.h"
#include "disk_posix/write_back.h"

namespace tolvashu {

// What a resolved path names, as the primitives tell it.
Entry EntryOf(const ResolvedPath& resolved);

class PosixDisk : public Disk {
 public:
  std::string CurrentFolder() override;
  Result<Entry> Look(const std::string& path, Spelling spelling) override;
  Result<std::string> FolderIdentity(const std::string& path) override;
  Result<std::vector<Listed>> List(const std::string& folder, const ListingFilter& wanted) override;
  Result<std::unique_ptr<InputFile>> OpenRead(const std::string& path, ReadSharing sharing) override;
  Result<std::unique_ptr<OutputFile>> OpenWrite(const std::string& path, WriteMode mode) override;
  Result<std::unique_ptr<StagedFile>, StageError> StageCopy(const std::string& source, const std::string& destination,
                                                            const ChunkHook& between_chunks) override;
  Result<void> Rename(const std::string& from, const std::string& to) override;
  Result<void> RemoveFile(const std::string& path) override;
  Result<void, RemovalError> RemoveFiles(const std::string& folder, const std::vector<std::string>& names) override;
  Result<void> RemoveFolder(const std::string& path) override;
  void RemoveAbandonedTemporaryFiles(const std::string& folder) override;
  Result<void> MakeFolder(const std::string& path, Visibility visibility) override;
  Result<void> SyncFolder(const std::string& folder) override;
  Result<std::unique_ptr<FolderLock>> LockFolder(const std::string& folder) override;
  Result<void> MakeDurable(const std::vector<std::string>& written, const std::vector<std::string>& changed) override;
  Result<VolumeSpace> FreeSpace(const std::string& folder) override;
  void ExpectCopies(std::vector<ExpectedCopy> copies) override;

  // The source of a copy, open for reading, with its status.
  struct CopySource {
    UniqueFd fd;
    struct stat status {};
  };
  Result<CopySource> OpenCopySource(const std::string& path);

  PathResolver& resolver() { return resolver_; }
  FolderHandles& folders() { return folders_; }
  WriteBack& write_back() { return write_back_; }
  // Forgets the lookup kept for the next change: something changed.
  void ForgetLook() { looked_.reset(); }

 private:
  // What `path` names: the lookup just made of that very path (by Look or
  // StageCopy, named as asked or as its folder holds it) when it is the one
  // asked for, found anew otherwise. Every primitive takes the kept lookup, so it
  // serves only the call right after the look.
  ResolvedPath Resolve(const std::string& path);
  void KeepLook(const std::string& path, const ResolvedPath& resolved);
  std::optional<std::vector<Listed>> KnownEntries(const ResolvedPath& folder, const ListingFilter& wanted);
  // Why a file of the data set cannot be moved or removed now: another
  // process has it open, as Windows would refuse it. Our own files (in a
  // hidden folder of ours) are never asked about.
  std::optional<DiskError> HeldElsewhere(const std::string& named, const ResolvedPath& file);
  // The on-disk folder that holds what `to` names, as Rename needs it.
  Result<std::string> FolderFor(const std::string& to, bool& own);

  PathResolver resolver_;
  FolderHandles folders_;
  WriteBack write_back_;
  ListingCache listings_;
  // Hidden folders of our own that MakeFolder made, as named (without a
  // separator at the end) -> on disk: the moves into them need not look
  // them up again.
  std::unordered_map<std::string, std::string> own_folders_;
  struct Looked {
    std::string asked;
    std::string held;  // the folder part as asked + the name as the folder holds it
    ResolvedPath resolved;
  };
  std::optional<Looked> looked_;
  // The files of the folder locked last that other processes hold open.
  HeldFiles held_;
  CopyAhead copy_ahead_;  // last: its helper stops first
};

}  // namespace tolvashu
