// Fuzz target for the custom lines' macros: a custom line and the eighteen values, cut from
// the input at zero bytes, expanded by the program and by a plain model of the macro table
// written here on its own; the two agree and what comes out is all small letters. The time
// of day "t$" shows is checked against the model too. Built with libFuzzer (clang) or with
// the standalone driver (standalone_main.cpp).
#include <array>
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "editors/custom_scroll.h"
#include "fuzz/fuzz_support.h"
#include "text/ansi.h"

namespace {

using vantary::fuzz::Require;
using vantary::text::Text;

// Windows-1252 small letters, byte by byte: A-Z, the accented capitals C0-DE but the
// multiplication sign D7, and S, OE, Z with caron and Y with diaeresis in the 80-9F block.
unsigned char ModelLower(unsigned char c) {
  if (c >= 'A' && c <= 'Z') return static_cast<unsigned char>(c + 32);
  if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return static_cast<unsigned char>(c + 32);
  switch (c) {
    case 0x8A:
      return 0x9A;
    case 0x8C:
      return 0x9C;
    case 0x8E:
      return 0x9E;
    case 0x9F:
      return 0xFF;
    default:
      return c;
  }
}

std::string ModelLower(const std::string& s) {
  std::string out;
  for (const char c : s) out.push_back(static_cast<char>(ModelLower(static_cast<unsigned char>(c))));
  return out;
}

bool MatchesAt(const std::string& s, std::size_t at, const std::string& find) {
  if (at + find.size() > s.size()) return false;
  for (std::size_t k = 0; k < find.size(); ++k) {
    if (ModelLower(static_cast<unsigned char>(s[at + k])) != ModelLower(static_cast<unsigned char>(find[k])))
      return false;
  }
  return true;
}

// Left to right: a match is replaced and the search goes on after it in the original text,
// so what was inserted is never searched for the same token.
std::string ModelReplace(const std::string& s, const std::string& find, const std::string& value) {
  std::string out;
  std::size_t i = 0;
  while (i < s.size()) {
    if (MatchesAt(s, i, find)) {
      out += value;
      i += find.size();
    } else {
      out.push_back(s[i++]);
    }
  }
  return out;
}

// The table: tokens in the order they are replaced, a lower-casing after the tenth.
const std::array<std::string, 18> kModelTokens = {"dlf$", "r$",    "a$",   "t$",    "dlpe$", "dlml$",
                                                  "c$",   "ulml$", "ulf$", "ulpe$", "as1$",  "as2$",
                                                  "as3$", "ie$",   "v$",   "m1$",   "h1$",   "d1$"};

std::string ModelExpand(const std::string& line, const std::array<std::string, 18>& values) {
  // The line, and each step, keep at most the expansion's bound.
  std::string s = line.substr(0, vantary::editors::kExpansionLimit);
  const auto step = [&](std::size_t i) {
    s = ModelReplace(s, kModelTokens[i], values[i]).substr(0, vantary::editors::kExpansionLimit);
  };
  for (std::size_t i = 0; i < 10; ++i) step(i);
  s = ModelLower(s);
  for (std::size_t i = 10; i < 18; ++i) step(i);
  return ModelLower(s);
}

std::string ModelTime(int hour, int minute, int second) {
  int h = hour % 12;
  if (h == 0) h = 12;
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%d:%02d:%02d %s", h, minute, second, hour >= 12 ? "pm" : "am");
  return buffer;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  // Field 0 is the line, fields 1 to 18 the values in the table's order; missing ones are "".
  std::vector<std::string> fields(1);
  for (const char c : input) {
    if (c == '\0') {
      fields.emplace_back();
    } else {
      fields.back().push_back(c);
    }
  }
  fields.resize(19);
  std::array<std::string, 18> values;
  for (std::size_t i = 0; i < 18; ++i) values[i] = fields[i + 1];

  // The program's table names its macros; the model's by position. They must be the same.
  Require(vantary::editors::kMacros.size() == kModelTokens.size(), "eighteen macros");
  for (std::size_t i = 0; i < kModelTokens.size(); ++i) {
    Require(vantary::editors::kMacros[i].token == kModelTokens[i], "the macros in the table's order");
    Require(static_cast<std::size_t>(vantary::editors::kMacros[i].macro) == i, "each macro at its step");
  }
  std::array<int, 18> asked{};
  const Text expanded = vantary::editors::ExpandCustomLine(fields[0], [&](vantary::editors::Macro m) {
    const auto i = static_cast<std::size_t>(m);
    ++asked[i];
    return Text(values[i]);
  });
  Require(expanded == ModelExpand(fields[0], values), "the expansion follows the macro table");
  Require(ModelLower(expanded) == expanded, "every character of the expansion is small");
  for (const int n : asked) Require(n <= 1, "a value is read at most once per line");

  if (size >= 3) {
    const vantary::platform::TimeOfDay t{data[0] % 24, data[1] % 60, data[2] % 60};
    Require(vantary::editors::TimeOfDayText(t) == ModelTime(t.hour, t.minute, t.second),
            "the time of day as the 12-hour clock shows it");
  }
  return 0;
}
