// List files: one entry per line on writing, read back as comma-separated fields.
#include "settings/list_file.h"

#include "text/text_ops.h"

namespace vantary::settings {

namespace {

// Blanks and TABs around a field.
bool IsFieldBlank(char c) { return text::kBlanks.find(c) != std::string_view::npos; }
bool IsLineEnd(char c) { return c == '\r' || c == '\n'; }

bool ReadsBackBare(std::string_view entry) {
  if (entry.empty()) return false;
  if (IsFieldBlank(entry.front()) || IsFieldBlank(entry.back()) || entry.front() == '"') return false;
  return entry.find(',') == std::string_view::npos;
}

}  // namespace

std::vector<Text> ReadListFile(std::string_view contents) {
  std::vector<Text> entries;
  std::size_t i = 0;
  const std::size_t n = contents.size();
  while (true) {
    while (i < n && (IsFieldBlank(contents[i]) || IsLineEnd(contents[i]))) ++i;
    if (i >= n) break;
    if (contents[i] == '"') {
      const std::size_t close = contents.find('"', i + 1);
      const std::size_t end = close == std::string_view::npos ? n : close;
      entries.emplace_back(contents.substr(i + 1, end - i - 1));
      i = close == std::string_view::npos ? n : close + 1;
      while (i < n && IsFieldBlank(contents[i])) ++i;
      if (i < n && contents[i] == ',') ++i;
      continue;
    }
    std::size_t end = i;
    while (end < n && contents[end] != ',' && !IsLineEnd(contents[end])) ++end;
    entries.emplace_back(text::TrimRight(contents.substr(i, end - i), text::kBlanks));
    i = end;
    if (i < n && contents[i] == ',') ++i;
  }
  return entries;
}

Text ListEntryAsStored(std::string_view entry) {
  Text flat = text::LineBreaksToBlanks(entry);
  if (ReadsBackBare(flat)) return flat;
  for (char& c : flat) {
    if (c == '"') c = '\'';
  }
  return flat;
}

std::string WriteListFile(std::span<const Text> entries) {
  std::string out;
  for (const Text& entry : entries) {
    const Text flat = text::LineBreaksToBlanks(entry);
    if (ReadsBackBare(flat)) {
      out += flat;
    } else {
      out += '"';
      out += ListEntryAsStored(flat);
      out += '"';
    }
    out += "\r\n";
  }
  return out;
}

}  // namespace vantary::settings
