// A file layer for a dry run: it reads the real folders through another
// file layer and records every change instead of making it. Later reads
// answer as if the recorded changes had been made (a deleted file is gone, a
// copied one is there with the source's content, a planned folder exists), so
// that whatever a run decides from what it reads comes out as in a real run.
//
// What it cannot foresee: a file that another program holds, a read-only
// file, a full disk. The real run reports those.
#pragma once

#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "files/file_ops.h"
#include "files/planned_change.h"

namespace tolvashu {

class PlanningFileOps : public FileOps {
 public:
  explicit PlanningFileOps(FileOps& real) : real_(real) {}

  // Every change so far, in the order it was asked for.
  const std::vector<PlannedChange>& changes() const { return changes_; }

  std::string CurrentFolder() override { return real_.CurrentFolder(); }
  bool MakeFolder(const std::string& path) override;
  DeleteResult DeleteMatching(const std::string& pattern) override;
  FileList ListFiles(const std::string& pattern) override;
  using FileOps::CopyFile;
  CopyResult CopyFile(const std::string& source, const std::string& destination,
                      const PlaceNewContent& place) override;
  bool IsSameFolder(const std::string& a, const std::string& b) override;
  std::optional<bool> HasFile(const std::string& path) override;
  // Leftovers are hidden files of the program's own, not the user's data:
  // a dry run leaves them where they are.
  void RemoveLeftoverTemporaryFiles(const std::string& /*folder*/) override {}
  Opened<InputFile> OpenInput(const std::string& path) override;
  Opened<OutputFile> OpenOutput(const std::string& path) override;

  // A plan is made without a transaction and without a look for unfinished
  // ones: these are refused, having changed nothing, or read the real disk.
  MoveResult MoveIntoFolder(const std::string& path, const std::string& folder) override;
  std::optional<FileFailure> RemoveFile(const std::string& path) override { return NotPlanned(path); }
  std::optional<FileFailure> RemoveFolder(const std::string& path) override { return NotPlanned(path); }
  std::optional<FileFailure> RemoveOwnFolder(const std::string& path) override { return NotPlanned(path); }
  std::optional<std::vector<FolderEntry>> ListEntries(const std::string& folder) override {
    return real_.ListEntries(folder);
  }
  std::optional<FileFailure> MakeHiddenFolder(const std::string& path) override { return NotPlanned(path); }
  Opened<OutputFile> CreateHiddenFile(const std::string& path) override;
  Opened<InputFile> OpenUnlessWritten(const std::string& path) override { return real_.OpenUnlessWritten(path); }
  bool SyncFolder(const std::string&) override { return false; }
  bool MakeDurable(const std::vector<std::string>&, const std::vector<std::string>&) override { return false; }

 private:
  static FileFailure NotPlanned(const std::string& path) { return {path, FailureCause::kOther, "not planned"}; }

  class PlannedOutput;

  // A file as the recorded changes left it.
  struct PlannedFile {
    std::string folder_key;  // FolderKey of its folder
    std::string name;        // as the change that made it named it
    bool exists = false;
    // Where its content lies on the real disk; without one, `bytes` holds it.
    std::optional<std::string> content_from;
    std::string bytes;
    std::uint64_t size = 0;
  };

  const PlannedFile* Planned(const std::string& path) const;
  PlannedFile& Plan(const std::string& path);
  bool FolderExists(const std::string& folder);
  std::optional<bool> FileExists(const std::string& path);
  void Written(const std::string& path, std::string bytes);

  FileOps& real_;
  std::vector<PlannedChange> changes_;
  std::map<std::string, PlannedFile> files_;  // by the key of their path
  std::vector<std::string> order_;            // the keys of files_, in the order first planned
  std::set<std::string> folders_;             // keys of planned folders
};

}  // namespace tolvashu
