// The idle session: idle on and off, the in-stats and out-stats announcements, and the
// end command.
#include "console/console.h"
#include "console/status_lines.h"
#include "text/text_ops.h"
#include "toolkit/window_utils.h"

namespace vantary::console {
namespace {

using text::operator""_ansi;
using text::RemoveSpaces;
using text::ToLower;

// How long ending a session lets pending events run before the clock is reset.
constexpr double kIdleOffPauseSeconds = 0.1;
// The clock labels that idle off resets, on `vantary` and on the console face.
constexpr std::string_view kClockLabels[] = {"m", "d", "h", "m2", "d2", "h2"};

}  // namespace

void Console::sendStatus(std::string_view ascii, std::string_view body) {
  const StatusLine line = Status(style(), ascii, body);
  host_->SendChatLine(line.rich);
  host_->SendPlainChatLine(line.plain);
}

void Console::Announce(bool starting) {
  toolkit::Form& f = *form_;
  const auto lines = StatsAnnouncement(style(), starting, f.text("d1"), f.text("h1"), f.text("m1"));
  for (std::size_t i = 0; i < 3; ++i) host_->SendChatLine(lines[i]);
  for (std::size_t i = 3; i < 6; ++i) host_->SendPlainChatLine(lines[i]);
}

void Console::IdleCommand() {
  const Text state = menu_->caption("idleon");
  if (state == kIdleOnCaption) {
    startSession();
  } else if (state == kIdleOffCaption) {
    endSession(true);
  }
}

void Console::startSession() {
  toolkit::Form& f = *form_;
  menu_->setCaption("idleon", kIdleOffCaption);
  timer1_->setEnabled(true);
  // The room and the instant messages may take the host a while, and their waits let the
  // main timer tick: its minutes are counted from here, but no tick scrolls before the
  // engaged line (see MainTimerTick).
  starting_ = true;
  const std::shared_ptr<bool> alive = alive_;
  // An empty name (a cancelled or blank "set room name") names no room: none is entered,
  // rather than the room keyword run bare.
  if (menu_->checked("roomidle") && !text::Trim(f.text("roomenter2")).empty()) {
    const Text room = f.text("roomenter2");
    if (text::NumericValue(host_->GetHostVersionText()) == 95) {
      host_->RunKeywordWindow(Text(kPrivateRoomKeyword) + room);
      host_->SendPlainChatLine(style().ascii1 + Text(" vantarý³ · enter'd. "_ansi) +
                               RemoveSpaces(ToLower(room)));
    } else {
      host_->EnterPrivateRoom(room);
    }
  }
  if (menu_->checked("offbe")) switchInstantMessages(false);
  // A chat command's turn that came too late answers nothing (kChatAnswerStaleMs).
  if (answering_) sendStatus(style().ascii1, Text(" vantarý³ · engaged"_ansi));
  if (!*alive) return;
  starting_ = false;
  writeJournal();
}

// The clock is reset on `vantary` and on the console face alike, so the next session's
// face starts from zero.
void Console::endSession(bool pause) {
  menu_->setCaption("idleon", kIdleOnCaption);
  timer1_->setEnabled(false);
  if (pause) toolkit::Pause(p_, kIdleOffPauseSeconds);
  resetClock();
  removeJournal();
  if (menu_->checked("onaf")) {
    if (host_->GetScreenName().empty()) return;
    switchInstantMessages(true);
  }
  if (answering_) sendStatus(style().ascii1, Text(" vantarý³ · dis-engaged"_ansi));
  // What was said to the user meanwhile, however the session ended.
  if (!away_.empty()) showAway();
}

void Console::switchInstantMessages(bool on) {
  host_->SendInstantMessage(on ? "$im_on" : "$im_off", ";]");
  instantMessagesOff_ = !on;
  writeJournal();
}

void Console::resetClock() {
  for (std::string_view label : kClockLabels) form_->setText(label, "0");
  if (face_ != nullptr) {
    for (std::string_view label : kClockLabels) face_->setLabel(label, "0");
  }
}

void Console::requestEnd() {
  runInTurn([this] { EndCommand(); });
}

void Console::EndCommand() {
  Announce(false);
  // What could not be written yet gets its last try; what still cannot is named, so the
  // overall time is never lost without a word.
  if (!retryUnstored()) {
    toolkit::Form& f = *form_;
    const auto counter = [&](std::string_view name) { return std::to_string(CounterValue(f.text(name))); };
    messageBox("vantary could not write its settings before it ended. the overall idle time is " +
                   counter("d1") + "d " + counter("h1") + "h " + counter("m1") + "m.",
               "vantary : settings", platform::msg::kMbOk | platform::msg::kMbIconWarning);
  }
  removeJournal();
  // Nothing runs after this: no tick, no chat line, no watcher.
  timer1_->setEnabled(false);
  scanner_->stop();
  autoUpchat_->setEnabled(false);
  p_.loop.quit(0);
  if (onEnd_) {
    Handler h = onEnd_;
    h();
  }
}
}  // namespace vantary::console
