// Windows-1252 ("ANSI") texts: compile-time literals, case over the code page's letters,
// conversion to and from UTF-8, and the numeric value of a text as captions are read.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace vantary::text {

// Text inside the program is a Windows-1252 byte string: one character is one byte, so
// lengths and positions are byte counts.
using Text = std::string;

namespace detail {

// The Windows-1252 byte of a Unicode code point, or -1 when the code page has none.
constexpr int AnsiByteOf(std::uint32_t cp) {
  if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) return static_cast<int>(cp);
  constexpr std::uint16_t kHigh[32] = {0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                       0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
                                       0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                       0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};
  for (int i = 0; i < 32; ++i) {
    if (kHigh[i] != 0 && kHigh[i] == cp) return 0x80 + i;
  }
  return -1;
}

template <std::size_t N>
struct Utf8Literal {
  char chars[N]{};
  consteval Utf8Literal(const char (&s)[N]) {  // NOLINT: implicit by design
    for (std::size_t i = 0; i < N; ++i) chars[i] = s[i];
  }
};

// Converts a UTF-8 literal; a character outside Windows-1252 or broken UTF-8 stops the
// compilation (a consteval function cannot throw at run time).
template <std::size_t N>
consteval std::pair<std::array<char, N>, std::size_t> ConvertUtf8(const char (&in)[N]) {
  std::array<char, N> out{};
  std::size_t o = 0;
  for (std::size_t i = 0; i + 1 < N;) {
    const auto b = static_cast<unsigned char>(in[i]);
    std::uint32_t cp = 0;
    std::size_t len = 0;
    if (b < 0x80) {
      cp = b;
      len = 1;
    } else if ((b & 0xE0) == 0xC0) {
      cp = b & 0x1Fu;
      len = 2;
    } else if ((b & 0xF0) == 0xE0) {
      cp = b & 0x0Fu;
      len = 3;
    } else {
      throw "not a Windows-1252 character";
    }
    for (std::size_t k = 1; k < len; ++k) {
      const auto c = static_cast<unsigned char>(in[i + k]);
      if ((c & 0xC0) != 0x80) throw "broken UTF-8";
      cp = (cp << 6) | (c & 0x3Fu);
    }
    const int ansi = AnsiByteOf(cp);
    if (ansi < 0) throw "not a Windows-1252 character";
    out[o++] = static_cast<char>(static_cast<unsigned char>(ansi));
    i += len;
  }
  return {out, o};
}

template <Utf8Literal S>
struct AnsiStorage {
  static constexpr auto converted = ConvertUtf8(S.chars);
};

}  // namespace detail

// "vantarý³"_ansi: the literal's bytes in Windows-1252, converted at compile time.
#if defined(__clang__) && __clang_major__ < 16
// Clang before 16 crashes when it prints this literal in a note of a failed constant
// evaluation (as it does for a const std::string made from one): it reads a class-type
// template argument as a pack of characters. It is given the literal as that pack.
#pragma clang diagnostic push
#pragma clang diagnostic ignored "-Wgnu-string-literal-operator-template"
template <typename C, C... Chars>
constexpr std::string_view operator""_ansi() {
  constexpr char chars[] = {Chars..., '\0'};
  return std::string_view(detail::AnsiStorage<chars>::converted.first.data(),
                          detail::AnsiStorage<chars>::converted.second);
}
#pragma clang diagnostic pop
#else
template <detail::Utf8Literal S>
constexpr std::string_view operator""_ansi() {
  return std::string_view(detail::AnsiStorage<S>::converted.first.data(),
                          detail::AnsiStorage<S>::converted.second);
}
#endif

// Case over Windows-1252: A-Z and the accented capitals (Š Œ Ž Ÿ À-Þ but × ) map to
// their small letters, as the system's lower-casing of the ANSI code page does.
char ToLowerChar(char c);
char ToUpperChar(char c);
Text ToLower(std::string_view s);
Text ToUpper(std::string_view s);
bool EqualsNoCase(std::string_view a, std::string_view b);
// Position of `find` in `s` at or after `from`, without regard to case; npos when absent.
std::size_t FindNoCase(std::string_view s, std::string_view find, std::size_t from = 0);
bool ContainsNoCase(std::string_view s, std::string_view find);
bool StartsWith(std::string_view s, std::string_view prefix);
bool Contains(std::string_view s, std::string_view find);

// The numeric value of a text as captions are read: the leading number, after leading
// blanks ("12 min" is 12, "" and "abc" are 0, "-3" is -3, "4.5" is 4.5). Blanks inside
// the digits are skipped as the system's reader does ("1 2" is 12).
double NumericValue(std::string_view s);
// The same, as a whole number cut toward zero and held within the range of long long.
long long NumericInt(std::string_view s);

// Windows-1252 to UTF-8, for printing; and back, for texts from outside (unmappable
// characters become '?').
std::string ToUtf8(std::string_view ansi);
Text FromUtf8(std::string_view utf8);

}  // namespace vantary::text
