// Windows-1252 texts: literals, case, numeric values, UTF-8, and the chat-line text operations.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "text/ansi.h"
#include "text/text_ops.h"

namespace vantary::text {
namespace {

std::string Bytes(std::initializer_list<unsigned> bytes) {
  std::string s;
  for (unsigned b : bytes) s += static_cast<char>(b);
  return s;
}

TEST(AnsiText, LiteralIsConvertedToWindows1252Bytes) {
  EXPECT_EQ(std::string("vantarý³ · ›‹°–"_ansi),
            Bytes({'v', 'a', 'n', 't', 'a', 'r', 0xFD, 0xB3, ' ', 0xB7, ' ', 0x9B, 0x8B, 0xB0, 0x96}));
}

TEST(AnsiText, CaseMapsEveryLetterPairAndLeavesOtherBytesAlone) {
  std::string capitals = Bytes({0x8A, 0x8C, 0x8E, 0x9F});
  std::string smalls = Bytes({0x9A, 0x9C, 0x9E, 0xFF});
  for (unsigned c = 'A'; c <= 'Z'; ++c) {
    capitals += static_cast<char>(c);
    smalls += static_cast<char>(c + 32);
  }
  for (unsigned c = 0xC0; c <= 0xDE; ++c) {
    if (c == 0xD7) continue;
    capitals += static_cast<char>(c);
    smalls += static_cast<char>(c + 32);
  }
  EXPECT_EQ(ToLower(capitals), smalls);
  EXPECT_EQ(ToUpper(smalls), capitals);
  for (unsigned b = 0; b < 256; ++b) {
    const char c = static_cast<char>(b);
    if (capitals.find(c) != std::string::npos || smalls.find(c) != std::string::npos) continue;
    EXPECT_EQ(ToLowerChar(c), c) << "byte " << b;
    EXPECT_EQ(ToUpperChar(c), c) << "byte " << b;
  }
  EXPECT_EQ(ToUpper("ß×÷"_ansi), std::string("ß×÷"_ansi));
  EXPECT_TRUE(EqualsNoCase("VANTARÝ ŒUVRE"_ansi, "vantarý œuvre"_ansi));
  EXPECT_EQ(FindNoCase("Idle ÉTÉ été"_ansi, "été"_ansi), 5u);
  EXPECT_EQ(FindNoCase("Idle ÉTÉ été"_ansi, "été"_ansi, 6), 9u);
  EXPECT_EQ(FindNoCase("ab", "abc"), std::string::npos);
  EXPECT_EQ(FindNoCase("ab", "b", 5), std::string::npos);
}

TEST(AnsiText, NumericValueReadsTheLeadingNumber) {
  const struct {
    const char* text;
    double value;
  } cases[] = {
      {"", 0},        {"0", 0},      {"12", 12},   {" 12 min", 12}, {"1 2", 12},    {"\t\n7", 7},
      {"-3", -3},     {"- 3", -3},   {"+4", 4},    {"4.5", 4.5},    {".5x", 0.5},   {"1.2.3", 1.2},
      {"abc", 0},     {"--3", 0},    {"1,000", 1}, {"1e3", 1000},   {"2D2", 200},   {"1e", 1},
      {"1e-2", 0.01}, {"&H10", 16},  {"&h1f", 31}, {"&O17", 15},    {"&HFFFF", -1}, {"&H10000", 65536},
      {"&HG", 0},     {"1e-999", 0}, {"\r5", 0},
  };
  for (const auto& c : cases) EXPECT_DOUBLE_EQ(NumericValue(c.text), c.value) << '"' << c.text << '"';

  const std::string huge(400, '9');
  EXPECT_EQ(NumericValue(huge), std::numeric_limits<double>::max());
  EXPECT_EQ(NumericValue("-" + huge), -std::numeric_limits<double>::max());
  EXPECT_EQ(NumericValue("1e99999999999999999999"), std::numeric_limits<double>::max());
  EXPECT_EQ(NumericInt("99999999999999999999"), std::numeric_limits<long long>::max());
  EXPECT_EQ(NumericInt("-" + huge), std::numeric_limits<long long>::min());
  EXPECT_EQ(NumericInt("-7.9 min"), -7);
  EXPECT_EQ(NumericInt("12"), 12);
}

TEST(AnsiText, Utf8RoundTripKeepsEveryByte) {
  std::string all;
  for (unsigned b = 0; b < 256; ++b) all += static_cast<char>(b);
  EXPECT_EQ(FromUtf8(ToUtf8(all)), all);
  // The bytes the code page leaves undefined travel as the control characters of their number.
  EXPECT_EQ(ToUtf8(Bytes({0x81, 0x9D})), "\u0081\u009D");
  EXPECT_EQ(ToUtf8("€›ÿ"_ansi), "€›ÿ");
}

TEST(AnsiText, FromUtf8MarksWhatCannotBeRead) {
  const struct {
    std::string utf8;
    std::string ansi;
  } cases[] = {
      {"a中b", "a?b"},               // no Windows-1252 character
      {"\u0080", "?"},               // a C1 control the code page has no byte for
      {"\xC0\xAF", "??"},            // overlong
      {"\xED\xA0\x80", "???"},       // a surrogate
      {"\xE2\x82", "?"},             // cut short at the end
      {"\xE2\x82x", "?x"},           // cut short before an ASCII byte, which is kept
      {"\x80\xFF", "??"},            // bytes that start nothing
      {"\xF4\x90\x80\x80", "????"},  // above U+10FFFF
  };
  for (const auto& c : cases) EXPECT_EQ(FromUtf8(c.utf8), c.ansi);
}

TEST(TextOps, RemoveSpacesAndDigitsOnly) {
  EXPECT_EQ(RemoveSpaces(" private  room 5 "), "privateroom5");
  EXPECT_EQ(RemoveSpaces("tab\tkept"), "tab\tkept");
  EXPECT_EQ(DigitsOnly("1a2"), "12");
  EXPECT_EQ(DigitsOnly("7 minutes"), "7");
  EXPECT_EQ(DigitsOnly("²³ none"), "");
}

TEST(TextOps, ReplaceTextReplacesEveryMatchOnce) {
  const struct {
    std::string text, find, replacement, result;
  } cases[] = {
      {"idle 7 minutes", "minutes", "", "idle 7 "},
      {"Minutes MINUTES minutes", "minutes", "", "  "},
      {"MinutesMINUTES", "minutes", "m", "mm"},  // a match right after the previous one
      {"a b", "b", "bb", "a bb"},                // the replacement is not searched again
      {"b b", "B", "xbx", "xbx xbx"},
      {"aaa", "aa", "b", "ba"},  // matches do not overlap
      {"aabb", "ab", "", "ab"},  // a match formed by removing one stays
      {std::string("ÀB àb"_ansi), std::string("àb"_ansi), "x", "x x"},
      {"keeps Case", "zz", "y", "keeps Case"},
      {"text", "", "x", "text"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ReplaceText(c.text, c.find, c.replacement), c.result) << c.text << " / " << c.find;
  }
}

TEST(TextOps, TrimDropsOnlyTheNamedCharactersAtTheEnds) {
  const struct {
    std::string text, blanks, left, right, both;
  } cases[] = {
      {"  a b\t", " \t", "a b\t", "  a b", "a b"},
      {"\r\n x \r\n", " \t", "\r\n x \r\n", "\r\n x \r\n", "\r\n x \r\n"},  // line breaks are no blanks
      {"\r\n x \r\n", " \t\r\n", "x \r\n", "\r\n x", "x"},
      {"\t x\t", " ", "\t x\t", "\t x\t", "\t x\t"},
      {" \t ", " \t", "", "", ""},
      {"", " \t", "", "", ""},
      {"inner  blanks", " \t", "inner  blanks", "inner  blanks", "inner  blanks"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(TrimLeft(c.text, c.blanks), c.left);
    EXPECT_EQ(TrimRight(c.text, c.blanks), c.right);
    EXPECT_EQ(Trim(c.text, c.blanks), c.both);
  }
  EXPECT_EQ(Trim(" \tdefault\t "), "default");
}

TEST(TextOps, SplitLinesAtTheChosenBreaks) {
  using Lines = std::vector<std::string_view>;
  constexpr auto kAny = LineBreak::kAny;
  constexpr auto kLf = LineBreak::kLf;
  constexpr auto kCrLf = LineBreak::kCrLf;
  constexpr auto kEnds = FinalBreak::kEndsLine;
  constexpr auto kStarts = FinalBreak::kStartsLine;
  const struct {
    std::string_view text;
    LineBreak breaks;
    FinalBreak final;
    Lines lines;
  } cases[] = {
      {"", kAny, kEnds, {}},
      {"", kAny, kStarts, {""}},
      {"a\r\nb", kAny, kEnds, {"a", "b"}},
      {"a\r\nb\r\n", kAny, kEnds, {"a", "b"}},
      {"a\r\nb\r\n", kAny, kStarts, {"a", "b", ""}},
      {"\r\n", kAny, kEnds, {""}},
      {"a\r\n\r\nb", kAny, kEnds, {"a", "", "b"}},
      {"a\rb\nc\r\nd", kAny, kEnds, {"a", "b", "c", "d"}},
      {"\n\r", kAny, kEnds, {"", ""}},  // LF then CR: two breaks, not one
      {"\n\r", kAny, kStarts, {"", "", ""}},
      {"a\r\nb\rc\nd\r", kLf, kEnds, {"a", "b\rc", "d"}},
      {"a\r\r\nb\n\n", kLf, kEnds, {"a\r", "b", ""}},
      {"a\n", kLf, kStarts, {"a", ""}},
      {"a\rb\nc\r\nd", kCrLf, kEnds, {"a\rb\nc", "d"}},
      {"a\r\n", kCrLf, kStarts, {"a", ""}},
      {"a\r\r\n\n", kCrLf, kEnds, {"a\r", "\n"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::PrintToString(std::string(c.text)) + " breaks " +
                 std::to_string(static_cast<int>(c.breaks)) + " final " +
                 std::to_string(static_cast<int>(c.final)));
    EXPECT_EQ(SplitLines(c.text, c.breaks, c.final), c.lines);
  }
}

TEST(TextOps, LineReaderTellsALineStillBeingWrittenAndWhereTheEndedOnesStop) {
  // Command lines as another process appends them: the last one has no LF yet.
  const std::string_view text = "1 a\r\n2 b\n3 c";
  LineReader reader(text, LineBreak::kLf);
  const struct {
    std::string_view line;
    bool ended;
    std::size_t consumed;
  } expected[] = {{"1 a", true, 5}, {"2 b", true, 9}, {"3 c", false, 12}};
  for (const auto& e : expected) {
    const std::optional<std::string_view> line = reader.next();
    ASSERT_TRUE(line.has_value()) << e.line;
    EXPECT_EQ(*line, e.line);
    EXPECT_EQ(reader.lineEnded(), e.ended) << e.line;
    EXPECT_EQ(reader.consumed(), e.consumed) << e.line;
  }
  EXPECT_FALSE(reader.next().has_value());
  EXPECT_FALSE(reader.next().has_value());
}

TEST(TextOps, LineBreaksToBlanksKeepsAValueOnOneLine) {
  EXPECT_EQ(LineBreaksToBlanks("away\r\n[vantari]\ntrig=evil\rend"), "away [vantari] trig=evil end");
  EXPECT_EQ(LineBreaksToBlanks("a\r\n"), "a ");
  EXPECT_EQ(LineBreaksToBlanks("\n\r"), "  ");
  EXPECT_EQ(LineBreaksToBlanks("plain\ttab"), "plain\ttab");
  EXPECT_EQ(LineBreaksToBlanks(""), "");
}

}  // namespace
}  // namespace vantary::text
