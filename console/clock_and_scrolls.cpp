// The main timer's tick with the idle clock and the scroll moments, the standard scroll,
// the saved overall time, and the interval and idle report commands.
#include <algorithm>

#include "console/console.h"
#include "console/status_lines.h"
#include "platform/messages.h"
#include "settings/settings_store.h"
#include "text/text_ops.h"

namespace vantary::console {
namespace {

namespace msg = platform::msg;
using settings::kSection;
using text::operator""_ansi;
using text::DigitsOnly;

}  // namespace

void Console::MainTimerTick() {
  // A tick inside idle on's own waits is left out; the next one makes its minutes up.
  if (starting_) return;
  const std::shared_ptr<bool> alive = alive_;
  ticking_ = true;
  mainTimerTick();
  if (*alive) ticking_ = false;
}

void Console::mainTimerTick() {
  // 1: the host's idle dialogs go before they can sign the user off.
  host_->ClickPaletteAndModalIcons();
  host_->KillIdleTimer();
  host_->KillIdleModal();

  // 2 to 8: the minutes since the last one counted. A tick that finds none (it came early)
  // counts and scrolls nothing.
  const long long minutes = minutesDue();
  if (minutes == 0) return;
  countMinutes(minutes);
  // 11, before the scroll, which may wait for the host's flood control: at most a minute of
  // overall time is lost when the program ends, or dies, and never one the room was shown.
  keepCount();

  // 9, 10: the scroll, one at most however many minutes the tick made up.
  if (isScrollMoment()) {
    const host::BrowserDownload browser = host_->GetBrowserDownload();
    RefreshUploadLabels();
    if (menu_->checked("custom")) {
      // The custom scroll brings the host's download window to the top first.
      if (customScroll_) customScroll_(browser);
    } else {
      standardScroll();
      if (menu_->checked("dlul") && scrollGoesOn()) periodicTransferLines(browser);
    }
  }
  // The minutes the host's flood control held the scroll for count now, without a scroll
  // of their own, so the clock shows the time away as soon as the scroll has gone. Not when
  // idle off or end stopped the timer meanwhile: the clock was reset, or the session is over.
  if (!scrollGoesOn()) return;
  if (const long long late = minutesDue(); late > 0) {
    countMinutes(late);
    keepCount();
  }
}

void Console::keepCount() {
  saveOverall();
  writeJournal();
}

// A count begins with the main timer's period: idle on, or a report that started the
// timer. The report commands hold the timer still while their lines go out and carry a
// running count over the new period themselves (reportIdle).
void Console::followMainTimerPeriod() {
  const platform::Timer::Period period = timer1_->period();
  if (period.number == countedPeriod_) return;
  countedPeriod_ = period.number;
  countedUntilMs_ = period.startMs;
}

// A tick never starts while the one before it still runs, and a scroll that waits for the
// host's flood control runs for minutes: the clock counts the minutes that have passed on
// the loop's monotonic clock, not the ticks that came.
long long Console::minutesDue() {
  followMainTimerPeriod();
  const std::uint64_t minute = timer1_->interval();
  if (minute == 0) return 0;
  const std::uint64_t now = p_.loop.nowMs() + std::min<std::uint64_t>(kTickEarlyMs, minute / 2);
  if (now < countedUntilMs_ + minute) return 0;
  const std::uint64_t due = (now - countedUntilMs_) / minute;
  countedUntilMs_ += due * minute;
  return static_cast<long long>(std::min<std::uint64_t>(due, kCounterLimit));
}

// The face drops a leading zero at the start of a tick that finds two digits, so the
// last minute goes on its own: the face then reads as after that many single ticks.
void Console::countMinutes(long long minutes) {
  if (minutes <= 0) return;
  if (minutes > 1) advanceClock(minutes - 1);
  advanceClock(1);
}

void Console::advanceClock(long long minutes) {
  toolkit::Form& f = *form_;
  f.setText("m", Advanced(f.text("m"), minutes));
  if (face_ != nullptr) face_->setLabel("m", Advanced(face_->label("m"), minutes));
  f.setText("m1", Advanced(f.text("m1"), minutes));
  f.setText("scrolletr", Advanced(f.text("scrolletr"), minutes));

  // The face drops its leading zeros at two digits and rolls its minutes into hours.
  if (face_ != nullptr) {
    if (CounterValue(face_->label("m")) >= 10) face_->setLabel("m2", "");
    if (CounterValue(face_->label("h")) >= 10) face_->setLabel("h2", "");
    const Carry c = CarryOver(face_->label("m"), face_->label("h"), 60);
    if (c.rolled) {
      face_->setLabel("h", c.large);
      face_->setLabel("m", c.small);
      face_->setLabel("m2", "0");
    }
  }
  // Minutes into hours, hours into days, on `vantary`, overall and on the face.
  if (const Carry c = CarryOver(f.text("m"), f.text("h"), 60); c.rolled) {
    f.setText("h", c.large);
    f.setText("m", c.small);
    f.setText("m2", "0");
  }
  if (const Carry c = CarryOver(f.text("m1"), f.text("h1"), 60); c.rolled) {
    f.setText("h1", c.large);
    f.setText("m1", c.small);
  }
  if (const Carry c = CarryOver(f.text("h1"), f.text("d1"), 24); c.rolled) {
    f.setText("d1", c.large);
    f.setText("h1", c.small);
  }
  if (const Carry c = CarryOver(f.text("h"), f.text("d"), 24); c.rolled) {
    f.setText("d", c.large);
    f.setText("h", c.small);
    f.setText("h2", "0");
  }
  if (face_ != nullptr) {
    if (const Carry c = CarryOver(face_->label("h"), face_->label("d"), 24); c.rolled) {
      face_->setLabel("d", c.large);
      face_->setLabel("h", c.small);
      face_->setLabel("h2", "0");
    }
  }
}

// A moment comes when the counter reaches the interval. It also comes when the counter has
// passed the interval, as it does while immune scrolls hold them back: the scrolls then
// resume at once instead of never.
bool Console::isScrollMoment() {
  if (menu_->checked("immune")) return false;
  const long long interval = CounterValue(form_->text("scroll"));
  if (interval <= 1) return true;
  if (CounterValue(form_->text("scrolletr")) >= interval) {
    form_->setText("scrolletr", "0");
    return true;
  }
  return false;
}

// Each line of a scroll waits for the host and lets events run meanwhile, so idle off or
// end can run in the middle of a scroll. They stop the main timer; the scroll then sends
// no further line, so nothing of it follows the dis-engaged or out-stats lines.
bool Console::scrollGoesOn() { return timer1_->enabled(); }

void Console::standardScroll() {
  toolkit::Form& f = *form_;
  sendStatus(style().ascii1, TimeBody(f.text("d"), f.text("h"), f.text("m")));
  if (menu_->checked("rea") && scrollGoesOn()) {
    const Text reason =
        menu_->checked("rea2") ? f.text("gook") : editors::NextMultipleMessage(*editors_->messages);
    sendStatus(style().ascii2, " re: " + reason);
  }
}

void Console::saveOverall() {
  // Nothing is written over an overall time the program has not read.
  if (!joinStoredOverall()) return;
  toolkit::Form& f = *form_;
  store(paths_.data, "hour2", f.text("h1"));
  store(paths_.data, "minutes2", f.text("m1"));
  store(paths_.data, "day2", f.text("d1"));
}

// ---- the interval and report commands -----------------------------------------------------------

void Console::IntervalCommand() {
  toolkit::Form& f = *form_;
  for (int asked = 0; asked < kIntervalAskLimit && !p_.loop.quitRequested(); ++asked) {
    const auto answer = inputBox("scroll interval, enter a number between ( 1 - 12 )", "scroll interval");
    const long long interval = IntervalOf(DigitsOnly(answer.value_or("")));
    if (interval != 0) {
      const Text value = std::to_string(interval);
      f.setText("scroll", value);
      menu_->setCaption("scrollint", "scroll interval: " + value);
      storeConfig("int", value);
      // The stored value is what the console goes on with; a file that could not be
      // written leaves the interval just chosen.
      const Text stored = settings::ReadSetting(p_.files, kSection, "int", paths_.config);
      if (IntervalOf(stored) != 0) f.setText("scroll", stored);
      f.setText("scrolletr", "0");
      return;
    }
    messageBox("enter a number between ( 1 - 12 )", "critical error", msg::kMbOk | msg::kMbIconError);
  }
}

void Console::reportIdle(bool overall) {
  toolkit::Form& f = *form_;
  // The report holds the main timer still while its lines go out, not the session: a
  // count that runs goes on across the timer's new period, and the minutes the lines took
  // under the host's flood control still count.
  const bool counting = timer1_->enabled();
  if (counting) followMainTimerPeriod();
  timer1_->setEnabled(false);
  const host::ChatStyle s = style();
  const Text title = overall ? Text(" vantarý³ · cur. overall"_ansi) : Text(" vantarý³ · cur. idle"_ansi);
  const Text stats = overall ? StatsBody(f.text("d1"), f.text("h1"), f.text("m1"))
                             : StatsBody(f.text("d"), f.text("h"), f.text("m"));
  const StatusLine first = Status(s, s.ascii1, title);
  const StatusLine second = Status(s, s.ascii2, stats);
  host_->SendChatLine(first.rich);
  host_->SendChatLine(second.rich);
  host_->SendPlainChatLine(first.plain);
  host_->SendPlainChatLine(second.plain);
  timer1_->setEnabled(true);
  if (counting) countedPeriod_ = timer1_->period().number;
}

void Console::CurIdleCommand() { reportIdle(false); }

void Console::OverallCommand() { reportIdle(true); }

void Console::OverallClearCommand() {
  overallUnread_ = false;  // cleared, the stored overall time is replaced, read or not
  form_->setText("m1", "0");
  form_->setText("h1", "0");
  form_->setText("d1", "0");
}

}  // namespace vantary::console
