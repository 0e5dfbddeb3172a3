// The small text operations: trimming, lines, and the ones the chat lines are built with.
#include "text/text_ops.h"

#include <algorithm>

namespace vantary::text {

std::string_view TrimLeft(std::string_view s, std::string_view blanks) {
  const std::size_t first = s.find_first_not_of(blanks);
  return first == std::string_view::npos ? s.substr(s.size()) : s.substr(first);
}

std::string_view TrimRight(std::string_view s, std::string_view blanks) {
  const std::size_t last = s.find_last_not_of(blanks);
  return s.substr(0, last == std::string_view::npos ? 0 : last + 1);
}

std::string_view Trim(std::string_view s, std::string_view blanks) {
  return TrimRight(TrimLeft(s, blanks), blanks);
}

LineReader::LineReader(std::string_view text, LineBreak breaks, FinalBreak final)
    : text_(text), breaks_(breaks), final_(final) {}

std::optional<std::string_view> LineReader::next() {
  if (done_) return std::nullopt;
  const std::size_t start = pos_;
  if (start == text_.size() && final_ == FinalBreak::kEndsLine) {
    done_ = true;
    return std::nullopt;
  }
  std::size_t end = std::string_view::npos;  // where the break starts
  std::size_t breakSize = 1;
  switch (breaks_) {
    case LineBreak::kAny:
      end = text_.find_first_of("\r\n", start);
      if (end != std::string_view::npos && text_[end] == '\r' && end + 1 < text_.size() &&
          text_[end + 1] == '\n') {
        breakSize = 2;
      }
      break;
    case LineBreak::kLf:
      end = text_.find('\n', start);
      break;
    case LineBreak::kCrLf:
      end = text_.find("\r\n", start);
      breakSize = 2;
      break;
  }
  std::string_view line;
  if (end == std::string_view::npos) {
    // The last line, ended by the text's end.
    done_ = true;
    ended_ = false;
    pos_ = text_.size();
    line = text_.substr(start);
  } else {
    ended_ = true;
    pos_ = end + breakSize;
    line = text_.substr(start, end - start);
  }
  if (breaks_ == LineBreak::kLf && !line.empty() && line.back() == '\r') line.remove_suffix(1);
  return line;
}

std::vector<std::string_view> SplitLines(std::string_view text, LineBreak breaks, FinalBreak final) {
  std::vector<std::string_view> lines;
  LineReader reader(text, breaks, final);
  while (const std::optional<std::string_view> line = reader.next()) lines.push_back(*line);
  return lines;
}

Text LineBreaksToBlanks(std::string_view s) {
  Text out;
  out.reserve(s.size());
  LineReader reader(s, LineBreak::kAny, FinalBreak::kStartsLine);
  for (bool first = true; const std::optional<std::string_view> line = reader.next(); first = false) {
    if (!first) out += ' ';
    out += *line;
  }
  return out;
}

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
Text ReplaceText(std::string_view s, std::string_view find, std::string_view replacement, std::size_t limit) {
  if (find.empty()) return Text(s.substr(0, limit));
  std::size_t match = FindNoCase(s, find, 0);
  if (match == std::string_view::npos) return Text(s.substr(0, limit));
  Text out;
  out.reserve(std::min(s.size(), limit));
  std::size_t copied = 0;
  const auto append = [&](std::string_view part) {
    out.append(part.substr(0, limit - out.size()));
    return out.size() < limit;
  };
  while (match != std::string_view::npos) {
    if (!append(s.substr(copied, match - copied)) || !append(replacement)) return out;
    copied = match + find.size();
    match = FindNoCase(s, find, copied);
  }
  append(s.substr(copied));
  return out;
}

}  // namespace vantary::text
