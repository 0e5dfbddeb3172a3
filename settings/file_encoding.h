// The encodings a settings file may come in, read as Windows-1252 text and written back in
// the encoding it came in.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "text/ansi.h"

namespace vantary::settings {

// The system's profile reader takes ANSI files and UTF-16 ones that begin with a
// byte-order mark; editors also leave UTF-8 with a mark, which is taken the same way.
// Without a mark a file is ANSI.
enum class FileEncoding { kAnsi, kUtf8, kUtf16Le, kUtf16Be };

// A settings file as read: its text in Windows-1252 (a character outside the code page is
// '?', the mark is gone) and, for the Unicode encodings, every line as it stood in UTF-8,
// so a rewrite keeps the characters of the lines it did not change.
struct DecodedFile {
  FileEncoding encoding = FileEncoding::kAnsi;
  text::Text text;
  std::vector<std::string> unicodeLines;
};

DecodedFile DecodeSettingsFile(std::string_view bytes);

// The bytes of a file whose text is now `text` (a rewrite of `read.text` with CR LF
// lines), in the encoding `read` came in, with its mark. The lines before and after the
// changed ones keep their characters from the file as read.
std::string EncodeSettingsFile(const DecodedFile& read, std::string_view text);

}  // namespace vantary::settings
