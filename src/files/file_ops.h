// The file layer: every file-system effect of the installer goes through
// FileOps, which holds the Windows file semantics the engine and the dialogs
// rely on, written once for every platform over the primitives of a disk
// (disk/disk.h): which files an enumeration gives (ordinary ones, never
// hidden, never our own), that a read-only file is never replaced, moved
// aside or deleted, that a folder pattern names no file, what a missing
// source is, that an existing name keeps its spelling, and which failure
// cause each trouble is told with.
//
// Return conventions (no exception ever leaves an operation):
//   bool                       true on success, false on failure
//   std::optional<std::string> std::nullopt on failure
//   std::optional<FileFailure> nothing on success, why not otherwise
//   CopyResult / DeleteResult  say what happened, see below
//
// Paths are Windows paths held as UTF-8 text. Folders handed in with a
// trailing backslash are joined to names by plain concatenation; nothing here
// normalises a path the caller built. Names are matched case-insensitively,
// as the Windows file system does, on every platform.
//
// There is one current file (file number 1): OpenForReading/OpenForWriting
// open it, ReadItem/AtEnd/WriteLine use it, CloseAll releases it. There is one
// enumeration: a new FirstEntry abandons the previous one.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "disk/disk.h"
#include "text/item_reader.h"

// <windows.h> turns CopyFile into a macro; our operation keeps its own name.
#ifdef CopyFile
#undef CopyFile
#endif

namespace tolvashu {

// A file that exists but could not be written, deleted or emptied, or a
// folder that exists but could not be listed.
struct FileFailure {
  std::string path;  // the path as the caller named it; a folder ends with a separator
  FailureCause cause = FailureCause::kOther;
  std::string reason;  // short description of the cause, from the platform
};

enum class CopyOutcome {
  kCopied,         // the destination now holds the whole source content
  kSourceMissing,  // there is no ordinary file at the source path: normal
  kFailed,         // the source exists (or may exist) but the copy could not be made
};

struct CopyResult {
  CopyOutcome outcome = CopyOutcome::kFailed;
  FailureCause cause = FailureCause::kOther;  // why, when outcome is kFailed
  std::string reason;
  // What failed, when it is not this copy's destination: a folder that
  // could not be listed (ending with a separator), or an earlier copy of
  // the same transfer whose content could not take its name. Empty when the
  // failure is the destination's.
  std::string failed_path;
  bool ok() const { return outcome == CopyOutcome::kCopied; }
};

struct DeleteResult {
  int deleted = 0;                    // files removed
  std::vector<FileFailure> failures;  // matching files that are still there, or the unreadable folder
  // The operation fails when nothing was deleted or a match survived.
  bool ok() const { return deleted > 0 && failures.empty(); }
};

// The ordinary files a pattern names, read in one pass of their folder.
struct FileList {
  std::vector<std::string> names;         // name only, in the folder's listing order
  bool malformed = false;                 // a pattern the system refuses, a drive that does not exist
  std::optional<FileFailure> unreadable;  // the folder exists but could not be listed to its end
  bool ok() const { return !malformed && !unreadable; }
};

// One entry of a folder as ListEntries gives it.
struct FolderEntry {
  std::string name;
  bool is_folder = false;
};

// What MoveIntoFolder did.
struct MoveResult {
  bool moved = false;
  std::string name;                    // the name moved, as its folder held it
  std::optional<FileFailure> failure;  // set when the file is there but could not be moved
};

// A file opened for the caller, or why it could not be opened.
template <typename File>
struct Opened {
  std::unique_ptr<File> file;
  FailureCause cause = FailureCause::kOther;  // when file is null
  std::string reason;
};

// The lock of ours on a folder, or why there is none.
struct FolderLocked {
  std::unique_ptr<FolderLock> lock;  // held until destroyed; null when not taken
  bool by_another = false;           // another process holds it
};

// A file FileOps has looked at, for a change that follows at once.
struct FoundFile {
  std::string path;  // the folder as the caller named it + the name as the folder holds it
  bool exists = false;
};

// The content of a copy, complete and beside its destination, but not yet
// under its name (FileOps::StageCopy). Discarded when destroyed unkept.
class StagedCopy {
 public:
  explicit StagedCopy(CopyResult failed) : result_(std::move(failed)) {}
  StagedCopy(std::unique_ptr<StagedFile> staged, FoundFile destination);

  // kCopied when the content is staged; otherwise why not, as CopyFile says it.
  const CopyResult& result() const { return result_; }
  bool ok() const { return result_.ok(); }
  // What the destination's path named: no file, or an ordinary file that
  // is not read-only, under the name its folder holds.
  const FoundFile& destination() const { return destination_; }

  // Gives the content the destination's name, which the caller has made
  // free (a file there moved aside): it never replaces one.
  CopyResult Keep();

 private:
  CopyResult result_;
  std::unique_ptr<StagedFile> staged_;
  FoundFile destination_;
};

class FileOps {
 public:
  explicit FileOps(Disk& disk);
  explicit FileOps(std::unique_ptr<Disk> owned);
  ~FileOps();
  FileOps(const FileOps&) = delete;
  FileOps& operator=(const FileOps&) = delete;

  // The primitives underneath, for a layer made over them (a dry run's overlay).
  Disk& disk() { return disk_; }

  // The process's current directory, without a trailing separator except at
  // a root («D:\», «/»).
  std::string CurrentFolder();

  // Creates one folder. Fails when it already exists (in any case), its
  // parent is missing, or the parent cannot be listed to rule out a name
  // differing only in case.
  bool MakeFolder(const std::string& path);

  // Deletes every ordinary file (not hidden, not a folder) that matches the
  // pattern: a folder path + a name with `*` and `?`, or a plain file path.
  // A folder path names no file: it deletes nothing. A match that cannot be
  // deleted (read-only, in use) is listed in the failures and the other
  // matches are still deleted; a folder that exists but cannot be listed is
  // listed as a failure itself.
  DeleteResult DeleteMatching(const std::string& pattern);

  // The ordinary files (not hidden, not folders, not of our own making) that
  // match the pattern. A folder path ending with a separator means every
  // file in it; a folder that does not exist holds none.
  FileList ListFiles(const std::string& pattern);

  // Copies the whole source file over the destination path. The content is
  // written beside the destination and takes its name only when complete,
  // so a failed copy leaves the old destination as it was. A read-only
  // destination is not replaced. When a file whose name differs only in
  // case exists, that file is replaced and keeps its name.
  CopyResult CopyFile(const std::string& source, const std::string& destination);

  // The first half of a copy: the source's content written whole beside
  // the destination, with every check CopyFile makes, and the destination
  // looked at. The caller keeps it (StagedCopy::Keep) once the name is free.
  StagedCopy StageCopy(const std::string& source, const std::string& destination);

  // Tells which copies come next, in the order they will be staged, so that
  // the disk may write their content ahead (Disk::ExpectCopies): a hint.
  void ExpectCopies(std::vector<ExpectedCopy> copies);

  // True when both paths name one and the same existing folder, however they
  // are spelled (case, separators, `.` and `..`, links, short names).
  bool IsSameFolder(const std::string& a, const std::string& b);

  // Whether an ordinary file (of any attributes) is at `path`, asked in a
  // way that needs no sharing rights on the file itself, so that a file
  // another program holds open still counts. std::nullopt when it cannot be
  // told (its folder cannot be listed).
  std::optional<bool> HasFile(const std::string& path);
  // The same for a folder.
  std::optional<bool> HasFolder(const std::string& path);
  // Whether an ordinary file is at `path` under exactly its last name, byte
  // for byte: on a file system that tells case apart, a file whose name
  // differs only in case is another file and does not count.
  std::optional<bool> HasFileNamedExactly(const std::string& path);

  // Removes the temporary files that copies killed midway (a crash, a power
  // cut, an ended task) left in `folder`; one that a running copy is still
  // writing stays. Silent: a leftover that cannot be removed harms no data.
  void RemoveLeftoverTemporaryFiles(const std::string& folder);

  // --- Changes that can be undone -----------------------------------------

  // Moves the ordinary file `path` names (in any case) into `folder`, an
  // existing folder beside it on the same volume, where it keeps its name as
  // the disk spells it, its content, times and attributes. Never replaces a
  // file of that name. A read-only file, or one that another program holds
  // open without allowing its deletion, is not moved: it could not have
  // been deleted either. No file at `path`: not moved, no failure.
  MoveResult MoveIntoFolder(const std::string& path, const std::string& folder);
  // The same for a file just looked at (a staged copy's destination),
  // which is not looked at again.
  MoveResult MoveIntoFolder(const FoundFile& file, const std::string& folder);

  // Removes the one file `path` names (not a pattern; hidden files too).
  // Nothing when it is gone, also when there was none; why not otherwise. A
  // read-only file stays.
  std::optional<FileFailure> RemoveFile(const std::string& path);

  // Removes an empty folder; nothing when it is gone, also when there was none.
  std::optional<FileFailure> RemoveFolder(const std::string& path);

  // Removes a folder of our own making (a transfer's holding folder) with
  // the files it holds, whatever their attributes; it holds no folders.
  // Nothing when it is gone, also when there was none; otherwise the first
  // thing that stays, and the folder with it.
  std::optional<FileFailure> RemoveOwnFolder(const std::string& path);

  // Every entry of `folder` (ending with a separator): files of any
  // attributes and subfolders, our own included. std::nullopt when the
  // folder cannot be listed; an empty list when it does not exist.
  std::optional<std::vector<FolderEntry>> ListEntries(const std::string& folder);

  // --- The files of our own that record a transfer ------------------------

  // Makes a folder that is hidden where hiding takes an attribute (Windows;
  // a name starting with '.' is hidden anyway). Nothing, or why not: it is
  // there already, its parent is missing or cannot be written.
  std::optional<FileFailure> MakeHiddenFolder(const std::string& path);
  // Creates a new hidden file for writing; fails when anything is at `path`.
  // While it is open, others may read it but OpenUnlessWritten refuses it.
  Opened<OutputFile> CreateHiddenFile(const std::string& path);
  // Opens an existing file for reading, unless another program (or another
  // file of this one) has it open for writing: then kInUse.
  Opened<InputFile> OpenUnlessWritten(const std::string& path);

  // Takes the one exclusive lock of ours on the folder `folder`, so that no
  // two operations work on it at once (Disk::LockFolder).
  FolderLocked LockFolder(const std::string& folder);

  // --- Durability ----------------------------------------------------------

  // Makes the entries of `folder` (files added, renamed, removed) durable.
  bool SyncFolder(const std::string& folder);
  // Makes everything written into the files `written` and the entries of
  // the folders `changed` durable, at once where the platform can.
  bool MakeDurable(const std::vector<std::string>& written, const std::vector<std::string>& changed);

  // The files behind the current file; callers use OpenForReading and
  // OpenForWriting below, which keep the one-current-file rule.
  // OpenInput: an existing ordinary file, which others may go on reading,
  // writing and deleting meanwhile. OpenOutput: created, or truncated to
  // length 0; fails on a read-only file or a missing folder.
  Opened<InputFile> OpenInput(const std::string& path);
  Opened<OutputFile> OpenOutput(const std::string& path);

  // --- The enumeration ------------------------------------------------------

  // Starts the enumeration and returns the first matching ordinary file's
  // name (no folder part), or "" when nothing matches or the folder does not
  // exist. The names are taken at once, so the caller may copy or delete
  // files while it walks through them. std::nullopt for a malformed pattern
  // (a drive that does not exist) or a folder that exists but cannot be
  // listed; LastFailure then tells which.
  std::optional<std::string> FirstEntry(const std::string& pattern);
  // The next name of the enumeration, "" once all are returned, std::nullopt
  // when no enumeration has been started.
  std::optional<std::string> NextEntry();

  // --- The current file (file number 1) ---------------------------------

  // Opens the path for writing, creating it or truncating it to length 0.
  // Fails when a file is already open, the folder is missing or the file is
  // read-only.
  bool OpenForWriting(const std::string& path);
  // OpenForWriting followed by CloseAll.
  bool CreateEmpty(const std::string& path);
  // Opens an existing ordinary file for reading. Fails when a file is already
  // open or there is no such file.
  bool OpenForReading(const std::string& path);
  // The next data item of the file opened for reading (see ItemReader);
  // std::nullopt at the end of the file or when no file is open.
  std::optional<std::string> ReadItem();
  // True once the last item and its line end have been read; std::nullopt
  // when no file is open for reading.
  std::optional<bool> AtEnd();
  // Writes the text in code page 932 followed by CR LF. Fails, writing
  // nothing, when no file is open for writing or the text holds a character
  // that code page 932 cannot hold.
  bool WriteLine(const std::string& text);
  // Closes the current file, if any. False only when buffered data could not
  // be written.
  bool CloseAll();

  // Why the last FirstEntry, OpenForReading or OpenForWriting that failed
  // did so: the unreadable folder, or the file that could not be opened.
  // std::nullopt after a malformed pattern or a file number already in use.
  const std::optional<FileFailure>& LastFailure() const { return last_failure_; }

  // A call made between the chunks of a file's content while a copy is
  // staged, so that the copy of one large file lets the caller's windows
  // answer meanwhile. Empty (no call) by default; an empty function removes
  // it. The Windows disk calls it about once a megabyte, and before each
  // short wait for a file that another program holds for a moment
  // (Disk::SetWaitHook); the POSIX disk, which serves the console program
  // only, copies a file in one piece and does not.
  void SetChunkHook(std::function<void()> hook);

 private:
  // What `path` names; the failure, when it cannot be told, in `refused`.
  std::optional<Entry> LookAt(const std::string& path, Spelling spelling, std::optional<FileFailure>& refused);
  FileList ListNamedFile(const std::string& path, const std::string& folder);
  bool LoadInput();
  template <typename File>
  std::unique_ptr<File> Keep(const std::string& path, Opened<File> opened);

  std::unique_ptr<Disk> owned_;
  Disk& disk_;
  std::unique_ptr<InputFile> input_;
  std::unique_ptr<OutputFile> output_;
  std::optional<ItemReader> reader_;  // set once the input has been read
  // The names of the current enumeration, taken when it started.
  std::optional<std::vector<std::string>> entries_;
  std::size_t next_entry_ = 0;
  std::optional<FileFailure> last_failure_;
  ChunkHook chunk_hook_;
};

// The file layer over the disk of the platform this program was built for.
std::unique_ptr<FileOps> MakePlatformFileOps();

}  // namespace tolvashu
