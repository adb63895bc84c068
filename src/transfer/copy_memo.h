// Remembers the names a transfer has copied, so that a second copy of the
// same name, which would only write the same bytes again, can be left out
// (the scenario files of the fixed range are copied again by the series, and
// some catalogue names are also copied by a sweep).
//
// Only names that no other name of the transfer can reach are remembered:
// one component of ASCII letters, digits, '_', '-' and inner dots. Such a
// name reaches the same file as another only by ASCII case (a Windows short
// name always holds '~'), so the memo is keyed by the name in ASCII upper
// case and a repeat must match the remembered spelling exactly. Anything
// else that writes to the destination, or any other name, makes the memo
// forget what it cannot rule out.
#pragma once

#include <string>
#include <string_view>
#include <unordered_map>

namespace tolvashu {

class CopyMemo {
 public:
  // True when `name` was copied, and nothing written since can have changed
  // its source or its destination.
  bool AlreadyCopied(std::string_view name) const;
  // After a copy of `name`; `copied` says whether the destination now holds
  // the source's content.
  void Copied(std::string_view name, bool copied);
  // After the destination's `name_or_pattern` was deleted or emptied.
  void Changed(std::string_view name_or_pattern);

 private:
  std::unordered_map<std::string, std::string> copied_;  // upper-case name -> name as copied
};

}  // namespace tolvashu
