// One transfer between a source folder and a destination folder: copies,
// deletions and emptied files named relative to the two folders, with every
// real failure they meet collected for the caller. A source file that does
// not exist is normal and is not collected.
#pragma once

#include <string>
#include <string_view>
#include <unordered_set>

#include "transfer/copy_memo.h"
#include "transfer/file_ops.h"
#include "transfer/progress_notice.h"
#include "transfer/transfer_data_set.h"

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

  // Copies source folder + name over destination folder + name. True when the
  // destination now holds the source's content; a copy that failed although
  // the source exists is collected. A name copied before in this transfer,
  // with nothing written since that could make a difference, is not copied
  // again.
  bool Copy(std::string_view name);

  // Deletes what matches destination folder + pattern. Matches that survive
  // are collected; a pattern that matches nothing is no failure.
  void Delete(std::string_view pattern);

  // Truncates destination folder + name to length 0, creating it. A failure
  // is collected only when a file of that name is still there: with no file
  // at all (its folder is missing, say) nothing old survives.
  void Empty(std::string_view name);

  // Collects a failure met outside the operations above.
  void Collect(FileFailure failure);

  // The failures collected so far, each path once, in the order met.
  TransferReport TakeReport();

 private:
  FileOps& files_;
  const std::string source_folder_;
  const std::string destination_folder_;
  ProgressNotice* notice_;
  CopyMemo memo_;
  TransferReport report_;
  std::unordered_set<std::string> reported_paths_;
};

}  // namespace tolvashu
