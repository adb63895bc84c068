// Splits the text of a data file into items, the way the installer reads
// "vumoworld.dat" and "PathDATA.txt":
//  - items are separated by commas and by line ends (CR LF, LF alone or CR
//    alone); the separator after an item is consumed;
//  - leading blanks and tabs are skipped; an unquoted item loses its trailing
//    blanks and tabs;
//  - an item in double quotes is returned without them and may hold commas
//    and line ends; characters after the closing quote up to the separator
//    are dropped; an unterminated quote runs to the end of the text;
//  - an empty line gives an empty item; a NUL character is kept.
// Reading is linear in the size of the text.
#pragma once

#include <cstddef>
#include <optional>
#include <string>

namespace tolvashu {

class ItemReader {
 public:
  // `text` is the decoded file content (UTF-8).
  explicit ItemReader(std::string text);

  // The next item, or std::nullopt when the end has been reached.
  std::optional<std::string> ReadItem();

  // True when no data remains: the last item and its line end have been read.
  bool AtEnd() const;

 private:
  std::string text_;
  std::size_t pos_ = 0;
};

}  // namespace tolvashu
