// List files: one entry per line on writing, read back as comma-separated fields.
#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "text/ansi.h"

namespace vantary::settings {

using text::Text;

// The entries of a list file, read field by field as the system's sequential reader does:
// commas and line ends (CR LF, LF or CR) end a field; blanks and tabs before a field are
// skipped and those after an unquoted field dropped; a field that begins with a double
// quote runs to the next double quote (it may hold commas and line ends) and is stored
// without the quotes, and what follows the closing quote up to the next comma or line end
// begins a new field. Line ends before a field are skipped, so an empty line or one of
// blanks gives no entry; an empty field between two commas gives an empty entry, a comma
// at the end of a line none. So a bare line "brb, food" gives "brb" and "food".
std::vector<Text> ReadListFile(std::string_view contents);

// The file for these entries, one per line, each line ended by CR LF. An entry that the
// reader would give back as it is goes bare, so a plain entry stands in the file as typed. One
// that it would split or trim (a comma, blanks or a tab at either end, a double quote at
// the start, an empty entry) goes inside double quotes, which bring it back whole. A
// double quote cannot stand inside a quoted field: in such an entry each one becomes a
// single quote ('), the closest the format can hold. A line break inside an entry
// becomes a blank, so each entry stays on its own line.
std::string WriteListFile(std::span<const Text> entries);

// What ReadListFile gives back for an entry written by WriteListFile.
Text ListEntryAsStored(std::string_view entry);

}  // namespace vantary::settings
