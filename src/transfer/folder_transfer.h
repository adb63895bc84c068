// One transfer between a source folder and a destination folder: copies,
// deletions and emptied files named relative to the two folders, the
// changes made through the transfer's transaction. A source file that does
// not exist is normal. The first real
// failure (a file that exists and cannot be copied, deleted or emptied, a
// folder that cannot be listed) stops the transfer: every later call does
// nothing, and the caller undoes what was done.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "files/file_ops.h"
#include "transfer/progress_notice.h"
#include "transfer/transaction.h"

namespace tolvashu {

class FolderTransfer {
 public:
  // The source folder ends with a separator; names are appended to it and to
  // the destination's folder as they are. The notice, when given, is told
  // of every copy and of the other file operations before they run.
  FolderTransfer(FileOps& files, Transaction& destination, std::string source_folder,
                 ProgressNotice* notice = nullptr);

  FileOps& files() { return files_; }
  const std::string& source_folder() const { return source_folder_; }
  const std::string& destination_folder() const { return destination_.folder(); }
  // The notice the transfer tells of its steps; nullptr when there is none.
  ProgressNotice* notice() const { return notice_; }

  // True once a failure has been met or the notice has told of an
  // interruption: nothing more is done.
  bool Stopped();
  // Whether the notice told of an interruption.
  bool Interrupted() const { return interrupted_; }

  // Copies source folder + name over destination folder + name. kCopied when
  // the destination now holds the source's content; kFailed, stopping the
  // transfer, when the source exists and the copy could not be made. A
  // name copied before in this transfer, with nothing written since that
  // could make a difference, is not copied again.
  CopyOutcome Copy(std::string_view name);

  // Tells the file layer that `names` are copied next, in this order
  // (FileOps::ExpectCopies, a hint), all but those already copied; none
  // once the transfer has stopped.
  void ExpectCopies(const std::vector<std::string>& names);

  // Deletes what matches destination folder + pattern; a pattern that
  // matches nothing is no failure.
  void Delete(std::string_view pattern);

  // Truncates destination folder + name to length 0, creating it.
  void Empty(std::string_view name);

  // Makes the destination's missing folders of `name`'s folder part, when
  // the source has a file of that name to copy into them.
  void MakeFoldersFor(std::string_view name);

  // Starts the enumeration of source folder + pattern; a folder that cannot
  // be listed stops the transfer and gives std::nullopt, as FirstEntry does.
  std::optional<std::string> FirstSourceEntry(std::string_view pattern);

  // False, stopping the transfer, when source folder + pattern names a
  // folder that exists but cannot be listed.
  bool CanListSource(std::string_view pattern);

  // A failure met outside the operations above: the transfer stops.
  void Collect(FileFailure failure);

  // What stopped the transfer: each path once, in the order met.
  std::vector<FileFailure> TakeFailures();

 private:
  FileOps& files_;
  Transaction& destination_;
  const std::string source_folder_;
  ProgressNotice* notice_;
  std::vector<FileFailure> failures_;
  bool interrupted_ = false;
};

}  // namespace tolvashu
