#include "winui/display_text.h"

namespace tolvashu {

std::string WithCrLf(std::string_view text) {
  std::string shown;
  shown.reserve(text.size() + 8);
  for (std::size_t i = 0; i < text.size(); ++i) {
    shown += text[i];
    bool lone_cr = text[i] == '\r' && (i + 1 == text.size() || text[i + 1] != '\n');
    if (lone_cr) shown += '\n';
  }
  return shown;
}

std::string ButtonCaption(std::string_view text) {
  std::string shown;
  for (char c : WithCrLf(text)) {
    if (c == '&') shown += '&';
    shown += c;
  }
  return shown;
}

std::string ControlText(ControlKind kind, std::string_view text) {
  return IsButton(kind) ? ButtonCaption(text) : WithCrLf(text);
}

}  // namespace tolvashu
