// The custom scroll: the four custom lines of `customs` with their $-macros expanded into
// live values, sent into the room by the customs window's view button and, in the custom
// message mode, at the main timer's scroll moments instead of the standard scroll.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string_view>

#include "editors/editor_windows.h"
#include "host/host.h"
#include "platform/event_loop.h"
#include "toolkit/form.h"

namespace vantary::editors {

// The macros, by what they stand for.
enum class Macro : std::uint8_t {
  kDownloadFile,     // the file being downloaded
  kReason,           // the reason, `gook`
  kGeneration,       // the host's generation: "5", "4", "95", "25"; "" with no host running
  kTime,             // the time of day, "9:05:07 pm"
  kDownloadPercent,  // the download's percent done
  kDownloadMinutes,  // the download's minutes left
  kAuthor,           // "kestro"
  kUploadMinutes,    // the upload's minutes left, from `lblmins`
  kUploadFile,       // the upload's file, `lblfile`
  kUploadPercent,    // the upload's percent done, from `lblper`
  kAscii1,           // the decoration lines of `auto`
  kAscii2,
  kAscii3,
  kBrowser,      // the web browser's download dialog, as read once for the scroll
  kVersion,      // the program's version
  kIdleMinutes,  // the current idle clock: `m`, `h`, `d`
  kIdleHours,
  kIdleDays,
};

struct MacroToken {
  Macro macro;
  std::string_view token;
};

// The macros in the order a line is expanded. The tokens match without regard to case and
// as parts of longer words ("asc$" is "as" and the value of "c$"). A value inserted at one
// step is searched by every later step, never by an earlier one: a reason holding "t$"
// shows the time, a decoration line holding "r$" keeps it. The line is lower-cased after
// the first kMacrosBeforeLowerCase of them and again at the end.
inline constexpr std::array<MacroToken, 18> kMacros = {{
    {Macro::kDownloadFile, "dlf$"},
    {Macro::kReason, "r$"},
    {Macro::kGeneration, "a$"},
    {Macro::kTime, "t$"},
    {Macro::kDownloadPercent, "dlpe$"},
    {Macro::kDownloadMinutes, "dlml$"},
    {Macro::kAuthor, "c$"},
    {Macro::kUploadMinutes, "ulml$"},
    {Macro::kUploadFile, "ulf$"},
    {Macro::kUploadPercent, "ulpe$"},
    {Macro::kAscii1, "as1$"},
    {Macro::kAscii2, "as2$"},
    {Macro::kAscii3, "as3$"},
    {Macro::kBrowser, "ie$"},
    {Macro::kVersion, "v$"},
    {Macro::kIdleMinutes, "m1$"},
    {Macro::kIdleHours, "h1$"},
    {Macro::kIdleDays, "d1$"},
}};
inline constexpr std::size_t kMacrosBeforeLowerCase = 10;
// The most an expansion holds after any of its steps: values that hold each other's tokens
// would otherwise grow a line a hundredfold at every step. The line itself goes out cut to
// host::kChatLineLimit; the margin leaves room for later steps that shorten it.
inline constexpr std::size_t kExpansionLimit = 16 * host::kChatLineLimit;

// The fixed values of "c$" and "v$".
inline constexpr std::string_view kAuthorText = "kestro";
inline constexpr std::string_view kVersionText = "version 2.1 beta 4 release";

// The value of a macro, asked for only when the line holds its token at its step.
using MacroValue = std::function<Text(Macro macro)>;

// A custom line with its macros replaced, every character in lower case.
Text ExpandCustomLine(std::string_view line, const MacroValue& valueOf);

// The time of day as "t$" shows it: 12-hour clock, two-digit fields, "am"/"pm", without a
// leading zero ("9:05:07 pm", "12:00:00 am").
Text TimeOfDayText(const platform::TimeOfDay& t);

// Who sends the scroll, and into which room layout a pass goes.
enum class CustomCaller { kViewButton, kMainTimer };
enum class CustomPass { kRich, kPlain };

// What opens line `line` (1 to 4) of a pass: line 1 carries the decoration, the colours
// and the program's tag; the view button's other lines close open style tags first, the
// main timer's carry nothing.
Text CustomLineHead(CustomCaller caller, CustomPass pass, int line, const host::ChatStyle& style);

class CustomScroll {
 public:
  // `main` is the hidden main window `vantary`, whose controls hold the reason, the idle
  // clock and the upload labels.
  CustomScroll(host::Host& host, toolkit::Form& main, EditorWindows& editors);

  // The view button: the click, then the scroll once, with the upload labels as the last
  // scroll moment left them.
  void sendView();
  // A scroll moment: the host's download window comes to the top, then the scroll, with
  // the browser's download dialog as the main timer read it for the moment. `goesOn` is
  // asked before each further line: false (idle off or end came while a line waited for
  // the host) sends nothing more.
  void sendPeriodic(const host::BrowserDownload& browser, const std::function<bool()>& goesOn = {});

  // One custom line expanded with the values as they stand now.
  Text expand(std::string_view line, const Text& browserStatus);

 private:
  Text valueOf(Macro macro, const Text& browserStatus);
  host::ChatStyle style() const;
  void sendPasses(CustomCaller caller, const Text& browserStatus, const std::function<bool()>& goesOn);

  host::Host& host_;
  toolkit::Form& main_;
  EditorWindows& editors_;
};

}  // namespace vantary::editors
