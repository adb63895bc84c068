// One transfer as a transaction on its destination folder: every file it
// deletes or replaces there is first moved, by a rename, into a hidden
// holding folder inside the file's own folder (so a move never leaves its
// drive), and every change is written to the journal (journal.h) before it
// is made. Commit makes the new files durable before it marks the journal
// committed, and only then removes what was held; Rollback puts back the
// destination exactly as it was.
//
// What the undo must know to remove a new file (its record) is durable
// before the file can have its name, so that a power cut never leaves a
// new file that no record names. To pay for that with a handful of journal
// syncs rather than one a file, copies go in batches: each copy's content
// is staged and its record written, and a batch's files take their names
// together, after one sync of the journal. A file moved aside needs no such
// sync: the holding folder that holds it tells the undo itself.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <unordered_set>
#include <vector>

#include "files/file_ops.h"
#include "transfer/journal.h"
#include "transfer/transfer_record.h"
#include "transfer/unfinished_transfer.h"

namespace tolvashu {

class Transaction {
 public:
  // `destination` ends with a separator.
  Transaction(FileOps& files, std::string destination);
  ~Transaction();
  Transaction(const Transaction&) = delete;
  Transaction& operator=(const Transaction&) = delete;

  // Creates the journal, writes its header and makes both durable, before
  // anything is changed. The failure when it cannot: nothing was changed.
  std::optional<FileFailure> Begin();

  // The destination folder, ending with a separator.
  const std::string& folder() const { return destination_; }
  // Destination folder + `name` becomes a copy of the file `source`.
  CopyResult Copy(const std::string& source, const std::string& name);
  // Every ordinary file that destination folder + `pattern` matches goes;
  // what stays (and a folder that cannot be listed) is returned.
  std::vector<FileFailure> Delete(const std::string& pattern);
  // Destination folder + `name` becomes an empty file.
  std::optional<FileFailure> Empty(const std::string& name);
  // Makes the folders of `folder` (relative, ending with a separator) that
  // are missing, one level after the other.
  std::optional<FileFailure> MakeFolders(const std::string& folder);

  // What the transfer has done to its destination so far.
  TransferRecord& record() { return record_; }

  // After a transfer without a failure: the new files and the journal made
  // durable, the journal marked committed and that mark made durable, then
  // the held files, the holding folders and the journal removed. A failure
  // before the mark is durable is returned, and the caller rolls back; what
  // cannot be removed after it stays for the next start to finish.
  std::optional<FileFailure> Commit();

  // Undoes every change and removes the journal. Returns what could not be
  // undone: then the journal and the holding folders stay, and the next
  // start of any operation tries again.
  std::vector<FileFailure> Rollback();

 private:
  // Writes records to the journal and hands them to the system, so that
  // they survive a kill of this process. False, the journal given up, when
  // that fails.
  bool Write(const std::string& lines);
  bool Write(JournalRecord::Kind kind, const std::string& path);
  // Makes what the journal holds durable: it survives a power cut.
  bool SyncJournal();
  // Writes one record and makes it durable, for a change the undo could
  // not find without it.
  bool WriteDurably(JournalRecord::Kind kind, const std::string& path);
  // Gives the batch's staged copies their names, once the journal with
  // their records is durable. The failure when one cannot: the rest of the
  // batch is discarded.
  std::optional<FileFailure> KeepBatch();
  // Whether a staged copy of the batch is to take the name `path`
  // (relative) in any case.
  bool InBatch(const std::string& path) const;
  // Whether a staged copy of the batch may be to take a name that the
  // pattern (relative, `*` and `?` allowed) matches.
  bool BatchMayMatch(const std::string& pattern) const;
  // The holding folder of `folder` (relative), made on first use.
  std::optional<std::string> HoldingFolder(const std::string& folder, std::optional<FileFailure>& failure);
  // Moves the existing `path` (relative, as its folder holds it), or the
  // file just found, into the holding folder of its folder.
  std::optional<FileFailure> MoveAside(const std::string& path);
  std::optional<FileFailure> MoveAside(const FoundFile& file);
  FileFailure JournalFailure() const;
  // Closes the journal and removes it; false when it stays.
  bool RemoveJournal();

  // What the record says, for the undo and the finish.
  UnfinishedTransfer Unfinished() const;

  // A copy whose content is staged and whose record is written.
  struct Staged {
    StagedCopy copy;
    std::string path;  // relative, as the destination's folder holds it
  };

  FileOps& files_;
  TransferRecord record_;
  std::vector<Staged> batch_;
  std::unordered_set<std::string> batch_keys_;  // the batch's paths, folded (case_fold.h)
  // The batch's records, written in one go when it is kept: until then the
  // files they name have no names, so a kill loses nothing they would say.
  std::string batch_records_;
  const std::string destination_;
  const std::string id_;
  const std::string journal_path_;
  std::unique_ptr<OutputFile> journal_;
  bool journal_failed_ = false;
};

}  // namespace tolvashu
