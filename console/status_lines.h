// The texts of the console's status lines and announcements, as they go into the room.
#pragma once

#include <array>
#include <string_view>

#include "host/host.h"

namespace vantary::console {

using host::ChatStyle;
using text::Text;

// A status line in its two forms: formatted for the rich room (status prefix P(A), then
// ">" and the body) and plain for the plain room (the decoration line, then the body).
struct StatusLine {
  Text rich;
  Text plain;
};
StatusLine Status(const ChatStyle& style, std::string_view ascii, std::string_view body);

// The six lines of the start ("in") or exit ("out") announcement with the overall idle
// counters: three formatted ones, then their three plain twins.
std::array<Text, 6> StatsAnnouncement(const ChatStyle& style, bool starting, std::string_view d1,
                                      std::string_view h1, std::string_view m1);

// " vantarý³ · <d>d . <h>h . <m>m ·", the body of the time line.
Text TimeBody(std::string_view d, std::string_view h, std::string_view m);
// " stats: <d>d . <h>h . <m>m ·", the body of a report's second line.
Text StatsBody(std::string_view d, std::string_view h, std::string_view m);

// The download line of the periodic transfer lines: " d.file: " + file + CRLF + ". " +
// percent + "p ." + CRLF + minutes + "m ·".
Text DownloadBody(std::string_view file, std::string_view percent, std::string_view minutes);
// The upload line: " u.file: " + file + " . " + percent + "p . " + minutes + "m ·".
Text UploadBody(std::string_view file, std::string_view percent, std::string_view minutes);

// The nine replacements, in order, that clean the download window's time-left text for the
// scroll-transfer command, each applied to the lower-cased text.
Text CleanTimeLeft(std::string_view timeLeft);

}  // namespace vantary::console
