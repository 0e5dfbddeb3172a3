// The chat transcript format of the host's rooms.
#include "hostsim/transcript.h"

#include <array>

#include "text/text_ops.h"

namespace vantary::hostsim {
namespace {

bool IsLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

// The formatting tags the host's chat understands; everything else in angle brackets is
// somebody's text ("<grin>", "a <3 b") and stays. Only some of them take attributes
// ("<font color=#336699>"); "<i love you>" is text.
bool IsMarkupTag(std::string_view name, bool withAttributes) {
  static constexpr std::array<std::string_view, 5> kWithAttributes = {"font", "a", "body", "html", "p"};
  static constexpr std::array<std::string_view, 11> kPlain = {"b",   "i",     "u",   "s",  "sub", "sup",
                                                              "big", "small", "pre", "br", "hr"};
  for (std::string_view tag : kWithAttributes) {
    if (text::EqualsNoCase(name, tag)) return true;
  }
  if (withAttributes) return false;
  for (std::string_view tag : kPlain) {
    if (text::EqualsNoCase(name, tag)) return true;
  }
  return false;
}

}  // namespace

Text StripMarkup(std::string_view s) {
  Text out;
  out.reserve(s.size());
  std::size_t i = 0;
  while (i < s.size()) {
    if (s[i] == '<') {
      std::size_t j = i + 1;
      if (j < s.size() && s[j] == '/') ++j;
      const std::size_t nameStart = j;
      while (j < s.size() && IsLetter(s[j])) ++j;
      const std::string_view name = s.substr(nameStart, j - nameStart);
      // The tag ends right after its name, or after its attributes on the same line.
      if (!name.empty() && j < s.size() && s[j] == '>' && IsMarkupTag(name, false)) {
        i = j + 1;
        continue;
      }
      if (!name.empty() && j < s.size() && s[j] == ' ' && IsMarkupTag(name, true)) {
        const std::size_t close = s.find_first_of(">\r\n", j);
        if (close != std::string_view::npos && s[close] == '>') {
          i = close + 1;
          continue;
        }
      }
    }
    out.push_back(s[i]);
    ++i;
  }
  return out;
}

std::deque<Text> FormatMessage(std::string_view sender, std::string_view message) {
  const Text plain = StripMarkup(message);
  std::deque<Text> lines;
  // A break at the message's very end starts one more line, an empty one.
  for (std::string_view line :
       text::SplitLines(plain, text::LineBreak::kAny, text::FinalBreak::kStartsLine)) {
    Text shown = lines.empty() ? Text(sender) + ":\t" : Text();
    for (char c : line) shown.push_back(c == '\t' ? ' ' : c);
    lines.push_back(std::move(shown));
  }
  return lines;
}

void Transcript::add(std::string_view sender, std::string_view message) {
  for (Text& line : FormatMessage(sender, message)) {
    lines_.push_back(std::move(line));
    ++added_;
  }
  trim();
}

void Transcript::setLimit(std::size_t limit) {
  limit_ = limit;
  trim();
}

Text Transcript::joined() const {
  Text out;
  for (std::size_t i = 0; i < lines_.size(); ++i) {
    if (i != 0) out += "\r\n";
    out += lines_[i];
  }
  return out;
}

void Transcript::trim() {
  while (lines_.size() > limit_) lines_.pop_front();
}

}  // namespace vantary::hostsim
