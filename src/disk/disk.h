// The seam between the installer's file semantics and a platform: a
// handful of primitives, each doing one thing to the disk, all answering in
// one convention (disk_error.h). The rules of Windows file semantics that the
// installer keeps (which files are ordinary and listed, that a read-only
// file is never replaced or deleted, that a folder pattern names no file,
// what a missing source is, which failure gets which advice) are decided
// once, above this seam, by FileOps (files/file_ops.h). A disk only does
// what it is told and says exactly what happened. Where the platform's own
// programs hold a file for a moment (on Windows a virus scanner or the
// search indexer, right after the file is written or renamed), a disk waits
// that moment out, for a bounded time, before it tells of the failure.
//
// Paths are Windows paths held as UTF-8 text, as FileOps is given them: `\`
// or `/` between names, relative to the current directory unless they start
// at a root. Each name on the way is found as the platform's file system
// finds names, case-insensitively: `MAINDATA.DAT` reaches an existing
// `MainData.DAT`. Where a primitive gives something a name (keeps a staged
// file, renames, makes a folder), it uses the last name exactly as given and
// looks for no other spelling of it: the caller looks first where that
// matters.
//
// Implementations: disk_posix/ (Linux, with the semantics Wine gives a Unix
// tree), disk_win32/ (the Windows file system), and the dry run's overlay
// (overlay_disk.h).
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "disk/disk_error.h"
#include "disk/open_file.h"

namespace tolvashu {

enum class EntryKind {
  kNone,      // nothing has the name; the folder that would hold it is there
  kNoFolder,  // not even that folder is there
  kFile,      // an ordinary file; a link counts as what it leads to
  kFolder,
  kOther,     // a device, a pipe, a socket: never data
};

// What a path names.
struct Entry {
  EntryKind kind = EntryKind::kNone;
  std::string name;        // the last name: as its folder holds it (Spelling), or as asked
  bool read_only = false;  // the read-only attribute; on POSIX: nobody may write it
  bool hidden = false;     // hidden or system: the attributes on Windows, a leading dot on POSIX
  std::uint64_t size = 0;  // of a file, in bytes
  bool exists() const { return kind != EntryKind::kNone && kind != EntryKind::kNoFolder; }
};

// Whether a look must tell the last name as the folder holds it, which on
// some platforms takes a search of the folder: a caller that keeps or moves
// the name asks for it, one that only asks what is there does not.
enum class Spelling {
  kAsAsked,  // Entry::name is the name as asked
  kAsHeld,   // Entry::name is the name as the folder holds it
};

// One entry of a folder's listing.
struct Listed {
  std::string name;  // as the folder holds it
  EntryKind kind = EntryKind::kFile;
  bool hidden = false;
};

// Chooses the entries of a listing by their names and hidden flags, before
// anything more is asked of them.
using ListingFilter = std::function<bool(std::string_view name, bool hidden)>;

// Called between the chunks of a long copy's content.
using ChunkHook = std::function<void()>;

enum class ReadSharing {
  kWithEveryone,   // others may go on reading, writing and deleting the file meanwhile
  kUnlessWritten,  // refused (kFailed, kInUse) while any program has the file open for writing
};

enum class WriteMode {
  kCreateOrTruncate,  // created, or emptied; an existing file keeps its name and attributes
  kCreateNewHidden,   // a new file, hidden where hiding takes an attribute; others may read it
                      // while it is open, none may write it; kTaken when anything has the name
};

enum class Visibility { kShown, kHidden };

// A copy that the caller is about to ask for (Disk::ExpectCopies).
struct ExpectedCopy {
  std::string source;
  std::string destination;
};

// A copy's content, complete, beside its destination and under no name of
// the destination folder's. Discarded when destroyed before it is kept.
class StagedFile {
 public:
  explicit StagedFile(Entry destination) : destination_(std::move(destination)) {}
  virtual ~StagedFile() = default;
  StagedFile(const StagedFile&) = delete;
  StagedFile& operator=(const StagedFile&) = delete;

  // What the destination's path named when the content was staged.
  const Entry& destination() const { return destination_; }

  // Gives the content the destination's name: the name its folder held
  // then, or the one asked for. Never replaces: kTaken while a file has
  // that very name.
  virtual Result<void> Keep() = 0;

 private:
  Entry destination_;
};

// The one lock of ours on a folder (Disk::LockFolder), held until it is
// destroyed.
class FolderLock {
 public:
  FolderLock() = default;
  virtual ~FolderLock() = default;
  FolderLock(const FolderLock&) = delete;
  FolderLock& operator=(const FolderLock&) = delete;
};

// The room left on a volume for new files.
struct VolumeSpace {
  std::uint64_t free_bytes = 0;   // what this program may still write there
  std::uint64_t block_bytes = 0;  // the unit a file's size is rounded up to
};

// Why a StageCopy failed, and whether the source or the destination did.
struct StageError {
  bool at_source = false;
  DiskError error;
};

// One file of RemoveFiles that stayed.
struct RemovalError {
  std::string name;
  DiskError error;
};

class Disk {
 public:
  Disk() = default;
  virtual ~Disk() = default;
  Disk(const Disk&) = delete;
  Disk& operator=(const Disk&) = delete;

  // The process's current directory, without a trailing separator except
  // at a root («D:\», «/»).
  virtual std::string CurrentFolder() = 0;

  // What `path` names. Nothing there is an answer (kNone, kNoFolder), not an
  // error. Errors: kUnknown when a folder on the way cannot be read,
  // kMalformed when the path cannot name anything. Needs no sharing rights
  // on the entry itself: a file another program holds open is found.
  virtual Result<Entry> Look(const std::string& path, Spelling spelling) = 0;

  // What makes the folder `path` names the same folder however its path is
  // spelled (case, separators, `.` and `..`, links, short names): equal
  // texts for one folder, different ones for two. kAbsent when no folder is
  // there.
  virtual Result<std::string> FolderIdentity(const std::string& path) = 0;

  // The entries of `folder` (with or without a separator at its end; ""
  // for the current directory) that `wanted` accepts, "." and ".." and the
  // temporary files of copies (temporary_name.h) left out, in the order the
  // folder lists them. kAbsent when there is no such folder; kFailed
  // (cause kUnreadable) when it cannot be read to its end.
  virtual Result<std::vector<Listed>> List(const std::string& folder, const ListingFilter& wanted) = 0;

  // Opens an existing file for reading. kAbsent when there is none,
  // kWrongKind for a folder or a device.
  virtual Result<std::unique_ptr<InputFile>> OpenRead(const std::string& path, ReadSharing sharing) = 0;

  // Opens a file for writing (see WriteMode); whatever its attributes.
  virtual Result<std::unique_ptr<OutputFile>> OpenWrite(const std::string& path, WriteMode mode) = 0;

  // Writes a copy of the file `source` into a temporary file in the folder
  // of `destination`, complete, with the source's last-write time, and looks
  // at what `destination` names (StagedFile::destination). The destination
  // itself is not touched. `between_chunks` is called between the chunks of
  // a long content where the platform copies it in chunks. Errors at the
  // source: kAbsent (nothing there, or its folder is not there), kWrongKind
  // (a folder, a device, a pipe), kUnknown; at the destination: kNoFolder,
  // kUnknown, kMalformed; kFailed at either.
  virtual Result<std::unique_ptr<StagedFile>, StageError> StageCopy(const std::string& source,
                                                                    const std::string& destination,
                                                                    const ChunkHook& between_chunks) = 0;

  // Renames the entry at `from` to `to` on the same volume, with its
  // content, times and attributes. Never replaces: kTaken when an entry has
  // the name `to` (exactly). kAbsent when nothing is at `from`, kNoFolder
  // when the folder of `to` is not there.
  virtual Result<void> Rename(const std::string& from, const std::string& to) = 0;

  // Removes the file `path` names, whatever its attributes. kAbsent when
  // there is none, kWrongKind for a folder.
  virtual Result<void> RemoveFile(const std::string& path) = 0;

  // Removes the files `names` of `folder`, whatever their attributes; one
  // already gone counts as removed. Every file that can be removed is; the
  // error names the first that could not be. By default one after the other.
  virtual Result<void, RemovalError> RemoveFiles(const std::string& folder, const std::vector<std::string>& names);

  // Removes an empty folder. kAbsent when there is none.
  virtual Result<void> RemoveFolder(const std::string& path) = 0;

  // Removes the temporary files of copies (temporary_name.h) in `folder`
  // that no program has open: those that copies cut off by a kill or a
  // power cut left behind. One a running copy still writes stays, and so
  // does anything that cannot be removed: it is hidden and harms no data.
  virtual void RemoveAbandonedTemporaryFiles(const std::string& folder) = 0;

  // Makes one folder. kTaken when something has the name (exactly),
  // kNoFolder when its parent is not there.
  virtual Result<void> MakeFolder(const std::string& path, Visibility visibility) = 0;

  // Makes the entries of `folder` (files added, renamed, removed) durable.
  virtual Result<void> SyncFolder(const std::string& folder) = 0;

  // Takes the one exclusive lock of ours on the existing `folder`: a file
  // of our own in it (kLockName) that no other process can hold at the same
  // time, of this program or another build of it, and that goes when the
  // lock is released. kTaken (cause kInUse) while another holds it.
  virtual Result<std::unique_ptr<FolderLock>> LockFolder(const std::string& folder) = 0;

  // Makes everything written into the files `written` and the entries of
  // the folders `changed` durable, at once where the platform can.
  virtual Result<void> MakeDurable(const std::vector<std::string>& written,
                                   const std::vector<std::string>& changed) = 0;

  // The room left on the volume that holds the existing `folder`. kUnknown
  // where the platform cannot tell (by default).
  virtual Result<VolumeSpace> FreeSpace(const std::string& folder);

  // --- Hints: a disk may ignore them, and only the time things take changes.

  // The copies that come next, in the order StageCopy will be asked for
  // them, so that a disk that can may write their content ahead while the
  // caller works on the copy before. StageCopy still makes every copy with
  // all of its checks, and uses content written ahead only for the very
  // same source and destination. A new list replaces the last one; an empty
  // one drops what is left of it. By default nothing.
  virtual void ExpectCopies(std::vector<ExpectedCopy> copies);

  // A call made now and then while the disk waits for a file that another
  // program holds for a moment (on Windows: a virus scanner, the search
  // indexer), so that the caller's windows answer meanwhile. Empty (no
  // call) by default. By default the disk never waits, and ignores it.
  virtual void SetWaitHook(ChunkHook hook);

  // The disk that a plan made ahead of a run reads through: this one. A disk
  // that stands between a run and the real disk only to count or fail the
  // run's calls (as the tests' does) hands out the disk below it, so that it
  // counts the run's own calls and not the plan's reads as well.
  virtual Disk& PlanReads() { return *this; }
};

// The disk of the platform this program was built for (defined by the
// backend that the build links in).
std::unique_ptr<Disk> MakePlatformDisk();

}  // namespace tolvashu
