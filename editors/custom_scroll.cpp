// The custom scroll: expanding the custom lines' macros and sending the lines in both
// room layouts, for the view button and for the main timer.
#include "editors/custom_scroll.h"

#include <cstdio>
#include <string>

#include "text/text_ops.h"
#include "toolkit/window_utils.h"

namespace vantary::editors {
namespace {

using text::operator""_ansi;
using text::DigitsOnly;

constexpr std::string_view kProgramTag = " vantarý³ · "_ansi;
// Closes open underline, strike, italic and bold tags.
constexpr std::string_view kCloseStyles = "</u></s></i></b>";
constexpr int kCustomLines = 4;

// The macros from `from` up to `to` of kMacros, in order.
void ReplaceMacros(Text& s, std::size_t from, std::size_t to, const MacroValue& valueOf) {
  for (std::size_t i = from; i < to; ++i) {
    const MacroToken& m = kMacros[i];
    if (text::ContainsNoCase(s, m.token))
      s = text::ReplaceText(s, m.token, valueOf(m.macro), kExpansionLimit);
  }
}

}  // namespace

Text ExpandCustomLine(std::string_view line, const MacroValue& valueOf) {
  Text s(line.substr(0, kExpansionLimit));
  ReplaceMacros(s, 0, kMacrosBeforeLowerCase, valueOf);
  s = text::ToLower(s);
  ReplaceMacros(s, kMacrosBeforeLowerCase, kMacros.size(), valueOf);
  return text::ToLower(s);
}

Text TimeOfDayText(const platform::TimeOfDay& t) {
  const int hour12 = t.hour % 12 == 0 ? 12 : t.hour % 12;
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%02d:%02d:%02d %s", hour12, t.minute, t.second,
                t.hour < 12 ? "am" : "pm");
  std::string_view shown(buffer);
  if (!shown.empty() && shown.front() == '0') shown.remove_prefix(1);
  return Text(text::Trim(shown));
}

Text CustomLineHead(CustomCaller caller, CustomPass pass, int line, const host::ChatStyle& style) {
  const bool view = caller == CustomCaller::kViewButton;
  if (line != 1) return view ? Text(kCloseStyles) : Text{};
  if (pass == CustomPass::kPlain) return style.ascii1 + Text(kProgramTag);
  const Text colored = "<font color=#" + style.color1 + ">" + style.ascii1 + "<font color=#" + style.color2 +
                       ">" + Text(kProgramTag);
  return view ? Text(kCloseStyles) + colored : colored;
}

CustomScroll::CustomScroll(host::Host& host, toolkit::Form& main, EditorWindows& editors)
    : host_(host), main_(main), editors_(editors) {}

void CustomScroll::sendView() {
  platform::Platform& p = host_.platform();
  toolkit::PlayWave(p, p.files.programFolder() + "\\click.wav");
  // The browser's dialog is read once: every line of the run shows the same status.
  sendPasses(CustomCaller::kViewButton, host_.GetBrowserDownload().status, {});
}

void CustomScroll::sendPeriodic(const host::BrowserDownload& browser, const std::function<bool()>& goesOn) {
  host_.RaiseDownloadWindow();
  sendPasses(CustomCaller::kMainTimer, browser.status, goesOn);
}

// Every line of both passes is sent, empty or not: the rich room gets line 1's head even
// for an empty line, and the plain room's sender drops what is empty. Each line reads its
// values afresh, as a send lets other handlers run and change them.
void CustomScroll::sendPasses(CustomCaller caller, const Text& browserStatus,
                              const std::function<bool()>& goesOn) {
  for (const CustomPass pass : {CustomPass::kRich, CustomPass::kPlain}) {
    for (int line = 1; line <= kCustomLines; ++line) {
      if (goesOn && !goesOn()) return;
      const Text custom = editors_.customs->text("Text" + std::to_string(line));
      const Text sent = CustomLineHead(caller, pass, line, style()) + expand(custom, browserStatus);
      if (pass == CustomPass::kRich) {
        host_.SendChatLine(sent);
      } else {
        host_.SendPlainChatLine(sent);
      }
    }
  }
}

Text CustomScroll::expand(std::string_view line, const Text& browserStatus) {
  return ExpandCustomLine(line, [&](Macro macro) { return valueOf(macro, browserStatus); });
}

host::ChatStyle CustomScroll::style() const {
  host::ChatStyle s;
  s.color1 = editors_.color->text("Text1");
  s.color2 = editors_.color->text("Text2");
  s.ascii1 = editors_.ascii->text("Combo1");
  s.ascii2 = editors_.ascii->text("Combo2");
  s.ascii3 = editors_.ascii->text("Combo3");
  return s;
}

Text CustomScroll::valueOf(Macro macro, const Text& browserStatus) {
  switch (macro) {
    case Macro::kDownloadFile:
      return host_.GetTransferFileName();
    case Macro::kReason:
      return main_.text("gook");
    case Macro::kGeneration:
      // Without a running host there is no generation to tell: the host library takes a
      // menu it cannot read for generation 95, so the macro says nothing instead.
      return host_.FindMdiClient() ? host_.GetHostVersionText() : Text{};
    case Macro::kTime:
      return TimeOfDayText(host_.platform().loop.timeOfDay());
    case Macro::kDownloadPercent:
      return DigitsOnly(host_.GetCaption(host_.FindDownloadWindow()));
    case Macro::kDownloadMinutes:
      return DigitsOnly(host_.GetTransferTimeText());
    case Macro::kAuthor:
      return Text(kAuthorText);
    case Macro::kUploadMinutes:
      return DigitsOnly(main_.text("lblmins"));
    case Macro::kUploadFile:
      return main_.text("lblfile");
    case Macro::kUploadPercent:
      return DigitsOnly(main_.text("lblper"));
    case Macro::kAscii1:
      return editors_.ascii->text("Combo1");
    case Macro::kAscii2:
      return editors_.ascii->text("Combo2");
    case Macro::kAscii3:
      return editors_.ascii->text("Combo3");
    case Macro::kBrowser:
      return browserStatus;
    case Macro::kVersion:
      return Text(kVersionText);
    case Macro::kIdleMinutes:
      return main_.text("m");
    case Macro::kIdleHours:
      return main_.text("h");
    case Macro::kIdleDays:
      return main_.text("d");
  }
  return Text{};
}

}  // namespace vantary::editors
