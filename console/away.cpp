// The away log's rules and its file's lines, and the auto-reply's pace.
#include "console/away.h"

#include <algorithm>
#include <cstdio>

#include "text/text_ops.h"

namespace vantary::console {
namespace {

constexpr std::uint64_t kMinuteMs = 60'000;

// A name folded as the host compares names.
Text Folded(std::string_view name) { return text::ToLower(text::RemoveSpaces(name)); }

bool WordChar(char c) {
  const auto u = static_cast<unsigned char>(c);
  return (u >= '0' && u <= '9') || (u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z') || u >= 0xC0;
}

Text TwoDigits(int n) { return (n < 10 ? "0" : "") + std::to_string(n); }

}  // namespace

bool SameMember(std::string_view a, std::string_view b) { return Folded(a) == Folded(b); }

bool NamesMember(std::string_view line, std::string_view name) {
  const Text wanted = Folded(name);
  if (wanted.empty()) return false;
  std::vector<Text> words;
  for (std::size_t i = 0; i < line.size();) {
    if (!WordChar(line[i])) {
      ++i;
      continue;
    }
    std::size_t end = i;
    while (end < line.size() && WordChar(line[end])) ++end;
    words.push_back(text::ToLower(line.substr(i, end - i)));
    i = end;
  }
  for (std::size_t first = 0; first < words.size(); ++first) {
    Text joined;
    for (std::size_t w = first; w < words.size() && joined.size() < wanted.size(); ++w) {
      joined += words[w];
      if (joined == wanted) return true;
    }
  }
  return false;
}

std::vector<Text> WatchList(std::string_view stored) {
  std::vector<Text> members;
  std::size_t start = 0;
  while (start <= stored.size()) {
    std::size_t end = stored.find(',', start);
    if (end == std::string_view::npos) end = stored.size();
    const std::string_view member = text::Trim(stored.substr(start, end - start));
    if (!member.empty()) members.emplace_back(member);
    start = end + 1;
  }
  return members;
}

Text AwayLogLine(const AwayEntry& e) {
  const platform::TimeOfDay& t = e.when;
  return std::to_string(t.year) + "-" + TwoDigits(t.month) + "-" + TwoDigits(t.day) + " " +
         TwoDigits(t.hour) + ":" + TwoDigits(t.minute) + ":" + TwoDigits(t.second) + " [" + e.room + "] " +
         e.sender + ": " + e.text + "\r\n";
}

std::string AppendBounded(std::string_view contents, std::string_view lines, std::size_t limit) {
  std::string all = std::string(contents) + std::string(lines);
  if (all.size() <= limit) return all;
  // The oldest whole lines go; a last line longer than the limit alone keeps its newest part.
  std::size_t cut = all.size() - limit;
  const bool atLineStart = cut >= 2 && all[cut - 2] == '\r' && all[cut - 1] == '\n';
  if (!atLineStart) {
    const std::size_t lineEnd = all.find("\r\n", cut - 1);
    if (lineEnd != std::string::npos && lineEnd + 2 < all.size()) cut = lineEnd + 2;
  }
  return all.substr(cut);
}

Text AwayWindowRow(const AwayEntry& e) {
  return TwoDigits(e.when.hour) + ":" + TwoDigits(e.when.minute) + "  " + e.sender + ": " + e.text;
}

std::optional<std::uint32_t> ReplyPeriodOf(std::string_view digits) {
  if (digits.empty() || digits.size() > 4 ||
      digits.find_first_not_of("0123456789") != std::string_view::npos) {
    return std::nullopt;
  }
  const auto minutes = static_cast<std::uint32_t>(std::stoul(std::string(digits)));
  if (minutes < 1 || minutes > kLongestReplyPeriodMinutes) return std::nullopt;
  return minutes;
}

std::uint32_t ReplyPeriodMinutes(std::string_view stored) {
  return ReplyPeriodOf(stored).value_or(kDefaultReplyPeriodMinutes);
}

bool ReplyPace::take(std::string_view member, std::uint64_t nowMs, std::uint64_t periodMs) {
  while (!recent_.empty() && nowMs - recent_.front() >= kMinuteMs) recent_.pop_front();
  if (recent_.size() >= kRepliesPerMinute) return false;
  const Text who = Folded(member);
  const auto last = lastByMember_.find(who);
  if (last != lastByMember_.end() && nowMs - last->second < periodMs) return false;
  lastByMember_[who] = nowMs;
  recent_.push_back(nowMs);
  return true;
}

}  // namespace vantary::console
