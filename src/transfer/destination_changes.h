// How a transfer changes its destination folder. The engine decides what
// to change; an implementation decides how: a Transaction (a journal, files
// moved aside, everything undone on failure) for every real transfer, or
// DirectChanges, which hands each change straight to the file layer, for a
// plan that a file layer recording the changes takes down.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "files/file_ops.h"
#include "transfer/transfer_record.h"

namespace tolvashu {

class DestinationChanges {
 public:
  virtual ~DestinationChanges() = default;

  // The destination folder, ending with a separator.
  virtual const std::string& folder() const = 0;
  // Destination folder + `name` becomes a copy of the file `source`.
  virtual CopyResult Copy(const std::string& source, const std::string& name) = 0;
  // Every ordinary file that destination folder + `pattern` matches goes;
  // what stays (and a folder that cannot be listed) is returned.
  virtual std::vector<FileFailure> Delete(const std::string& pattern) = 0;
  // Destination folder + `name` becomes an empty file.
  virtual std::optional<FileFailure> Empty(const std::string& name) = 0;
  // Makes the folders of `folder` (relative, ending with a separator) that
  // are missing, one level after the other.
  virtual std::optional<FileFailure> MakeFolders(const std::string& folder) = 0;

  TransferRecord& record() { return record_; }

 protected:
  TransferRecord record_;
};

// Truncates or creates `path` through the current file. A failure counts
// unless a look that needs no sharing rights shows that no file of that
// name is there: with no file at all (its folder is missing, say) nothing
// old survives.
std::optional<FileFailure> EmptyFile(FileOps& files, const std::string& path);

// The folders of `folder` (relative, ending with a separator) from the
// outermost in: «a\\b\\» gives «a\\» and «a\\b\\».
std::vector<std::string> FolderLevels(const std::string& folder);

class DirectChanges : public DestinationChanges {
 public:
  DirectChanges(FileOps& files, std::string folder) : files_(files), folder_(std::move(folder)) {}
  const std::string& folder() const override { return folder_; }
  CopyResult Copy(const std::string& source, const std::string& name) override;
  std::vector<FileFailure> Delete(const std::string& pattern) override;
  std::optional<FileFailure> Empty(const std::string& name) override;
  std::optional<FileFailure> MakeFolders(const std::string& folder) override;

 private:
  FileOps& files_;
  const std::string folder_;
};

}  // namespace tolvashu
