// What happened while the user was away: which room lines the away log keeps, the lines
// of away.log and its bound, and how often the auto-reply answers.
#pragma once

#include <cstdint>
#include <deque>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/event_loop.h"
#include "text/ansi.h"

namespace vantary::console {

using text::Text;

// One kept line of the room.
struct AwayEntry {
  platform::TimeOfDay when;
  Text room;
  Text sender;
  Text text;
};

// Screen names as the host compares them: case and blanks ignored.
bool SameMember(std::string_view a, std::string_view b);
// Whether `line` names the member as a word: a run of the line's words (letters and
// digits) that joined make the name, blanks left out and case ignored ("Ann Lee" is named
// by "hi ann lee!" and by "ANNLEE?", not by "annleex").
bool NamesMember(std::string_view line, std::string_view name);
// The watch list as stored: members separated by commas, blanks around them dropped.
std::vector<Text> WatchList(std::string_view stored);

// away.log: one line a kept line, "YYYY-MM-DD HH:MM:SS [room] sender: text", CR LF. The
// file keeps the newest lines within kAwayLogLimit bytes.
inline constexpr std::size_t kAwayLogLimit = std::size_t{1} << 20;
Text AwayLogLine(const AwayEntry& entry);
// `contents` with `lines` appended, the oldest whole lines dropped until it fits `limit`.
std::string AppendBounded(std::string_view contents, std::string_view lines, std::size_t limit);
// "HH:MM  sender: text", as the away window lists a kept line.
Text AwayWindowRow(const AwayEntry& entry);

// The auto-reply's pace: one answer per member per period, at most kRepliesPerMinute in
// any minute in all.
inline constexpr std::uint32_t kDefaultReplyPeriodMinutes = 10;
inline constexpr std::uint32_t kLongestReplyPeriodMinutes = 24 * 60;
// The reply's text when none is stored: the reason and the time away, as custom macros.
inline constexpr std::string_view kDefaultReplyText = "away: r$ (d1$d h1$h m1$m)";
// A period as typed or stored: a whole number of minutes from 1 to a day, else nullopt.
std::optional<std::uint32_t> ReplyPeriodOf(std::string_view digits);
// The period as stored, or the default for anything else.
std::uint32_t ReplyPeriodMinutes(std::string_view stored);
inline constexpr std::size_t kRepliesPerMinute = 3;
class ReplyPace {
 public:
  // Whether `member` may be answered at `nowMs`; when so, the answer is counted.
  bool take(std::string_view member, std::uint64_t nowMs, std::uint64_t periodMs);

 private:
  std::map<Text, std::uint64_t> lastByMember_;  // by the member's folded name
  std::deque<std::uint64_t> recent_;            // answers of the last minute
};

}  // namespace vantary::console
