// The encodings a settings file may come in.
#include "settings/file_encoding.h"

#include "text/text_ops.h"

namespace vantary::settings {
namespace {

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16LeMark = "\xFF\xFE";
constexpr std::string_view kUtf16BeMark = "\xFE\xFF";
constexpr char32_t kReplacement = 0xFFFD;

std::string_view MarkOf(FileEncoding encoding) {
  switch (encoding) {
    case FileEncoding::kUtf8:
      return kUtf8Mark;
    case FileEncoding::kUtf16Le:
      return kUtf16LeMark;
    case FileEncoding::kUtf16Be:
      return kUtf16BeMark;
    case FileEncoding::kAnsi:
      break;
  }
  return {};
}

char Byte(std::uint32_t b) { return static_cast<char>(b & 0xFF); }

void AppendUtf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out += Byte(c);
  } else if (c < 0x800) {
    out += {Byte(0xC0 | (c >> 6)), Byte(0x80 | (c & 0x3F))};
  } else if (c < 0x10000) {
    out += {Byte(0xE0 | (c >> 12)), Byte(0x80 | ((c >> 6) & 0x3F)), Byte(0x80 | (c & 0x3F))};
  } else {
    out += {Byte(0xF0 | (c >> 18)), Byte(0x80 | ((c >> 12) & 0x3F)), Byte(0x80 | ((c >> 6) & 0x3F)),
            Byte(0x80 | (c & 0x3F))};
  }
}

void AppendUtf16(std::string& out, char16_t unit, bool bigEndian) {
  const char high = Byte(static_cast<std::uint32_t>(unit) >> 8);
  const char low = Byte(unit);
  out += bigEndian ? std::string{high, low} : std::string{low, high};
}

// UTF-16 units to UTF-8; a surrogate without its partner becomes U+FFFD, and an odd last
// byte is dropped.
std::string Utf16ToUtf8(std::string_view bytes, bool bigEndian) {
  const auto unitAt = [&](std::size_t i) -> char32_t {
    const auto first = static_cast<unsigned char>(bytes[i]);
    const auto second = static_cast<unsigned char>(bytes[i + 1]);
    return bigEndian ? (char32_t{first} << 8) | second : (char32_t{second} << 8) | first;
  };
  std::string out;
  out.reserve(bytes.size());
  for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
    char32_t c = unitAt(i);
    if (c >= 0xD800 && c < 0xDC00 && i + 3 < bytes.size() && unitAt(i + 2) >= 0xDC00 &&
        unitAt(i + 2) < 0xE000) {
      c = 0x10000 + ((c - 0xD800) << 10) + (unitAt(i + 2) - 0xDC00);
      i += 2;
    } else if (c >= 0xD800 && c < 0xE000) {
      c = kReplacement;
    }
    AppendUtf8(out, c);
  }
  return out;
}

// UTF-8 to UTF-16 units. The text is UTF-8 this file made, or a line of a marked UTF-8
// file, which only a damaged file has invalid: a byte that starts no valid sequence
// becomes U+FFFD.
std::string Utf8ToUtf16(std::string_view utf8, bool bigEndian) {
  std::string out;
  out.reserve(utf8.size() * 2);
  std::size_t i = 0;
  while (i < utf8.size()) {
    const auto lead = static_cast<unsigned char>(utf8[i]);
    const std::size_t length = lead < 0x80 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 0;
    char32_t c = kReplacement;
    bool valid = length != 0 && i + length <= utf8.size();
    if (valid) {
      c = length == 1 ? lead : lead & (0x7F >> length);
      for (std::size_t k = 1; k < length && valid; ++k) {
        const auto next = static_cast<unsigned char>(utf8[i + k]);
        valid = (next & 0xC0) == 0x80;
        c = (c << 6) | (next & 0x3F);
      }
      valid = valid && c <= 0x10FFFF;
    }
    if (!valid) {
      c = kReplacement;
      i += 1;
    } else {
      i += length;
    }
    if (c >= 0x10000) {
      AppendUtf16(out, static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10)), bigEndian);
      AppendUtf16(out, static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF)), bigEndian);
    } else {
      AppendUtf16(out, static_cast<char16_t>(c), bigEndian);
    }
  }
  return out;
}

// The lines as the INI reader divides them.
std::vector<std::string_view> Lines(std::string_view contents) {
  std::vector<std::string_view> lines;
  text::LineReader reader(contents, text::LineBreak::kAny, text::FinalBreak::kEndsLine);
  while (const std::optional<std::string_view> line = reader.next()) lines.push_back(*line);
  return lines;
}

}  // namespace

DecodedFile DecodeSettingsFile(std::string_view bytes) {
  DecodedFile file;
  std::string unicode;
  if (bytes.starts_with(kUtf8Mark)) {
    file.encoding = FileEncoding::kUtf8;
    unicode = bytes.substr(kUtf8Mark.size());
  } else if (bytes.starts_with(kUtf16LeMark)) {
    file.encoding = FileEncoding::kUtf16Le;
    unicode = Utf16ToUtf8(bytes.substr(kUtf16LeMark.size()), false);
  } else if (bytes.starts_with(kUtf16BeMark)) {
    file.encoding = FileEncoding::kUtf16Be;
    unicode = Utf16ToUtf8(bytes.substr(kUtf16BeMark.size()), true);
  } else {
    file.text = bytes;
    return file;
  }
  for (std::string_view line : Lines(unicode)) {
    file.unicodeLines.emplace_back(line);
    file.text += text::FromUtf8(line);
    file.text += "\r\n";
  }
  return file;
}

std::string EncodeSettingsFile(const DecodedFile& read, std::string_view text) {
  if (read.encoding == FileEncoding::kAnsi) return std::string(text);
  // A rewrite changes one line or adds some in one place: the lines before and after
  // that place are the lines read, with the characters Windows-1252 lacks.
  const std::vector<std::string_view> now = Lines(text);
  std::vector<text::Text> before;
  for (const std::string& line : read.unicodeLines) before.push_back(text::FromUtf8(line));
  std::size_t head = 0;
  while (head < now.size() && head < before.size() && now[head] == before[head]) ++head;
  std::size_t tail = 0;
  while (tail < now.size() - head && tail < before.size() - head &&
         now[now.size() - 1 - tail] == before[before.size() - 1 - tail]) {
    ++tail;
  }
  std::string utf8;
  for (std::size_t i = 0; i < now.size(); ++i) {
    if (i < head) {
      utf8 += read.unicodeLines[i];
    } else if (i >= now.size() - tail) {
      utf8 += read.unicodeLines[before.size() - (now.size() - i)];
    } else {
      utf8 += text::ToUtf8(now[i]);
    }
    utf8 += "\r\n";
  }
  std::string bytes(MarkOf(read.encoding));
  if (read.encoding == FileEncoding::kUtf8) return bytes + utf8;
  return bytes + Utf8ToUtf16(utf8, read.encoding == FileEncoding::kUtf16Be);
}

}  // namespace vantary::settings
