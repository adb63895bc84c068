// One transfer between a source folder and a destination folder: copies,
// deletions and emptied files named relative to the two folders, with every
// real failure they meet collected for the caller. A source file that does
// not exist is normal and is not collected.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <unordered_set>

#include "files/file_ops.h"
#include "transfer/copy_memo.h"
#include "transfer/progress_notice.h"
#include "transfer/transfer_report.h"

namespace tolvashu {

class FolderTransfer {
 public:
  // Both folders end with a separator; names are appended to them as they are.
  // The notice, when given, is told of every copy and of the other file
  // operations before they run.
  FolderTransfer(FileOps& files, std::string source_folder, std::string destination_folder,
                 ProgressNotice* notice = nullptr);

  FileOps& files() { return files_; }
  const std::string& source_folder() const { return source_folder_; }
  const std::string& destination_folder() const { return destination_folder_; }
  // The notice the transfer tells of its steps; nullptr when there is none.
  ProgressNotice* notice() const { return notice_; }

  // Copies source folder + name over destination folder + name. kCopied when
  // the destination now holds the source's content, which also mends an
  // earlier failure of that destination in this transfer; a copy that failed
  // although the source exists is collected, unless the same copy had
  // already succeeded. A name copied before in this transfer, with nothing
  // written since that could make a difference, is not copied again.
  CopyOutcome Copy(std::string_view name);

  // Deletes what matches destination folder + pattern. Matches that survive,
  // and a folder that cannot be listed, are collected; a pattern that
  // matches nothing is no failure.
  void Delete(std::string_view pattern);

  // Truncates destination folder + name to length 0, creating it. A failure
  // is collected unless a look that needs no sharing rights shows that no
  // file of that name is there: with no file at all (its folder is missing,
  // say) nothing old survives.
  void Empty(std::string_view name);

  // Starts the enumeration of source folder + pattern; a folder that cannot
  // be listed is collected and gives std::nullopt, as FirstEntry does.
  std::optional<std::string> FirstSourceEntry(std::string_view pattern);

  // False, collecting the folder, when source folder + pattern names a
  // folder that exists but cannot be listed.
  bool CanListSource(std::string_view pattern);

  // Collects a failure met outside the operations above.
  void Collect(FileFailure failure);

  // The failures collected so far, each path once, in the order met.
  TransferReport TakeReport();

 private:
  // A failure of `path` that a later success has mended.
  void Forget(const std::string& path);

  FileOps& files_;
  const std::string source_folder_;
  const std::string destination_folder_;
  ProgressNotice* notice_;
  CopyMemo memo_;
  TransferReport report_;
  std::unordered_set<std::string> reported_paths_;
  std::unordered_set<std::string> written_;  // destinations copied and not deleted or emptied since
};

}  // namespace tolvashu
