#include "transfer/journal.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tolvashu {
namespace {

constexpr char kId[] = "0123456789abcdef";

const std::vector<JournalRecord> kRecords = {
    {JournalRecord::kFolder, ""},
    {JournalRecord::kAside, "MAINDATA.DAT"},
    {JournalRecord::kNew, "MAINDATA.DAT"},
    {JournalRecord::kFolder, "nationDATA\\"},
    {JournalRecord::kNew, "nationDATA\\国 1%.dat"},  // a blank and a '%' are written escaped
    {JournalRecord::kNew, "maps\\a\nb:c.jpg"},        // a POSIX name may hold a line end and a colon
};

std::string Written(bool committed) {
  std::string text = JournalHeader(kId);
  for (const JournalRecord& record : kRecords) text += JournalLine(kId, record);
  return committed ? text + JournalCommitLine(kId) : text;
}

TEST(Journal, ReadsBackWhatWasWritten) {
  ParsedJournal open = ParseJournal(Written(false));
  EXPECT_EQ(open.state, ParsedJournal::kOpen);
  EXPECT_EQ(open.id, kId);
  EXPECT_EQ(open.records, kRecords);
  EXPECT_EQ(ParseJournal(Written(true)).state, ParsedJournal::kCommitted);
  EXPECT_TRUE(IsJournalName(JournalName(kId)));
  EXPECT_FALSE(IsJournalName(JournalName("0123")));
}

// A power cut may leave any prefix of the journal, or that prefix with NUL
// bytes after it: never damage, and never a record that was not written.
TEST(Journal, AJournalCutShortAnywhereKeepsTheRecordsWrittenWhole) {
  const std::string whole = Written(true);
  for (std::size_t length = 0; length < whole.size(); ++length) {
    for (const std::string& cut : {whole.substr(0, length), whole.substr(0, length) + std::string(7, '\0')}) {
      ParsedJournal parsed = ParseJournal(cut);
      ASSERT_NE(parsed.state, ParsedJournal::kDamaged) << length;
      ASSERT_LE(parsed.records.size(), kRecords.size());
      EXPECT_TRUE(std::equal(parsed.records.begin(), parsed.records.end(), kRecords.begin())) << length;
      EXPECT_NE(parsed.state, ParsedJournal::kCommitted) << length;  // the mark counts once written whole
    }
  }
}

// Whatever a hand changes, no record that was not written is believed: a
// changed line before one that checks out is damage; the last line changed
// is taken for a torn write, its record never acted on.
TEST(Journal, AnAlteredLineIsDamageNeverAnotherRecord) {
  const std::string whole = Written(false);
  const std::size_t last_line = whole.rfind('\n', whole.size() - 2) + 1;
  for (std::size_t at = JournalHeader(kId).size(); at + 1 < whole.size(); ++at) {
    if (whole[at] == '\n') continue;
    std::string altered = whole;
    altered[at] = altered[at] == 'x' ? 'y' : 'x';
    ParsedJournal parsed = ParseJournal(altered);
    if (at < last_line) {
      EXPECT_EQ(parsed.state, ParsedJournal::kDamaged) << at;
    } else {
      EXPECT_EQ(parsed.state, ParsedJournal::kOpen) << at;
      EXPECT_EQ(parsed.records, std::vector<JournalRecord>(kRecords.begin(), kRecords.end() - 1)) << at;
    }
  }
  for (const char* path : {"..\\outside.dat", "\\root.dat", "/root.dat", "a\\..\\..\\b.dat", "a\\...\\b", "nationDATA\\"}) {
    std::string text = JournalHeader(kId) + JournalLine(kId, {JournalRecord::kNew, path});
    EXPECT_EQ(ParseJournal(text).state, ParsedJournal::kDamaged) << path;
  }
  EXPECT_EQ(ParseJournal("some other file\n").state, ParsedJournal::kDamaged);
}

// A torn write on a file system that does not zero what was never written
// leaves stale bytes, line ends among them, after the last whole line.
TEST(Journal, StaleBytesAfterTheLastWholeLineAreAWriteCutShort) {
  const std::string open = Written(false);
  for (const std::string& stale : {std::string("new MAINDATA.DAT 0badc0de\n"), std::string("\x7f\x01garbage\nmore\n\n"),
                                   std::string("\n\n\n")}) {
    ParsedJournal parsed = ParseJournal(open + stale);
    EXPECT_EQ(parsed.state, ParsedJournal::kOpen) << stale;
    EXPECT_EQ(parsed.records, kRecords) << stale;
    EXPECT_EQ(ParseJournal(Written(true) + stale).state, ParsedJournal::kCommitted) << stale;
    // ...but a whole line after them proves that they were written as they are.
    EXPECT_EQ(ParseJournal(open + stale + JournalLine(kId, kRecords[1])).state, ParsedJournal::kDamaged) << stale;
  }
  EXPECT_EQ(ParseJournal(Written(true) + JournalLine(kId, kRecords[1])).state, ParsedJournal::kDamaged);
}

}  // namespace
}  // namespace tolvashu
