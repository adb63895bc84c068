// Reads arbitrary bytes as a journal: whatever they hold, every record that
// is believed names a place inside the destination, and a journal written
// whole and then cut short anywhere gives back a prefix of its records.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz/fuzz_check.h"
#include "transfer/inside_folder.h"
#include "transfer/journal.h"

using tolvashu::JournalRecord;
using tolvashu::ParsedJournal;
using tolvashu::fuzz::Require;

namespace {

// No leading separator, no component of two or more dots only.
bool StaysInside(const JournalRecord& record) {
  std::string_view path = record.path;
  if (record.kind == JournalRecord::kFolder) {
    if (path.empty()) return true;
    if (path.back() != '\\') return false;
    path.remove_suffix(1);
  }
  if (path.empty() || path.front() == '\\' || path.front() == '/' || path.find('\0') != std::string_view::npos) {
    return false;
  }
  for (std::size_t start = 0; start <= path.size();) {
    std::size_t end = path.find_first_of("\\/", start);
    if (end == std::string_view::npos) end = path.size();
    std::string_view component = path.substr(start, end - start);
    if (component.size() >= 2 && component.find_first_not_of('.') == std::string_view::npos) return false;
    start = end + 1;
  }
  return true;
}

// Records made of the input's '|'-separated parts, as a transfer would write
// them: names of files inside the destination.
std::vector<JournalRecord> RecordsOf(std::string_view bytes) {
  std::vector<JournalRecord> records;
  for (std::size_t at = 0; at < bytes.size();) {
    std::size_t end = bytes.find('|', at);
    if (end == std::string_view::npos) end = bytes.size();
    std::string path(bytes.substr(at, end - at));
    if (tolvashu::StaysInsideFolder(path) && path.back() != '\\' && path.back() != '/') {
      records.push_back({path.size() % 2 ? JournalRecord::kNew : JournalRecord::kAside, path});
    }
    at = end + 1;
  }
  return records;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string_view bytes(reinterpret_cast<const char*>(data), size);
  ParsedJournal parsed = tolvashu::ParseJournal(bytes);
  for (const JournalRecord& record : parsed.records) Require(StaysInside(record), "a record stays inside");

  const std::string id = "00112233445566ff";
  const std::vector<JournalRecord> records = RecordsOf(bytes);
  std::string written = tolvashu::JournalHeader(id);
  for (const JournalRecord& record : records) written += tolvashu::JournalLine(id, record);
  written += tolvashu::JournalCommitLine(id);
  const std::size_t cut = size == 0 ? written.size() : data[0] * written.size() / 255;
  ParsedJournal prefix = tolvashu::ParseJournal(written.substr(0, cut));
  Require(prefix.state != ParsedJournal::kDamaged, "a journal cut short is not damaged");
  Require(prefix.records.size() <= records.size(), "no record appears");
  for (std::size_t i = 0; i < prefix.records.size(); ++i) Require(prefix.records[i] == records[i], "records kept");
  Require((prefix.state == ParsedJournal::kCommitted) == (cut == written.size()), "committed only when whole");
  return 0;
}
