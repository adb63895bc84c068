#include "transfer/journal.h"

#include <cstdint>

#include "disk/path_parts.h"
#include "disk/temporary_name.h"

namespace tolvashu {

namespace {

constexpr std::string_view kMagic = "tolvashu-journal 1 ";
constexpr std::string_view kCommitted = "committed";
constexpr std::size_t kIdLength = 16;
constexpr char kHex[] = "0123456789abcdef";

constexpr std::string_view kKindWords[] = {"folder", "aside", "new", "mkdir"};

bool IsHexDigit(char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'); }

bool IsHex(std::string_view text, std::size_t length) {
  if (text.size() != length) return false;
  for (char c : text) {
    if (!IsHexDigit(c)) return false;
  }
  return true;
}

// FNV-1a over the ID and the line: cheap, and enough to tell a line that
// was written whole from one cut short, overwritten or typed by hand.
std::string Check(std::string_view id, std::string_view body) {
  std::uint32_t hash = 2166136261u;
  auto add = [&hash](std::string_view bytes) {
    for (char c : bytes) {
      hash ^= static_cast<unsigned char>(c);
      hash *= 16777619u;
    }
  };
  add(id);
  add(" ");
  add(body);
  std::string check;
  for (int shift = 28; shift >= 0; shift -= 4) check += kHex[(hash >> shift) & 0xF];
  return check;
}

bool NeedsEscape(unsigned char c) { return c <= ' ' || c == '%' || c == 0x7F; }

std::string Escape(std::string_view path) {
  std::string escaped;
  for (char c : path) {
    unsigned char byte = static_cast<unsigned char>(c);
    if (NeedsEscape(byte)) {
      escaped += '%';
      escaped += "0123456789ABCDEF"[byte >> 4];
      escaped += "0123456789ABCDEF"[byte & 0xF];
    } else {
      escaped += c;
    }
  }
  return escaped;
}

bool IsUpperHexDigit(char c) { return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F'); }
int UpperHexValue(char c) { return c <= '9' ? c - '0' : c - 'A' + 10; }

std::optional<std::string> Unescape(std::string_view escaped) {
  std::string path;
  for (std::size_t i = 0; i < escaped.size(); ++i) {
    if (escaped[i] != '%') {
      if (NeedsEscape(static_cast<unsigned char>(escaped[i]))) return std::nullopt;
      path += escaped[i];
      continue;
    }
    if (i + 2 >= escaped.size() || !IsUpperHexDigit(escaped[i + 1]) || !IsUpperHexDigit(escaped[i + 2])) {
      return std::nullopt;
    }
    path += static_cast<char>(UpperHexValue(escaped[i + 1]) * 16 + UpperHexValue(escaped[i + 2]));
    i += 2;
  }
  return path;
}

bool IsSeparator(char c) { return c == '\\'; }

// A path that names something inside the destination: relative, with no
// component of two or more dots only (which would climb out). Any other
// character may be part of a name the transfer copied: a POSIX name may hold
// ':' or a line end, and a world file may name "maps\\.\\a.jpg".
bool StaysInside(std::string_view path) {
  if (path.empty() || IsPathSeparator(path.front()) || path.find('\0') != std::string_view::npos) return false;
  for (std::size_t start = 0; start <= path.size();) {
    std::size_t end = path.find_first_of(kPathSeparators, start);
    if (end == std::string_view::npos) end = path.size();
    std::string_view component = path.substr(start, end - start);
    if (component.size() >= 2 && component.find_first_not_of('.') == std::string_view::npos) return false;
    start = end + 1;
  }
  return true;
}

// A holding folder's place: the destination itself, or a folder inside it.
bool IsFolderPath(std::string_view path) {
  if (path.empty()) return true;
  return IsSeparator(path.back()) && StaysInside(path.substr(0, path.size() - 1));
}

bool IsFilePath(std::string_view path) { return !path.empty() && !IsSeparator(path.back()) && StaysInside(path); }

// One line of a journal, without its line end, as far as its checksum
// proves it: written whole by this ID, or not.
struct Line {
  enum Kind {
    kUnproven,  // its checksum does not check out: never written whole
    kInvalid,   // written whole, yet no record we write (a path that leaves the destination)
    kRecord,
    kCommit,
  };
  Kind kind = kUnproven;
  std::optional<JournalRecord> record;
};

Line ReadLine(std::string_view id, std::string_view line) {
  if (std::string(line) + "\n" == JournalCommitLine(id)) return {Line::kCommit, std::nullopt};
  std::size_t last_blank = line.rfind(' ');
  if (last_blank == std::string_view::npos) return {};
  std::string_view body = line.substr(0, last_blank);
  if (line.substr(last_blank + 1) != Check(id, body)) return {};
  std::size_t first_blank = body.find(' ');
  if (first_blank == std::string_view::npos) return {Line::kInvalid, std::nullopt};
  std::string_view word = body.substr(0, first_blank);
  for (int kind = JournalRecord::kFolder; kind <= JournalRecord::kMadeFolder; ++kind) {
    if (word != kKindWords[kind]) continue;
    std::optional<std::string> path = Unescape(body.substr(first_blank + 1));
    if (!path) return {Line::kInvalid, std::nullopt};
    bool valid = kind == JournalRecord::kFolder      ? IsFolderPath(*path)
                 : kind == JournalRecord::kMadeFolder ? !path->empty() && IsFolderPath(*path)
                                                      : IsFilePath(*path);
    if (!valid) return {Line::kInvalid, std::nullopt};
    return {Line::kRecord, JournalRecord{static_cast<JournalRecord::Kind>(kind), std::move(*path)}};
  }
  return {Line::kInvalid, std::nullopt};
}

// Whether any complete line of `text` checks out.
bool AnyLineProven(std::string_view id, std::string_view text) {
  for (std::size_t at = 0, end; (end = text.find('\n', at)) != std::string_view::npos; at = end + 1) {
    if (ReadLine(id, text.substr(at, end - at)).kind != Line::kUnproven) return true;
  }
  return false;
}

// Whether `line` could be the start of a header whose writing was cut short.
bool IsHeaderCutShort(std::string_view line) {
  if (line.size() <= kMagic.size()) return kMagic.substr(0, line.size()) == line;
  return line.substr(0, kMagic.size()) == kMagic && line.size() <= kMagic.size() + kIdLength &&
         IsHex(line.substr(kMagic.size()), line.size() - kMagic.size());
}

ParsedJournal Damaged() {
  ParsedJournal journal;
  journal.state = ParsedJournal::kDamaged;
  return journal;
}

}  // namespace

std::string JournalName(std::string_view id) { return OwnName(kJournalForm, id); }

bool IsJournalName(std::string_view name) { return IsOwnNameOfForm(name, kJournalForm); }

std::string HoldingFolderName(std::string_view id) { return OwnName(kHoldForm, id); }

std::string JournalHeader(std::string_view id) { return std::string(kMagic) + std::string(id) + "\n"; }

std::string JournalLine(std::string_view id, const JournalRecord& record) {
  std::string body = std::string(kKindWords[record.kind]) + " " + Escape(record.path);
  return body + " " + Check(id, body) + "\n";
}

std::string JournalCommitLine(std::string_view id) {
  return std::string(kCommitted) + " " + Check(id, kCommitted) + "\n";
}

ParsedJournal ParseJournal(std::string_view text) {
  // What a power cut may leave after the last write: NUL bytes.
  while (!text.empty() && text.back() == '\0') text.remove_suffix(1);
  std::size_t header_end = text.find('\n');
  if (header_end == std::string_view::npos) return IsHeaderCutShort(text) ? ParsedJournal{} : Damaged();
  std::string_view header = text.substr(0, header_end);
  if (header.substr(0, kMagic.size()) != kMagic || !IsHex(header.substr(kMagic.size()), kIdLength)) return Damaged();

  ParsedJournal journal;
  journal.state = ParsedJournal::kOpen;
  journal.id = std::string(header.substr(kMagic.size()));
  for (std::size_t at = header_end + 1; at < text.size();) {
    std::size_t end = text.find('\n', at);
    if (end == std::string_view::npos) break;  // the last write, cut short: never acted on
    std::string_view line = text.substr(at, end - at);
    std::string_view rest = text.substr(end + 1);
    at = end + 1;
    Line read = ReadLine(journal.id, line);
    if (read.kind == Line::kUnproven) {
      // Bytes that were never written whole: the stale tail of a write cut
      // short, unless a line written whole follows them.
      if (AnyLineProven(journal.id, rest)) return Damaged();
      break;
    }
    if (read.kind == Line::kInvalid || journal.state == ParsedJournal::kCommitted) return Damaged();
    if (read.kind == Line::kCommit) {
      journal.state = ParsedJournal::kCommitted;
    } else {
      journal.records.push_back(std::move(*read.record));
    }
  }
  return journal;
}

}  // namespace tolvashu
