// The file layer: every file-system effect of the installer goes through the
// operations of this interface, so that the engine and the dialogs share one
// set of Windows file semantics on every platform.
//
// Return conventions (no exception ever leaves an operation):
//   bool                       true on success, false on failure
//   std::optional<std::string> std::nullopt on failure
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

#include "text/item_reader.h"

// <windows.h> turns CopyFile into a macro; our operation keeps its own name.
#ifdef CopyFile
#undef CopyFile
#endif

namespace tolvashu {

// Why an existing file or folder could not be used, in the terms the user
// can act on: each cause has its own advice in the transfer report.
enum class FailureCause {
  kInUse,       // another program holds it open (sharing violation, lock)
  kDenied,      // read-only, or writing is not allowed there
  kDiskFull,    // no space left
  kUnreadable,  // a folder that cannot be listed, a file that cannot be read
  kOther,
};

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
  // When the copy failed because a folder could not be listed, that folder
  // (ending with a separator); otherwise empty: the failure is the destination's.
  std::string unreadable_folder;
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

// The bytes of a file opened for reading, read when first needed (a game
// executable is opened only to prove that it is there).
class InputFile {
 public:
  virtual ~InputFile() = default;
  virtual std::optional<std::string> ReadAll() = 0;
};

// A file opened for writing, already created or truncated to length 0.
class OutputFile {
 public:
  virtual ~OutputFile() = default;
  virtual bool Write(std::string_view bytes) = 0;
  // Hands what was written so far to the system: it survives the end of
  // this process, killed or not.
  virtual bool Flush() = 0;
  // Flush, and makes the content durable: it survives a power cut.
  virtual bool Sync() = 0;
  virtual bool Close() = 0;
};

// Tells whether the entries of one folder may have changed since the watch
// was made: a file added, removed or renamed there, or the folder's path now
// leading to another folder.
class FolderWatch {
 public:
  virtual ~FolderWatch() = default;
  virtual bool Changed() = 0;
};

// What MoveIntoFolder did.
struct MoveResult {
  bool moved = false;
  std::string name;                    // the name moved, as its folder held it
  std::optional<FileFailure> failure;  // set when the file is there but could not be moved
};

// One entry of a folder as ListEntries gives it.
struct FolderEntry {
  std::string name;
  bool is_folder = false;
};

// A file opened by a backend, or why it could not be opened.
template <typename File>
struct Opened {
  std::unique_ptr<File> file;
  FailureCause cause = FailureCause::kOther;  // when file is null
  std::string reason;
};

// How the new content of a copy takes its destination's place.
struct Placement {
  // Set: the copy stops, the destination as it was, with this failure.
  std::optional<FileFailure> refused;
  // False: the caller has moved an existing destination away, and the new
  // content takes the free name; should a file be there again, the copy
  // fails rather than replace it.
  bool replace_existing = true;
};
using PlaceNewContent = std::function<Placement(const std::string& destination, bool exists)>;

// A copy that the caller is about to ask for (FileOps::ExpectCopies).
struct ExpectedCopy {
  std::string source;
  std::string destination;
};

class FileOps {
 public:
  FileOps();
  virtual ~FileOps();
  FileOps(const FileOps&) = delete;
  FileOps& operator=(const FileOps&) = delete;

  // The process's current directory, without a trailing separator except at
  // a root («D:\», «/»).
  virtual std::string CurrentFolder() = 0;

  // Creates one folder. Fails when it already exists, its parent is missing,
  // or the parent cannot be listed to rule out a name differing only in case.
  virtual bool MakeFolder(const std::string& path) = 0;

  // Deletes every ordinary file (not hidden, not a folder) that matches the
  // pattern: a folder path + a name with `*` and `?`, or a plain file path.
  // A match that cannot be deleted (read-only, in use) is listed in the
  // failures and the other matches are still deleted; a folder that exists
  // but cannot be listed is listed as a failure itself.
  virtual DeleteResult DeleteMatching(const std::string& pattern) = 0;

  // The ordinary files (not hidden, not folders) that match the pattern. A
  // folder path ending with a separator means every file in it; a folder
  // that does not exist holds none.
  virtual FileList ListFiles(const std::string& pattern) = 0;

  // A watch on the folder that `pattern` searches (see ListFiles), made
  // before the folder is listed. nullptr when the backend cannot tell
  // whether the folder changes, which is also what a layer that wraps
  // another one says unless it passes the question on.
  virtual std::unique_ptr<FolderWatch> WatchFolder(const std::string& pattern);

  // Copies the whole source file over the destination path. The content is
  // written to a hidden temporary file beside the destination and moved over
  // it only when complete, so a failed copy leaves the old destination as it
  // was. A read-only destination is not replaced. When a file whose name
  // differs only in case exists, that file is replaced and keeps its name.
  CopyResult CopyFile(const std::string& source, const std::string& destination);

  // CopyFile that lets the caller decide, once the new content is complete
  // and just before it takes the destination's place, how it does so (see
  // Placement). `place` is told the destination as the folder holds it (its
  // last name in the disk's case) and whether a file is there.
  virtual CopyResult CopyFile(const std::string& source, const std::string& destination,
                              const PlaceNewContent& place) = 0;

  // Tells which copies come next, in the order CopyFile will be asked for
  // them, so that a layer that can may write their content ahead while the
  // caller works on the copy before. Only a hint: CopyFile still makes every
  // copy with all of its checks, and uses content written ahead only for
  // the very same source and destination. A new list replaces the last one;
  // an empty one drops what is left of it. The default does nothing.
  virtual void ExpectCopies(std::vector<ExpectedCopy> copies);

  // True when both paths name one and the same existing folder, however they
  // are spelled (case, separators, `.` and `..`, links, short names).
  virtual bool IsSameFolder(const std::string& a, const std::string& b) = 0;

  // Whether an ordinary file (of any attributes) is at `path`, asked in a
  // way that needs no sharing rights on the file itself, so that a file
  // another program holds open still counts. std::nullopt when it cannot be
  // told (its folder cannot be listed).
  virtual std::optional<bool> HasFile(const std::string& path) = 0;

  // Removes the temporary files that copies killed midway (a crash, a power
  // cut, an ended task) left in `folder`; one that a running copy is still
  // writing stays. Silent: a leftover that cannot be removed harms no data.
  virtual void RemoveLeftoverTemporaryFiles(const std::string& folder) = 0;

  // --- Changes that can be undone -----------------------------------------

  // Moves the ordinary file `path` names (in any case) into `folder`, an
  // existing folder beside it on the same volume, where it keeps its name as
  // the disk spells it, its content, times and attributes. Never replaces a
  // file of that name. A read-only file, or one that another program holds
  // open without allowing its deletion, is not moved: it could not have
  // been deleted either. No file at `path`: not moved, no failure.
  virtual MoveResult MoveIntoFolder(const std::string& path, const std::string& folder) = 0;

  // Removes the one file `path` names (not a pattern; hidden files too).
  // Nothing when it is gone, also when there was none; why not otherwise. A
  // read-only file stays.
  virtual std::optional<FileFailure> RemoveFile(const std::string& path) = 0;

  // Removes an empty folder; nothing when it is gone, also when there was none.
  virtual std::optional<FileFailure> RemoveFolder(const std::string& path) = 0;

  // Removes a folder of our own making (a transfer's holding folder) with
  // the files it holds, whatever their attributes; it holds no folders.
  // Nothing when it is gone, also when there was none; otherwise the first
  // thing that stays, and the folder with it.
  virtual std::optional<FileFailure> RemoveOwnFolder(const std::string& path) = 0;

  // Every entry of `folder` (ending with a separator): files of any
  // attributes and subfolders, our own included. std::nullopt when the
  // folder cannot be listed; an empty list when it does not exist.
  virtual std::optional<std::vector<FolderEntry>> ListEntries(const std::string& folder) = 0;

  // --- The files of our own that record a transfer ------------------------

  // Makes a folder that is hidden where hiding takes an attribute (Windows;
  // a name starting with '.' is hidden anyway). Nothing, or why not: it is
  // there already, its parent is missing or cannot be written.
  virtual std::optional<FileFailure> MakeHiddenFolder(const std::string& path) = 0;
  // Creates a new hidden file for writing; fails when anything is at `path`.
  // While it is open, others may read it but OpenUnlessWritten refuses it.
  virtual Opened<OutputFile> CreateHiddenFile(const std::string& path) = 0;
  // Opens an existing file for reading, unless another program (or another
  // file of this one) has it open for writing: then kInUse.
  virtual Opened<InputFile> OpenUnlessWritten(const std::string& path) = 0;

  // --- Durability ----------------------------------------------------------

  // Makes the entries of `folder` (files added, renamed, removed) durable.
  virtual bool SyncFolder(const std::string& folder) = 0;
  // Makes everything written into the files `written` and the entries of
  // the folders `changed` durable, at once where the platform can.
  virtual bool MakeDurable(const std::vector<std::string>& written, const std::vector<std::string>& changed) = 0;

  // The platform files behind the current file; callers use OpenForReading
  // and OpenForWriting below, which keep the one-current-file rule.
  // OpenInput: an existing ordinary file, which others may go on reading,
  // writing and deleting meanwhile. OpenOutput: created, or truncated to
  // length 0; fails on a read-only file or a missing folder.
  virtual Opened<InputFile> OpenInput(const std::string& path) = 0;
  virtual Opened<OutputFile> OpenOutput(const std::string& path) = 0;

  // --- The enumeration ------------------------------------------------------

  // Starts the enumeration and returns the first matching ordinary file's
  // name (no folder part), or "" when nothing matches or the folder does not
  // exist. The names are taken at once, so the caller may copy or delete
  // files while it walks through them. std::nullopt for a malformed pattern
  // (a drive that does not exist) or a folder that exists but cannot be
  // listed; LastFailure then tells which. The same pattern enumerated again
  // while its folder's watch sees no change gives the names of the last
  // listing without reading the folder again.

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

  // A call made between the chunks of a file's content while CopyFile copies
  // it, so that the copy of one large file lets the caller's windows answer
  // meanwhile. Empty (no call) by default; an empty function removes it. The
  // Windows layer calls it about once a megabyte; the POSIX layer, which
  // serves the console program only, copies a file in one piece and does not.
  void SetChunkHook(std::function<void()> hook);

 protected:
  // The hook of SetChunkHook, for a backend's copy loop; never null.
  const std::function<void()>& chunk_hook() const { return chunk_hook_; }

 private:
  bool LoadInput();
  template <typename File>
  std::unique_ptr<File> Keep(const std::string& path, Opened<File> opened);

  // The names of a listing that FirstEntry read, with the watch that tells
  // when they may no longer be what the folder holds.
  struct RecentListing {
    std::string pattern;
    std::shared_ptr<const std::vector<std::string>> names;
    std::unique_ptr<FolderWatch> watch;
  };
  std::shared_ptr<const std::vector<std::string>> ListingStillHeld(const std::string& pattern);
  std::shared_ptr<const std::vector<std::string>> ReadListing(const std::string& pattern);

  std::unique_ptr<InputFile> input_;
  std::unique_ptr<OutputFile> output_;
  std::optional<ItemReader> reader_;  // set once the input has been read
  std::vector<RecentListing> recent_listings_;  // the oldest first
  // The names of the current enumeration, taken when it started.
  std::shared_ptr<const std::vector<std::string>> entries_;
  std::size_t next_entry_ = 0;
  std::optional<FileFailure> last_failure_;
  std::function<void()> chunk_hook_ = [] {};
};

// The file layer of the platform this program was built for.
std::unique_ptr<FileOps> MakePlatformFileOps();

}  // namespace tolvashu
