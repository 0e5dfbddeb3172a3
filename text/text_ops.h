// The small text operations: trimming, lines, and the ones the chat lines are built with.
#pragma once

#include <cstddef>
#include <optional>
#include <string_view>
#include <vector>

#include "text/ansi.h"

namespace vantary::text {

// ---- trimming ------------------------------------------------------------------------------

// What a text is trimmed of unless the caller names other characters: blanks and TABs.
inline constexpr std::string_view kBlanks = " \t";
// Blanks, TABs and the two line-break characters: what surrounds a line typed into a box.
inline constexpr std::string_view kBlanksAndLineBreaks = " \t\r\n";

// The text without the characters of `blanks` at its start (TrimLeft), its end
// (TrimRight) or both (Trim); those inside it stay. The result is a view into `s`, so it
// lives no longer than `s` does.
std::string_view TrimLeft(std::string_view s, std::string_view blanks = kBlanks);
std::string_view TrimRight(std::string_view s, std::string_view blanks = kBlanks);
std::string_view Trim(std::string_view s, std::string_view blanks = kBlanks);

// ---- lines ---------------------------------------------------------------------------------

// What ends a line.
enum class LineBreak {
  // CR LF, a lone CR or a lone LF, each one break: texts from the host and the settings
  // files, which the system's functions read with any of the three.
  kAny,
  // LF; a CR at the end of a line goes with it, also on a last line without LF. A CR
  // elsewhere stays in its line. For command lines, written with LF or CR LF.
  kLf,
  // CR LF only; a lone CR or LF stays in its line. For the host's transcript, whose
  // lines are joined with CR LF and must show any other break they hold.
  kCrLf,
};

// What a break at the very end of the text means. Empty lines between two breaks are
// lines in either case.
enum class FinalBreak {
  // It ends the last line: "a\r\nb\r\n" and "a\r\nb" are the lines "a" and "b", and ""
  // has none. A file of lines, each ended by its break.
  kEndsLine,
  // It starts one more, empty line: "a\r\nb\r\n" is "a", "b" and "", and "" is one
  // empty line. A text with breaks inside it, such as a chat message.
  kStartsLine,
};

// Reads a text line by line without copying it.
class LineReader {
 public:
  explicit LineReader(std::string_view text, LineBreak breaks = LineBreak::kAny,
                      FinalBreak final = FinalBreak::kEndsLine);

  // The next line without its break, a view into the text; nullopt after the last one.
  std::optional<std::string_view> next();
  // Whether the line next() gave last was ended by a break rather than by the text's end:
  // a line still being written has none yet.
  bool lineEnded() const { return ended_; }
  // The offset in the text just past the lines given so far and their breaks.
  std::size_t consumed() const { return pos_; }

 private:
  std::string_view text_;
  LineBreak breaks_;
  FinalBreak final_;
  std::size_t pos_ = 0;
  bool ended_ = false;
  bool done_ = false;
};

// Every line of the text, as LineReader reads it; views into the text.
std::vector<std::string_view> SplitLines(std::string_view text, LineBreak breaks = LineBreak::kAny,
                                         FinalBreak final = FinalBreak::kEndsLine);

// The text with each line break (CR LF, a lone CR or a lone LF) made one blank: a value
// that must stay on one line.
Text LineBreaksToBlanks(std::string_view s);

// ---- chat lines ----------------------------------------------------------------------------

// The text without any blank.
Text RemoveSpaces(std::string_view s);
// The digits 0 to 9 of the text, in their order.
Text DigitsOnly(std::string_view s);
// Every occurrence of `find` (found without regard to case) replaced; the replacement is
// not searched again, the rest keeps its case. An empty `find` returns the text unchanged.
// The result is cut to its first `limit` bytes, and no more than that is ever built.
Text ReplaceText(std::string_view s, std::string_view find, std::string_view replacement,
                 std::size_t limit = std::string_view::npos);

}  // namespace vantary::text
