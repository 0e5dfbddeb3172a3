// The chat transcript of a room as the host shows it: one line per message, the sender,
// ":", a TAB and the text without its markup, the newest lines only.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <string_view>

#include "text/ansi.h"

namespace vantary::hostsim {

using text::Text;

// Lines a room keeps when it is given no other limit.
inline constexpr std::size_t kDefaultTranscriptLines = 100;

// The text with the chat markup removed: the font, bold, italic, underline and strike
// tags (and the few other formatting tags the host understands), opening and closing,
// in any case. A "<" that does not open such a tag is shown as it is.
Text StripMarkup(std::string_view text);

// The lines one message shows: the first is sender ":" TAB text, each line break inside
// the text (CR LF, a lone CR or a lone LF) starts a further line without a name. A TAB
// inside the text is shown as a blank, so only the host itself starts a line with a
// name and a TAB.
std::deque<Text> FormatMessage(std::string_view sender, std::string_view text);

class Transcript {
 public:
  explicit Transcript(std::size_t limit = kDefaultTranscriptLines) : limit_(limit) {}

  void add(std::string_view sender, std::string_view text);
  // A limit of 0 keeps nothing. Lowering it drops the oldest lines at once.
  void setLimit(std::size_t limit);
  std::size_t limit() const { return limit_; }
  const std::deque<Text>& lines() const { return lines_; }
  // Lines added since the transcript began, the dropped ones included: the number of the
  // newest line, counting from 1.
  std::uint64_t added() const { return added_; }
  // The lines joined by CR LF, as the transcript control holds them.
  Text joined() const;

 private:
  void trim();

  std::size_t limit_;
  std::deque<Text> lines_;
  std::uint64_t added_ = 0;
};

}  // namespace vantary::hostsim
