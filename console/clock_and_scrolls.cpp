// The main timer's tick with the idle clock and the scroll moments, the standard scroll,
// the saved overall time, and the interval and idle report commands.
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
  toolkit::Form& f = *form_;
  // 1: the host's idle dialogs go before they can sign the user off.
  host_->ClickPaletteAndModalIcons();
  host_->KillIdleTimer();
  host_->KillIdleModal();

  // 2: one more minute.
  f.setText("m", Advanced(f.text("m")));
  if (face_ != nullptr) face_->setLabel("m", Advanced(face_->label("m")));
  f.setText("m1", Advanced(f.text("m1")));
  f.setText("scrolletr", Advanced(f.text("scrolletr")));

  // 3: the face drops its leading zeros at two digits and rolls its minutes into hours.
  if (face_ != nullptr) {
    if (CounterValue(face_->label("m")) >= 10) face_->setLabel("m2", "");
    if (CounterValue(face_->label("h")) >= 10) face_->setLabel("h2", "");
    const Carry minutes = CarryOver(face_->label("m"), face_->label("h"), 60);
    if (minutes.rolled) {
      face_->setLabel("h", minutes.large);
      face_->setLabel("m", minutes.small);
      face_->setLabel("m2", "0");
    }
  }
  // 4 to 8: minutes into hours, hours into days, on `vantary`, overall and on the face.
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

  // 9, 10: the scroll.
  if (isScrollMoment()) {
    const host::BrowserDownload browser = host_->GetBrowserDownload();
    RefreshUploadLabels();
    if (menu_->checked("custom")) {
      host_->RaiseDownloadWindow();
      if (customScroll_) customScroll_(browser);
    } else {
      standardScroll();
      if (menu_->checked("dlul") && scrollGoesOn()) periodicTransferLines(browser);
    }
  }

  // 11: at most a minute of overall time is lost when the program ends.
  saveOverall();
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
  toolkit::Form& f = *form_;
  settings::WriteSetting(p_.files, kSection, "hour2", f.text("h1"), paths_.data);
  settings::WriteSetting(p_.files, kSection, "minutes2", f.text("m1"), paths_.data);
  settings::WriteSetting(p_.files, kSection, "day2", f.text("d1"), paths_.data);
}

// ---- the interval and report commands -----------------------------------------------------------

void Console::IntervalCommand() {
  toolkit::Form& f = *form_;
  for (int asked = 0; asked < kIntervalAskLimit && !p_.loop.quitRequested(); ++asked) {
    const auto answer =
        p_.dialogs.inputBox("scroll interval, enter a number between ( 1 - 12 )", "scroll interval");
    const long long interval = IntervalOf(DigitsOnly(answer.value_or("")));
    if (interval != 0) {
      const Text value = std::to_string(interval);
      f.setText("scroll", value);
      menu_->setCaption("scrollint", "scroll interval: " + value);
      settings::WriteSetting(p_.files, kSection, "int", value, paths_.config);
      // The stored value is what the console goes on with; a file that could not be
      // written leaves the interval just chosen.
      const Text stored = settings::ReadSetting(p_.files, kSection, "int", paths_.config);
      if (IntervalOf(stored) != 0) f.setText("scroll", stored);
      f.setText("scrolletr", "0");
      return;
    }
    p_.dialogs.messageBox(f.window(), "enter a number between ( 1 - 12 )", "critical error",
                          msg::kMbOk | msg::kMbIconError);
  }
}

void Console::reportIdle(bool overall) {
  toolkit::Form& f = *form_;
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
}

void Console::CurIdleCommand() { reportIdle(false); }

void Console::OverallCommand() { reportIdle(true); }

void Console::OverallClearCommand() {
  form_->setText("m1", "0");
  form_->setText("h1", "0");
  form_->setText("d1", "0");
}

}  // namespace vantary::console
