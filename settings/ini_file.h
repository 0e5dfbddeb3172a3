// An INI document as the system's private-profile functions read and write it: "[section]"
// headers and "key=value" lines, names matched without regard to case, CR LF lines.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "text/ansi.h"

namespace vantary::settings {

using text::Text;

// The document keeps every line as it was read, so a rewrite changes only the line of the
// key that was set: comments, blank lines and lines it does not understand stay verbatim.
//
// Reading follows the system's reader: a line's surrounding white space is ignored, the
// name of a key ends at the first '=', blanks around the name and the value are dropped,
// and a value wrapped in a pair of double or single quotes comes back without them. Only
// the first section of a name is searched, and in it the first key of a name wins. Lines
// before the first section header belong to no section and are never found. CR LF, LF and
// a lone CR all end a line; a rewrite ends every line with CR LF.
class IniFile {
 public:
  static IniFile Parse(std::string_view contents);

  // The value of `key` in `section`, unquoted; nullopt when the section or key is
  // missing (or either name is empty). A key line without '=' reads as "".
  std::optional<Text> get(std::string_view section, std::string_view key) const;
  // The same, straight from a file's contents without keeping a document.
  static std::optional<Text> Find(std::string_view contents, std::string_view section, std::string_view key);

  // Sets `key` in `section`. An existing key keeps its line and its spelling; a new key
  // goes after the last line of its section, a new section at the end of the file after a
  // blank line. The value is stored so that get() gives it back: a line break in it
  // becomes one blank (a value never adds a line to the file), and a value with white
  // space at either end, or one that is itself wrapped in matching quotes, is written
  // inside double quotes, which the reader removes. Names and the value end at a NUL, as
  // the system's calls see them. False, and nothing changed, when a name is empty or could
  // not stand on its line (a line break, a key with '=' or beginning with '[' or ';').
  bool set(std::string_view section, std::string_view key, std::string_view value);

  // The names of every key line inside a named section, as (section, key) in file order;
  // for checking a document against its rewrite.
  std::vector<std::pair<Text, Text>> keys() const;

  std::string serialize() const;
  bool empty() const { return lines_.empty(); }

  // What get() gives back for a value passed to set().
  static Text StoredForm(std::string_view value);

 private:
  std::vector<Text> lines_;
};

}  // namespace vantary::settings
