#include "text/item_reader.h"

#include <string_view>
#include <utility>

namespace tolvashu {

namespace {

constexpr std::string_view kBlanks = " \t";
constexpr std::string_view kSeparators = ",\r\n";
constexpr char kQuote = '"';

// An item and the position just past the separator that ended it.
struct ScannedItem {
  std::string text;
  std::size_t next;
};

// The position where the separator search from `from` stops: the next comma
// or line-end character, or the end of the text.
std::size_t SeparatorAt(std::string_view text, std::size_t from) {
  std::size_t pos = text.find_first_of(kSeparators, from);
  return pos == std::string_view::npos ? text.size() : pos;
}

// The position past the separator at `pos`; CR LF counts as one line end.
std::size_t PastSeparator(std::string_view text, std::size_t pos) {
  if (pos >= text.size()) return text.size();
  bool crlf = text[pos] == '\r' && pos + 1 < text.size() && text[pos + 1] == '\n';
  return pos + (crlf ? 2 : 1);
}

std::string_view WithoutTrailingBlanks(std::string_view item) {
  std::size_t last = item.find_last_not_of(kBlanks);
  return last == std::string_view::npos ? std::string_view() : item.substr(0, last + 1);
}

// An item that does not start with a quote runs to the next separator; a
// quote inside it is an ordinary character.
ScannedItem ScanPlainItem(std::string_view text, std::size_t start) {
  std::size_t end = SeparatorAt(text, start);
  return {std::string(WithoutTrailingBlanks(text.substr(start, end - start))), PastSeparator(text, end)};
}

// A quoted item runs to the closing quote, across commas and line ends, or to
// the end of the text when the quote is never closed. What follows the
// closing quote up to the separator is not part of any item.
ScannedItem ScanQuotedItem(std::string_view text, std::size_t quote) {
  std::size_t start = quote + 1;
  std::size_t close = text.find(kQuote, start);
  if (close == std::string_view::npos) return {std::string(text.substr(start)), text.size()};
  return {std::string(text.substr(start, close - start)), PastSeparator(text, SeparatorAt(text, close + 1))};
}

}  // namespace

ItemReader::ItemReader(std::string text) : text_(std::move(text)) {}

bool ItemReader::AtEnd() const { return pos_ >= text_.size(); }

std::optional<std::string> ItemReader::ReadItem() {
  if (AtEnd()) return std::nullopt;
  std::string_view text = text_;
  std::size_t start = text.find_first_not_of(kBlanks, pos_);
  if (start == std::string_view::npos) start = text.size();
  bool quoted = start < text.size() && text[start] == kQuote;
  ScannedItem item = quoted ? ScanQuotedItem(text, start) : ScanPlainItem(text, start);
  pos_ = item.next;
  return std::move(item.text);
}

}  // namespace tolvashu
