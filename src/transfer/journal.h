// The journal of one transfer: a small text file in the destination folder
// that records, before each change is made, what the transfer is about to
// move aside or create there, so that someone who knows nothing else can
// undo it; and, once everything is durable, that the transfer is committed.
//
// The text is UTF-8, one record per line:
//   tolvashu-journal 1 ID                  the header; ID names the holding folders
//   folder PATH CHECK                      a holding folder is made in destination + PATH ("" is the destination)
//   aside PATH CHECK                       destination + PATH is moved into its folder's holding folder
//   new PATH CHECK                         destination + PATH is created by the transfer
//   mkdir PATH CHECK                       the folder destination + PATH was made by the transfer
//   committed CHECK                        the transfer is complete and durable
// PATH is relative to the destination, '\' between names, with '%', blanks
// and control characters written as %XX. CHECK is a checksum of the line and
// the ID, so that a line cut short or altered by hand is never believed.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tolvashu {

// The journal's name in its destination folder, and the name of the
// holding folder that a transfer of that ID makes in each folder it moves
// files out of. Both are of our own making (temporary_name.h): hidden, never
// listed as data. Each transfer has its own, so that the leftovers of one
// that could not be finished never stand in the way of the next.
std::string JournalName(std::string_view id);
std::string HoldingFolderName(std::string_view id);
// Whether a name is a journal's.
bool IsJournalName(std::string_view name);

struct JournalRecord {
  enum Kind { kFolder, kAside, kNew, kMadeFolder };
  Kind kind;
  std::string path;
  bool operator==(const JournalRecord& other) const { return kind == other.kind && path == other.path; }
};

std::string JournalHeader(std::string_view id);
std::string JournalLine(std::string_view id, const JournalRecord& record);
std::string JournalCommitLine(std::string_view id);

struct ParsedJournal {
  enum State {
    kUnstarted,  // empty, or a header cut short: nothing was changed yet
    kOpen,       // records, but no commit: the transfer must be undone
    kCommitted,  // the transfer is complete: only its holding folders remain to go
    kDamaged,    // something that no cut-short write explains: trust none of it
  };
  State state = kUnstarted;
  std::string id;
  std::vector<JournalRecord> records;  // those proven by their checksums, in order
};

// Reads a journal, whatever bytes it holds. A last line without its line
// end, a tail of NUL bytes, or lines whose checksums do not check out with
// none after them that does (the stale bytes a torn write may leave) are a
// write cut short, not damage: the records before them stand. A line that
// does not check out before one that does, or a line written whole that
// names something outside the destination, is damage.
ParsedJournal ParseJournal(std::string_view text);

}  // namespace tolvashu
