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

// Whatever a hand changes, no record that was not written is believed.
TEST(Journal, AnAlteredLineIsDamageNeverAnotherRecord) {
  const std::string whole = Written(false);
  for (std::size_t at = JournalHeader(kId).size(); at + 1 < whole.size(); ++at) {
    if (whole[at] == '\n') continue;
    std::string altered = whole;
    altered[at] = altered[at] == 'x' ? 'y' : 'x';
    EXPECT_EQ(ParseJournal(altered).state, ParsedJournal::kDamaged) << at;
  }
  for (const char* path : {"..\\outside.dat", "\\root.dat", "/root.dat", "a\\..\\..\\b.dat", "a\\...\\b", "nationDATA\\"}) {
    std::string text = JournalHeader(kId) + JournalLine(kId, {JournalRecord::kNew, path});
    EXPECT_EQ(ParseJournal(text).state, ParsedJournal::kDamaged) << path;
  }
  EXPECT_EQ(ParseJournal("some other file\n").state, ParsedJournal::kDamaged);
}

}  // namespace
}  // namespace tolvashu
