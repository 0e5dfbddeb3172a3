// An INI document as the system's private-profile functions read and write it.
#include "settings/ini_file.h"

#include <initializer_list>

#include "text/text_ops.h"

namespace vantary::settings {

namespace {

// White space the system's reader drops around lines, names and values; ^Z is the old
// end-of-file mark some editors leave behind.
constexpr std::string_view kIniSpace = " \t\r\n\v\f\x1A";

bool IsIniSpace(char c) { return kIniSpace.find(c) != std::string_view::npos; }
std::string_view Trim(std::string_view s) { return text::Trim(s, kIniSpace); }
std::string_view TrimRight(std::string_view s) { return text::TrimRight(s, kIniSpace); }

// A text handed to the system's calls ends at its first NUL.
std::string_view UpToNul(std::string_view s) { return s.substr(0, s.find('\0')); }

// Calls f(line) for every line until f returns true. CR LF, LF and a lone CR end a line,
// and a last line without an ending counts when it is not empty.
template <class F>
void ForEachLine(std::string_view contents, F&& f) {
  text::LineReader lines(contents, text::LineBreak::kAny, text::FinalBreak::kEndsLine);
  while (const std::optional<std::string_view> line = lines.next()) {
    if (f(*line)) return;
  }
}

enum class LineKind { kBlank, kComment, kSection, kKey, kOther };

struct LineView {
  LineKind kind = LineKind::kOther;
  std::string_view name;   // section or key name, without the blanks around it
  std::string_view value;  // after '=', without the blanks around it, still quoted
  bool hasValue = false;   // the line has '='
};

LineView Classify(std::string_view raw) {
  const std::string_view line = Trim(raw);
  LineView v;
  if (line.empty()) {
    v.kind = LineKind::kBlank;
    return v;
  }
  if (line.front() == ';') {
    v.kind = LineKind::kComment;
    return v;
  }
  if (line.front() == '[') {
    const std::size_t close = line.rfind(']');
    if (close != std::string_view::npos) {
      v.kind = LineKind::kSection;
      v.name = Trim(line.substr(1, close - 1));
      return v;
    }
  }
  v.kind = LineKind::kKey;
  const std::size_t eq = line.find('=');
  if (eq == std::string_view::npos) {
    v.name = line;
  } else {
    v.name = TrimRight(line.substr(0, eq));
    v.value = Trim(line.substr(eq + 1));
    v.hasValue = true;
  }
  return v;
}

bool IsQuotePair(std::string_view v) {
  return v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front();
}

Text Unquote(std::string_view v) {
  if (IsQuotePair(v)) v = v.substr(1, v.size() - 2);
  return Text(v);
}

// Looks a key up line by line: only the first section of the name is searched.
class Lookup {
 public:
  Lookup(std::string_view section, std::string_view key) : section_(Trim(section)), key_(Trim(key)) {}

  bool valid() const { return !section_.empty() && !key_.empty(); }

  // True when the search is over.
  bool feed(std::string_view raw) {
    const LineView line = Classify(raw);
    if (line.kind == LineKind::kSection) {
      if (inSection_) return true;
      inSection_ = text::EqualsNoCase(line.name, section_);
      return false;
    }
    if (inSection_ && line.kind == LineKind::kKey && text::EqualsNoCase(line.name, key_)) {
      result_ = Unquote(line.value);
      return true;
    }
    return false;
  }

  std::optional<Text>& result() { return result_; }

 private:
  std::string_view section_;
  std::string_view key_;
  bool inSection_ = false;
  std::optional<Text> result_;
};

Text Joined(std::initializer_list<std::string_view> parts) {
  std::size_t size = 0;
  for (std::string_view part : parts) size += part.size();
  Text out;
  out.reserve(size);
  for (std::string_view part : parts) out.append(part);
  return out;
}

bool HasLineBreak(std::string_view s) { return s.find_first_of("\r\n") != std::string_view::npos; }

}  // namespace

IniFile IniFile::Parse(std::string_view contents) {
  IniFile file;
  ForEachLine(contents, [&file](std::string_view line) {
    file.lines_.emplace_back(line);
    return false;
  });
  return file;
}

std::optional<Text> IniFile::get(std::string_view section, std::string_view key) const {
  Lookup lookup(section, key);
  if (!lookup.valid()) return std::nullopt;
  for (const Text& line : lines_) {
    if (lookup.feed(line)) break;
  }
  return std::move(lookup.result());
}

std::optional<Text> IniFile::Find(std::string_view contents, std::string_view section, std::string_view key) {
  Lookup lookup(section, key);
  if (!lookup.valid()) return std::nullopt;
  ForEachLine(contents, [&lookup](std::string_view line) { return lookup.feed(line); });
  return std::move(lookup.result());
}

Text IniFile::StoredForm(std::string_view value) { return text::LineBreaksToBlanks(UpToNul(value)); }

bool IniFile::set(std::string_view section, std::string_view key, std::string_view value) {
  section = Trim(UpToNul(section));
  key = Trim(UpToNul(key));
  if (section.empty() || key.empty() || HasLineBreak(section) || HasLineBreak(key)) return false;
  if (key.find('=') != std::string_view::npos || key.front() == '[' || key.front() == ';') return false;

  Text stored = StoredForm(value);
  // The writer drops blanks before a value and the reader those around it, and both strip
  // a pair of quotes: such a value goes inside one more pair of quotes to come back whole.
  if (!stored.empty() && (IsIniSpace(stored.front()) || IsIniSpace(stored.back()) || IsQuotePair(stored))) {
    stored = Joined({"\"", stored, "\""});
  }

  // The first section of the name, and the line after its last non-blank line.
  std::size_t header = lines_.size();
  for (std::size_t i = 0; i < lines_.size(); ++i) {
    const LineView line = Classify(lines_[i]);
    if (line.kind == LineKind::kSection && text::EqualsNoCase(line.name, section)) {
      header = i;
      break;
    }
  }
  if (header == lines_.size()) {
    if (!lines_.empty() && Classify(lines_.back()).kind != LineKind::kBlank) lines_.emplace_back();
    lines_.push_back(Joined({"[", section, "]"}));
    lines_.push_back(Joined({key, "=", stored}));
    return true;
  }
  std::size_t insertAt = header + 1;
  for (std::size_t i = header + 1; i < lines_.size(); ++i) {
    const LineView line = Classify(lines_[i]);
    if (line.kind == LineKind::kSection) break;
    if (line.kind == LineKind::kKey && text::EqualsNoCase(line.name, key)) {
      lines_[i] = Joined({line.name, "=", stored});
      return true;
    }
    if (line.kind != LineKind::kBlank) insertAt = i + 1;
  }
  lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(insertAt), Joined({key, "=", stored}));
  return true;
}

std::vector<std::pair<Text, Text>> IniFile::keys() const {
  std::vector<std::pair<Text, Text>> out;
  std::optional<Text> section;
  for (const Text& raw : lines_) {
    const LineView line = Classify(raw);
    if (line.kind == LineKind::kSection) {
      section = Text(line.name);
    } else if (line.kind == LineKind::kKey && section && !section->empty() && !line.name.empty()) {
      out.emplace_back(*section, Text(line.name));
    }
  }
  return out;
}

std::string IniFile::serialize() const {
  std::size_t size = 0;
  for (const Text& line : lines_) size += line.size() + 2;
  std::string out;
  out.reserve(size);
  for (const Text& line : lines_) {
    out += line;
    out += "\r\n";
  }
  return out;
}

}  // namespace vantary::settings
