// The texts of the console's status lines and announcements.
#include "console/status_lines.h"

#include <utility>

#include "editors/editor_windows.h"
#include "text/text_ops.h"

namespace vantary::console {

using text::operator""_ansi;

StatusLine Status(const ChatStyle& style, std::string_view ascii, std::string_view body) {
  StatusLine line;
  line.rich = host::StatusPrefix(style, ascii) + ">" + Text(body);
  line.plain = Text(ascii) + Text(body);
  return line;
}

std::array<Text, 6> StatsAnnouncement(const ChatStyle& style, bool starting, std::string_view d1,
                                      std::string_view h1, std::string_view m1) {
  const Text reset = "</u></s></i></b><font color=#";
  const Text c1 = style.color1;
  const Text c2 = style.color2;
  const Text w(editors::kWebAddress);
  const Text word = starting ? " in stats: " : " out stats: ";
  const Text counts = Text(d1) + "d . " + Text(h1) + "h . " + Text(m1) + Text("m ·"_ansi);
  return {
      reset + c1 + Text(">°›<font color=#"_ansi) + c2 + Text("> vantarý³ · by kestro · "_ansi),
      reset + c1 + Text(">‹°<font color=#"_ansi) + c2 + ">" + word + counts,
      reset + c1 + Text("> °`·–› <font color=#"_ansi) + c2 + ">" + w + Text(" ·"_ansi),
      Text("°› vantarý³ · by kestro · "_ansi),
      Text("‹°"_ansi) + word + counts,
      Text(" °`·–› "_ansi) + w + Text(" ·"_ansi),
  };
}

Text TimeBody(std::string_view d, std::string_view h, std::string_view m) {
  return Text(" vantarý³ · "_ansi) + Text(d) + "d . " + Text(h) + "h . " + Text(m) + Text("m ·"_ansi);
}

Text StatsBody(std::string_view d, std::string_view h, std::string_view m) {
  return " stats: " + Text(d) + "d . " + Text(h) + "h . " + Text(m) + Text("m ·"_ansi);
}

Text DownloadBody(std::string_view file, std::string_view percent, std::string_view minutes) {
  return " d.file: " + Text(file) + "\r\n. " + Text(percent) + "p .\r\n" + Text(minutes) + Text("m ·"_ansi);
}

Text UploadBody(std::string_view file, std::string_view percent, std::string_view minutes) {
  return " u.file: " + Text(file) + " . " + Text(percent) + "p . " + Text(minutes) + Text("m ·"_ansi);
}

Text CleanTimeLeft(std::string_view timeLeft) {
  static constexpr std::pair<std::string_view, std::string_view> kCleaning[] = {
      {"About", ""},        {"minutes", ""}, {"Calculating Transfer Time", " "},
      {"Less than a ", ""}, {"minute", ""},  {"remaining.", ""},
      {"AOL is now ", ""},  {"now ", ""},    {"Downloading", ""},
  };
  Text s(timeLeft);
  for (const auto& [find, replacement] : kCleaning)
    s = text::ReplaceText(text::ToLower(s), find, replacement);
  return s;
}

}  // namespace vantary::console
