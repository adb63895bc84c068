// A disk for a dry run: it reads the real folders through another disk and
// keeps every change in memory instead of making it. Later reads answer as
// if the changes had been made (a removed file is gone, a staged copy that
// was kept is there with its source's content, a made folder exists and
// holds what was put into it), so that the real transaction runs over it
// exactly as it would over the disk, sees what the real run would see
// (read-only and hidden files, a folder that cannot be read) and decides
// alike. No byte of a copy's content is read: a copy knows where its
// content lies and how long it is.
//
// Names are matched case-insensitively within a folder, by the same case
// folding as the file layer's (text/case_fold.h); folders are the real
// disk's own identities, and new ones are told apart by a number.
//
// What it cannot foresee: a file that another program holds, a full disk.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "disk/disk.h"
#include "disk/planned_change.h"

namespace tolvashu {

// What a copy asks of its source before the overlay takes it as copied.
enum class SourceReads {
  kOpened,     // it is opened, as the copy would open it: a dry run meets an unreadable file
  kLookedAt,   // it is only looked at: the plan ahead of a real run, which opens each itself
};

class OverlayDisk : public Disk {
 public:
  explicit OverlayDisk(Disk& real, SourceReads source_reads = SourceReads::kOpened)
      : real_(real), source_reads_(source_reads) {}

  // What would change on the real disk: each path that ends up other than
  // it is now, once, in the order it was first changed, with what it ends up
  // as. Names of our own making (a transaction's journal, holding folders,
  // temporary files) and everything in them are left out.
  std::vector<PlannedChange> Changes();

  std::string CurrentFolder() override { return real_.CurrentFolder(); }
  Result<Entry> Look(const std::string& path, Spelling spelling) override;
  Result<std::string> FolderIdentity(const std::string& path) override;
  Result<std::vector<Listed>> List(const std::string& folder, const ListingFilter& wanted) override;
  Result<std::unique_ptr<InputFile>> OpenRead(const std::string& path, ReadSharing sharing) override;
  Result<std::unique_ptr<OutputFile>> OpenWrite(const std::string& path, WriteMode mode) override;
  Result<std::unique_ptr<StagedFile>, StageError> StageCopy(const std::string& source, const std::string& destination,
                                                            const ChunkHook& between_chunks) override;
  Result<void> Rename(const std::string& from, const std::string& to) override;
  Result<void> RemoveFile(const std::string& path) override;
  Result<void> RemoveFolder(const std::string& path) override;
  // Leftovers are hidden files of the program's own, not the user's data:
  // a dry run leaves them where they are.
  void RemoveAbandonedTemporaryFiles(const std::string&) override {}
  Result<void> MakeFolder(const std::string& path, Visibility visibility) override;
  Result<void> SyncFolder(const std::string&) override { return {}; }
  // A dry run changes nothing, not even by a lock file of its own.
  Result<std::unique_ptr<FolderLock>> LockFolder(const std::string&) override {
    return std::make_unique<FolderLock>();
  }
  Result<void> MakeDurable(const std::vector<std::string>&, const std::vector<std::string>&) override { return {}; }
  // The real volume's, as it is: what a run would need is the caller's sum.
  Result<VolumeSpace> FreeSpace(const std::string& folder) override { return real_.FreeSpace(folder); }
  // What it reads, the real disk reads, and waits for.
  void SetWaitHook(ChunkHook hook) override { real_.SetWaitHook(std::move(hook)); }

 private:
  class StagedContent;
  class WrittenContent;

  // Where a file's content lies.
  struct Content {
    std::string real_path;  // a real file, as first named; empty when `bytes` holds the content
    std::string real_key;   // that real file's key, which tells a file put back where it was
    std::shared_ptr<std::string> bytes;  // written by the run
    std::uint64_t size = 0;
  };
  // A path that the run changed, as the changes left it.
  struct Item {
    std::string path;        // as the last change named it
    std::string name;        // the last name, as its folder would hold it
    std::string folder_key;  // the folder that holds it
    bool present = false;
    EntryKind kind = EntryKind::kFile;
    bool read_only = false;
    bool hidden = false;
    Content content;           // a file's
    std::string key_as_folder; // a folder's own key
    bool own = false;          // of our own making, or inside a folder that is
    bool was_real = false;     // something was there on the real disk when the run first changed it
    EntryKind real_kind = EntryKind::kNone;
  };
  // Where a path leads: the folder that would hold its last name, if there
  // is one, and that name.
  struct Place {
    std::optional<std::string> folder_key;
    std::string name;
  };

  std::optional<std::string> FolderKey(const std::string& folder);
  std::optional<std::string> FindFolderKey(const std::string& folder);
  Place Locate(const std::string& path);
  Item* Overlaid(const Place& place);
  bool IsNew(const std::string& folder_key) const;
  bool IsOwnFolder(const std::string& folder_key) const;
  // The item for `path`, made on the first change with the real state then.
  Item& Change(const std::string& path, const Place& place);
  Content ContentOf(const std::string& path, const Entry& entry);
  void Put(const std::string& path, const Place& place, Item item);
  void Gone(const std::string& path, const Entry& entry);
  void Written(const std::string& path, std::uint64_t size);
  static Entry EntryOf(const Item& item);
  // The real disk's answer for `path`, asked once: nothing here changes
  // the real disk, so a path looked at again is answered from memory.
  Result<Entry> RealLook(const std::string& path, Spelling spelling);

  Disk& real_;
  SourceReads source_reads_;
  std::map<std::string, Item> items_;  // by folder key and folded name
  std::vector<std::string> order_;     // the keys of items_, in the order first changed
  struct RealEntry {
    Entry entry;
    bool as_held = false;  // the name as the folder holds it, not only as asked
  };
  std::map<std::string, RealEntry> real_looks_;  // by path as asked
  std::map<std::string, std::optional<std::string>> folder_keys_;  // folder path -> key; emptied when folders change
  std::set<std::string> own_folders_;  // the keys of folders of our own making
  int new_folders_ = 0;
};

}  // namespace tolvashu
