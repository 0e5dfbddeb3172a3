// List files: one entry per line on writing, read back as comma-separated fields.
#include "settings/list_file.h"

namespace vantary::settings {

namespace {

bool IsFieldBlank(char c) { return c == ' ' || c == '\t'; }
bool IsLineEnd(char c) { return c == '\r' || c == '\n'; }

Text WithoutLineBreaks(std::string_view entry) {
  Text out;
  out.reserve(entry.size());
  for (std::size_t i = 0; i < entry.size(); ++i) {
    const char c = entry[i];
    if (IsLineEnd(c)) {
      out += ' ';
      if (c == '\r' && i + 1 < entry.size() && entry[i + 1] == '\n') ++i;
    } else {
      out += c;
    }
  }
  return out;
}

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
    std::size_t last = end;
    while (last > i && IsFieldBlank(contents[last - 1])) --last;
    entries.emplace_back(contents.substr(i, last - i));
    i = end;
    if (i < n && contents[i] == ',') ++i;
  }
  return entries;
}

Text ListEntryAsStored(std::string_view entry) {
  Text flat = WithoutLineBreaks(entry);
  if (ReadsBackBare(flat)) return flat;
  for (char& c : flat) {
    if (c == '"') c = '\'';
  }
  return flat;
}

std::string WriteListFile(std::span<const Text> entries) {
  std::string out;
  for (const Text& entry : entries) {
    const Text flat = WithoutLineBreaks(entry);
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
