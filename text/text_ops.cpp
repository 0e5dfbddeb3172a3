// The small text operations the chat lines are built with.
#include "text/text_ops.h"

namespace vantary::text {

Text RemoveSpaces(std::string_view s) {
  Text out;
  out.reserve(s.size());
  for (char c : s) {
    if (c != ' ') out += c;
  }
  return out;
}

Text DigitsOnly(std::string_view s) {
  Text out;
  for (char c : s) {
    if (c >= '0' && c <= '9') out += c;
  }
  return out;
}

// Searching again right after each inserted replacement is the same as searching the
// original text right after each match, so the result is built in one pass over it.
Text ReplaceText(std::string_view s, std::string_view find, std::string_view replacement) {
  if (find.empty()) return Text(s);
  std::size_t match = FindNoCase(s, find, 0);
  if (match == std::string_view::npos) return Text(s);
  Text out;
  out.reserve(s.size());
  std::size_t copied = 0;
  while (match != std::string_view::npos) {
    out.append(s, copied, match - copied);
    out.append(replacement);
    copied = match + find.size();
    match = FindNoCase(s, find, copied);
  }
  out.append(s, copied, std::string_view::npos);
  return out;
}

}  // namespace vantary::text
