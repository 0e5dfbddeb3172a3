// Fuzz target for the settings files and the text operations: an INI document survives its
// own rewrite, list files read back what was saved, ReplaceText matches its step-by-step
// definition. Built with libFuzzer (clang) or with the standalone driver (standalone_main.cpp).
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz/fuzz_support.h"
#include "settings/ini_file.h"
#include "settings/list_file.h"
#include "text/ansi.h"
#include "text/text_ops.h"

namespace {

using vantary::fuzz::Require;
using vantary::settings::IniFile;
using vantary::text::Text;

std::size_t CountLines(const IniFile& file) {
  const std::string s = file.serialize();
  std::size_t n = 0;
  for (char c : s) n += c == '\n';
  return n;
}

void CheckIni(std::string_view input) {
  IniFile file = IniFile::Parse(input);
  const std::string once = file.serialize();
  const IniFile again = IniFile::Parse(once);
  Require(again.serialize() == once, "a rewrite of a rewrite changes nothing");
  const auto keys = file.keys();
  for (const auto& [section, key] : keys) {
    const auto value = file.get(section, key);
    Require(again.get(section, key) == value, "a rewrite keeps every value");
    Require(IniFile::Find(input, section, key) == value, "reading the text gives what the document holds");
  }

  // Set a key named by the input (an existing one when there is one) to a value cut from it.
  Text section = keys.empty() ? Text("vantari") : keys[input.size() % keys.size()].first;
  Text key = keys.empty() ? Text("KEY") : keys[input.size() % keys.size()].second;
  if (section.find('\0') != Text::npos || key.find('\0') != Text::npos) return;
  const std::string_view value = input.substr(input.size() / 2);
  const bool existed = file.get(section, key).has_value();
  const std::size_t linesBefore = CountLines(file);
  if (!file.set(section, key, value)) return;
  const IniFile written = IniFile::Parse(file.serialize());
  Require(written.get(section, key) == IniFile::StoredForm(value), "a value comes back as stored");
  const std::size_t linesAfter = CountLines(written);
  Require(existed ? linesAfter == linesBefore : linesAfter <= linesBefore + 3, "a value adds no line");
  for (const auto& [s, k] : keys) {
    if (vantary::text::EqualsNoCase(s, section) && vantary::text::EqualsNoCase(k, key)) continue;
    Require(written.get(s, k) == again.get(s, k), "other keys survive a write");
  }
}

void CheckListFile(std::string_view input) {
  const std::vector<Text> entries = vantary::settings::ReadListFile(input);
  const std::vector<Text> back = vantary::settings::ReadListFile(vantary::settings::WriteListFile(entries));
  Require(back.size() == entries.size(), "a saved list keeps its number of entries");
  for (std::size_t i = 0; i < entries.size(); ++i) {
    Require(back[i] == vantary::settings::ListEntryAsStored(entries[i]), "a saved entry comes back");
  }
}

// ReplaceText as it is defined: replace in place, search again after the replacement.
// Also gives the stretches of the result that came from the original text.
Text ReplaceStepByStep(std::string_view s, std::string_view find, std::string_view replacement,
                       std::vector<std::pair<std::size_t, std::size_t>>& kept) {
  Text t(s);
  std::size_t from = 0;
  std::size_t n = vantary::text::FindNoCase(t, find, 0);
  while (n != std::string_view::npos) {
    t = t.substr(0, n) + Text(replacement) + t.substr(n + find.size());
    kept.emplace_back(from, n);
    from = n + replacement.size();
    n = vantary::text::FindNoCase(t, find, from);
  }
  kept.emplace_back(from, t.size());
  return t;
}

void CheckReplaceText(std::string_view input) {
  if (input.size() < 2) return;
  const std::size_t findLength = static_cast<unsigned char>(input[0]) % 8;
  const std::size_t replacementLength = static_cast<unsigned char>(input[1]) % 8;
  std::string_view rest = input.substr(2);
  const std::string_view find = rest.substr(0, findLength);
  rest.remove_prefix(find.size());
  const std::string_view replacement = rest.substr(0, replacementLength);
  rest.remove_prefix(replacement.size());

  const Text result = vantary::text::ReplaceText(rest, find, replacement);
  if (find.empty()) {
    Require(result == rest, "an empty find changes nothing");
    return;
  }
  std::vector<std::pair<std::size_t, std::size_t>> kept;
  Require(result == ReplaceStepByStep(rest, find, replacement, kept), "ReplaceText follows its definition");
  for (const auto& [begin, end] : kept) {
    Require(!vantary::text::ContainsNoCase(std::string_view(result).substr(begin, end - begin), find),
            "no match is left in the text outside the replacements");
  }
}

void CheckTexts(std::string_view input) {
  Require(vantary::text::FromUtf8(vantary::text::ToUtf8(input)) == input, "every byte survives UTF-8");
  Require(vantary::text::EqualsNoCase(vantary::text::ToLower(input), vantary::text::ToUpper(input)),
          "case mapping is consistent");
  (void)vantary::text::FromUtf8(input);
  (void)vantary::text::NumericInt(input);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  CheckIni(input);
  CheckListFile(input);
  CheckReplaceText(input);
  CheckTexts(input);
  return 0;
}
