// Windows-1252 case, search, conversion to and from UTF-8, and the numeric value of a text.
#include "text/ansi.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <system_error>

namespace vantary::text {

namespace {

constexpr unsigned char Byte(char c) { return static_cast<unsigned char>(c); }
constexpr char Char(unsigned b) { return static_cast<char>(static_cast<unsigned char>(b)); }

// The small letter of every byte, built once: A-Z, the four capitals of the 0x80 row
// (Š Œ Ž Ÿ) and À-Þ without the multiplication sign ×.
struct CaseTables {
  unsigned char lower[256];
  unsigned char upper[256];
};

constexpr CaseTables MakeCaseTables() {
  CaseTables t{};
  for (unsigned i = 0; i < 256; ++i) {
    t.lower[i] = static_cast<unsigned char>(i);
    t.upper[i] = static_cast<unsigned char>(i);
  }
  auto pair = [&t](unsigned capital, unsigned small) {
    t.lower[capital] = static_cast<unsigned char>(small);
    t.upper[small] = static_cast<unsigned char>(capital);
  };
  for (unsigned c = 'A'; c <= 'Z'; ++c) pair(c, c + 32);
  pair(0x8A, 0x9A);  // Š š
  pair(0x8C, 0x9C);  // Œ œ
  pair(0x8E, 0x9E);  // Ž ž
  pair(0x9F, 0xFF);  // Ÿ ÿ
  for (unsigned c = 0xC0; c <= 0xDE; ++c) {
    if (c != 0xD7) pair(c, c + 32);  // × and ÷ are not letters
  }
  return t;
}

constexpr CaseTables kCase = MakeCaseTables();

// Unicode code point of each byte. The five bytes the code page leaves undefined (0x81,
// 0x8D, 0x8F, 0x90, 0x9D) stand for the control characters of the same number, as the
// system's conversion maps them, so every byte survives a trip through UTF-8.
constexpr std::uint16_t kHighRow[32] = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                        0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                                        0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                        0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

constexpr std::uint32_t CodePointOf(unsigned char b) {
  if (b >= 0x80 && b < 0xA0) return kHighRow[b - 0x80];
  return b;
}

int ByteOfCodePoint(std::uint32_t cp) {
  if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) return static_cast<int>(cp);
  for (int i = 0; i < 32; ++i) {
    if (kHighRow[i] == cp) return 0x80 + i;
  }
  return -1;
}

void AppendUtf8(std::string& out, std::uint32_t cp) {
  if (cp < 0x80) {
    out += Char(cp);
  } else if (cp < 0x800) {
    out += Char(0xC0 | (cp >> 6));
    out += Char(0x80 | (cp & 0x3F));
  } else {
    out += Char(0xE0 | (cp >> 12));
    out += Char(0x80 | ((cp >> 6) & 0x3F));
    out += Char(0x80 | (cp & 0x3F));
  }
}

}  // namespace

char ToLowerChar(char c) { return static_cast<char>(kCase.lower[Byte(c)]); }
char ToUpperChar(char c) { return static_cast<char>(kCase.upper[Byte(c)]); }

Text ToLower(std::string_view s) {
  Text out(s);
  for (char& c : out) c = ToLowerChar(c);
  return out;
}

Text ToUpper(std::string_view s) {
  Text out(s);
  for (char& c : out) c = ToUpperChar(c);
  return out;
}

bool EqualsNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (kCase.lower[Byte(a[i])] != kCase.lower[Byte(b[i])]) return false;
  }
  return true;
}

std::size_t FindNoCase(std::string_view s, std::string_view find, std::size_t from) {
  if (from > s.size() || find.size() > s.size() - from) return std::string_view::npos;
  if (find.empty()) return from;
  const unsigned char first = kCase.lower[Byte(find[0])];
  const std::size_t last = s.size() - find.size();
  for (std::size_t i = from; i <= last; ++i) {
    if (kCase.lower[Byte(s[i])] != first) continue;
    std::size_t k = 1;
    while (k < find.size() && kCase.lower[Byte(s[i + k])] == kCase.lower[Byte(find[k])]) ++k;
    if (k == find.size()) return i;
  }
  return std::string_view::npos;
}

bool ContainsNoCase(std::string_view s, std::string_view find) {
  return FindNoCase(s, find) != std::string_view::npos;
}

bool StartsWith(std::string_view s, std::string_view prefix) { return s.starts_with(prefix); }

bool Contains(std::string_view s, std::string_view find) { return s.find(find) != std::string_view::npos; }

// ---- numeric value -----------------------------------------------------------------------

namespace {

// Blanks, tabs and line feeds are dropped anywhere in the text before it is read, so
// "1 2" is 12 and "- 3" is -3.
bool IsSkippedInNumber(char c) { return c == ' ' || c == '\t' || c == '\n'; }

constexpr double kMaxDouble = std::numeric_limits<double>::max();

// "&H1F", "&O17": the radix forms. Values that fit 16 bits are read as a 16-bit signed
// number and those that fit 32 bits as a 32-bit one, so "&HFFFF" is -1 as the system's
// reader gives it; wider values keep their magnitude.
double RadixValue(std::string_view digits, unsigned radix) {
  std::uint64_t v = 0;
  bool saturated = false;
  double wide = 0;
  for (char c : digits) {
    unsigned d = 0;
    if (c >= '0' && c <= '9') {
      d = static_cast<unsigned>(c - '0');
    } else if (radix == 16 && ToLowerChar(c) >= 'a' && ToLowerChar(c) <= 'f') {
      d = static_cast<unsigned>(ToLowerChar(c) - 'a' + 10);
    } else {
      break;
    }
    if (d >= radix) break;
    wide = wide * radix + d;
    if (!saturated && v > (std::numeric_limits<std::uint64_t>::max() - d) / radix) saturated = true;
    if (!saturated) v = v * radix + d;
  }
  if (saturated) return std::isfinite(wide) ? wide : kMaxDouble;
  if (v <= 0xFFFF) return static_cast<double>(static_cast<std::int16_t>(static_cast<std::uint16_t>(v)));
  if (v <= 0xFFFFFFFF) return static_cast<double>(static_cast<std::int32_t>(static_cast<std::uint32_t>(v)));
  return static_cast<double>(v);
}

}  // namespace

double NumericValue(std::string_view s) {
  // Gather the characters that count, then read them as a decimal number.
  std::string clean;
  clean.reserve(s.size());
  for (char c : s) {
    if (!IsSkippedInNumber(c)) clean += c;
  }
  std::string_view t = clean;
  if (t.size() >= 2 && t[0] == '&') {
    const char kind = ToLowerChar(t[1]);
    if (kind == 'h') return RadixValue(t.substr(2), 16);
    if (kind == 'o') return RadixValue(t.substr(2), 8);
    return 0;
  }

  std::string number;  // sign, digits, '.', digits, 'e', sign, digits
  std::size_t i = 0;
  bool negative = false;
  if (i < t.size() && (t[i] == '+' || t[i] == '-')) {
    negative = t[i] == '-';
    ++i;
  }
  // The decimal exponent of the leading significant digit, to tell an overflow from an
  // underflow when the number cannot be held.
  long long magnitude = 0;
  bool significant = false;
  bool anyDigit = false;
  for (; i < t.size() && t[i] >= '0' && t[i] <= '9'; ++i) {
    number += t[i];
    anyDigit = true;
    if (t[i] != '0') significant = true;
    if (significant) ++magnitude;
  }
  if (i < t.size() && t[i] == '.') {
    number += '.';
    for (++i; i < t.size() && t[i] >= '0' && t[i] <= '9'; ++i) {
      number += t[i];
      anyDigit = true;
      if (!significant) {
        if (t[i] == '0') {
          --magnitude;
        } else {
          significant = true;
        }
      }
    }
  }
  if (!anyDigit || !significant) return 0;
  if (i < t.size() && (ToLowerChar(t[i]) == 'e' || ToLowerChar(t[i]) == 'd')) {
    std::size_t k = i + 1;
    bool expNegative = false;
    if (k < t.size() && (t[k] == '+' || t[k] == '-')) {
      expNegative = t[k] == '-';
      ++k;
    }
    if (k < t.size() && t[k] >= '0' && t[k] <= '9') {
      number += 'e';
      if (expNegative) number += '-';
      long long exponent = 0;
      for (; k < t.size() && t[k] >= '0' && t[k] <= '9'; ++k) {
        number += t[k];
        if (exponent < 1'000'000'000) exponent = exponent * 10 + (t[k] - '0');
      }
      magnitude += expNegative ? -exponent : exponent;
    }
  }

  double value = 0;
  const auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), value);
  (void)end;
  if (error == std::errc::result_out_of_range || !std::isfinite(value)) {
    value = magnitude > 0 ? kMaxDouble : 0.0;
  } else if (error != std::errc()) {
    value = 0;
  }
  return negative ? -value : value;
}

long long NumericInt(std::string_view s) {
  const double v = std::trunc(NumericValue(s));
  // 2^63 is exactly representable; every double below it converts without overflow.
  constexpr double kLimit = 9223372036854775808.0;
  if (v >= kLimit) return std::numeric_limits<long long>::max();
  if (v < -kLimit) return std::numeric_limits<long long>::min();
  return static_cast<long long>(v);
}

// ---- UTF-8 -------------------------------------------------------------------------------

std::string ToUtf8(std::string_view ansi) {
  std::string out;
  out.reserve(ansi.size() + ansi.size() / 2);
  for (char c : ansi) AppendUtf8(out, CodePointOf(Byte(c)));
  return out;
}

Text FromUtf8(std::string_view utf8) {
  Text out;
  out.reserve(utf8.size());
  std::size_t i = 0;
  while (i < utf8.size()) {
    const unsigned char b = Byte(utf8[i]);
    if (b < 0x80) {
      out += Char(b);
      ++i;
      continue;
    }
    // The sequence length and the range its second byte must fall in, which rules out
    // overlong forms, surrogates and values above U+10FFFF.
    std::size_t len = 0;
    unsigned char lo = 0x80;
    unsigned char hi = 0xBF;
    std::uint32_t cp = 0;
    if (b >= 0xC2 && b <= 0xDF) {
      len = 2;
      cp = b & 0x1Fu;
    } else if (b >= 0xE0 && b <= 0xEF) {
      len = 3;
      cp = b & 0x0Fu;
      if (b == 0xE0) lo = 0xA0;
      if (b == 0xED) hi = 0x9F;
    } else if (b >= 0xF0 && b <= 0xF4) {
      len = 4;
      cp = b & 0x07u;
      if (b == 0xF0) lo = 0x90;
      if (b == 0xF4) hi = 0x8F;
    } else {
      out += '?';  // a stray continuation byte or a byte that never starts a sequence
      ++i;
      continue;
    }
    std::size_t k = 1;
    for (; k < len && i + k < utf8.size(); ++k) {
      const unsigned char c = Byte(utf8[i + k]);
      const unsigned char min = k == 1 ? lo : 0x80;
      const unsigned char max = k == 1 ? hi : 0xBF;
      if (c < min || c > max) break;
      cp = (cp << 6) | (c & 0x3Fu);
    }
    i += k;
    if (k < len) {
      out += '?';  // a broken sequence counts once, and the byte that broke it is read anew
      continue;
    }
    const int ansi = ByteOfCodePoint(cp);
    out += ansi < 0 ? '?' : Char(static_cast<unsigned>(ansi));
  }
  return out;
}

}  // namespace vantary::text
