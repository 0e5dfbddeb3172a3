// The main window's start-up routine: the settings files created on a first start, every
// stored setting read into the control that holds it, the menu set from them, the
// in-stats announcement and the auto upchat watcher.
#include <algorithm>
#include <optional>
#include <span>
#include <string>
#include <utility>

#include "console/console.h"
#include "platform/messages.h"
#include "settings/settings_store.h"
#include "text/text_ops.h"
#include "toolkit/window_utils.h"

namespace vantary::console {
namespace {

namespace msg = platform::msg;
using settings::kSection;
using text::operator""_ansi;

// The title of the message that names a settings file the program could not read.
constexpr std::string_view kSettingsTitle = "vantary : settings";

// The room a session enters first when no room name was ever set.
constexpr std::string_view kFallbackRoom = "zezevuzud";

// Which window holds a setting, and which file keeps it.
enum class Holder { kMain, kColor, kAscii };
enum class Store { kConfig, kData };
struct StoredControl {
  Holder window;
  std::string_view control;
  Store file;
  std::string_view key;
};

// What start-up reads, in order; a missing key empties the control.
constexpr StoredControl kStartupReads[] = {
    {Holder::kMain, "down", Store::kConfig, "dlul"},
    {Holder::kMain, "scroll", Store::kConfig, "int"},
    {Holder::kMain, "Text2", Store::kConfig, "laggfree"},
    {Holder::kMain, "reas", Store::kConfig, "reas"},
    {Holder::kMain, "txttrig", Store::kConfig, "trig"},
    {Holder::kColor, "Text1", Store::kData, "color"},
    {Holder::kColor, "Text2", Store::kData, "color2"},
    {Holder::kMain, "messages", Store::kConfig, "mm"},
    {Holder::kMain, "offbefore", Store::kConfig, "offbe"},
    {Holder::kMain, "onaf2", Store::kConfig, "onaf"},
    {Holder::kMain, "cuz", Store::kConfig, "mm"},
    {Holder::kMain, "immune3", Store::kConfig, "immune"},
    {Holder::kMain, "gook", Store::kConfig, "reason"},
    {Holder::kMain, "roomen", Store::kConfig, "roomenter"},
    {Holder::kMain, "roomenter2", Store::kConfig, "setroom"},
    {Holder::kMain, "autoupp", Store::kConfig, "autoup"},
    {Holder::kAscii, "Combo1", Store::kData, "autoascii1"},
    {Holder::kAscii, "Combo2", Store::kData, "autoascii2"},
    {Holder::kAscii, "Combo3", Store::kData, "autoascii3"},
};

// The decoration lines, written on a first start of the machine and with a new data file.
constexpr StoredControl kAsciiLines[] = {
    {Holder::kAscii, "Combo1", Store::kData, "autoascii1"},
    {Holder::kAscii, "Combo2", Store::kData, "autoascii2"},
    {Holder::kAscii, "Combo3", Store::kData, "autoascii3"},
};

// What a new data file starts with besides the decoration lines: the design values of
// the colours, then of the counters.
constexpr StoredControl kNewDataColors[] = {
    {Holder::kColor, "Text1", Store::kData, "color"},
    {Holder::kColor, "Text2", Store::kData, "color2"},
};
constexpr StoredControl kNewDataCounters[] = {
    {Holder::kMain, "h", Store::kData, "hour"},      {Holder::kMain, "m", Store::kData, "minutes"},
    {Holder::kMain, "d", Store::kData, "day"},       {Holder::kMain, "h1", Store::kData, "hour2"},
    {Holder::kMain, "m1", Store::kData, "minutes2"}, {Holder::kMain, "d1", Store::kData, "day2"},
};

}  // namespace

void Console::Load() {
  if (loaded_) return;
  loaded_ = true;
  // Commands that come while the routine waits for the host run once it is done, so they
  // never interleave with the settings being read or the in-stats lines.
  busy_ = true;
  auto& files = p_.files;
  toolkit::Form& f = *form_;
  const auto holder = [&](Holder h) -> toolkit::Form& {
    switch (h) {
      case Holder::kColor:
        return *editors_->color;
      case Holder::kAscii:
        return *editors_->ascii;
      case Holder::kMain:
        break;
    }
    return f;
  };
  const auto pathOf = [&](Store s) -> const Text& { return s == Store::kData ? paths_.data : paths_.config; };
  const auto write = [&](std::span<const StoredControl> table) {
    for (const StoredControl& c : table) {
      settings::WriteSetting(files, kSection, c.key, holder(c.window).text(c.control), pathOf(c.file));
    }
  };

  // 1, 2: watch the room; stay above other windows.
  scanner_->start();
  toolkit::StayOnTop(p_, f.window());

  // The user cannot write where the settings files belong: they are kept in the user's own
  // folder from now on, and the user is told once, on the start that moves them there.
  // What start-up tells is shown once it is over, so that no box holds up the settings
  // being read, the announcement or the chat commands.
  if (!paths_.movedTo.empty()) {
    tellLater("vantary cannot write its settings into " + paths_.movedFrom + ", so it keeps them in " +
                  paths_.movedTo + ".",
              kSettingsTitle, msg::kMbOk | msg::kMbIconInformation);
  }

  // Whether the data file was there before this start. The first-start step below writes
  // the decoration lines into it, which must not make the next step believe the data
  // file had always been there: on a first start the colours, the trigger and the
  // counters are written too, so the program starts from its design values rather than
  // from empty colours ("<font color=#>") and an empty trigger.
  const bool dataExisted = settings::FileExists(files, paths_.data);

  // 3: the first start on this machine creates the three decoration lists; the lists'
  // last file marks that it has run.
  if (!settings::FileExists(files, paths_.asciiList3)) {
    for (const Text& list : {paths_.asciiList1, paths_.asciiList2, paths_.asciiList3}) {
      settings::WriteSetting(files, "", "", Text("›"_ansi), list);
    }
    write(kAsciiLines);
  }
  // 4: a first start, or a data file lost since the last one, writes the data file
  // afresh from the windows' design values.
  if (!dataExisted) {
    write(kAsciiLines);
    write(kNewDataColors);
    // The trigger is kept in the program folder's options, which outlive a data file lost
    // with the Windows folder's files: a trigger the user set is kept, and only a missing
    // one starts from the design value.
    if (settings::ReadSetting(files, kSection, "trig", paths_.config).empty()) {
      settings::WriteSetting(files, kSection, "trig", f.text("txttrig"), paths_.config);
    }
    write(kNewDataCounters);
  }

  // 5: the overall idle time. From here each file is read once. A file that is there but
  // cannot be read now (another program holds it for a moment) reads as empty this time,
  // and the user is told which: nothing the program writes replaces what it holds, and a
  // held data file's overall time is joined by the time counted from now on once it can
  // be read (joinStoredOverall).
  const std::optional<Text> config = settings::ReadSettingsFile(files, paths_.config);
  const std::optional<Text> data = settings::ReadSettingsFile(files, paths_.data);
  const auto tellUnread = [&](const Text& path, std::string_view kept) {
    tellLater(path + " could not be read. " + Text(kept), kSettingsTitle, msg::kMbOk | msg::kMbIconWarning);
  };
  if (!data) {
    tellUnread(paths_.data,
               "the overall idle time stored in it is kept: the time counted from now on is added to it once "
               "the file can be read.");
  }
  if (!config) {
    tellUnread(paths_.config,
               "the options stored in it are not used this time, and the file is kept as it is.");
  }
  overallUnread_ = !data;
  if (!data) {
    editors_->color->stored().markUnread();
    editors_->ascii->stored().markUnread();
  }
  const auto stored = [&](Store s, std::string_view key) {
    const std::optional<Text>& contents = s == Store::kData ? data : config;
    return contents ? settings::SettingIn(*contents, kSection, key) : Text{};
  };
  f.setText("h1", StoredCounter(stored(Store::kData, "hour2")));
  f.setText("d1", StoredCounter(stored(Store::kData, "day2")));
  f.setText("m1", StoredCounter(stored(Store::kData, "minutes2")));
  // A session that did not end (the program killed, a crash, the power cut) left its
  // journal: the instant messages it switched off go back on, its minutes are kept.
  recoverJournal();

  // 6: the multiple messages.
  if (!editors_->messages->readList()) {
    tellUnread(paths_.messages, "its messages are kept: the list is read again before it is saved.");
  }

  // 7: every key into its control.
  for (const StoredControl& c : kStartupReads) {
    holder(c.window).setText(c.control, stored(c.file, c.key));
  }

  // A trigger missing or unreadable is the design's ".": with none, every plain word the
  // user types in the room would run as a command. The `.trig` command never sets none.
  if (f.text("txttrig").empty()) f.setText("txttrig", kDefaultTrigger);

  // 8 to 18: the menu from the settings.
  applySettingsToMenu();
  // The away log (on unless switched off) and the auto-reply (off unless switched on).
  menu_->check("awaylog", stored(Store::kConfig, "awaylog") != "0");
  menu_->check("awayreply", stored(Store::kConfig, "awayreply") == "1");
  watched_ = WatchList(stored(Store::kConfig, "watch"));
  replyText_ = stored(Store::kConfig, "replytext");
  if (text::Trim(replyText_).empty()) replyText_ = Text(kDefaultReplyText);
  replyPeriodMs_ = std::uint64_t{ReplyPeriodMinutes(stored(Store::kConfig, "replyperiod"))} * 60'000;

  // 19: tell the room.
  Announce(true);

  // 20: the auto upchat watcher.
  if (f.text("autoupp") == "0") {
    menu_->check("autoup", false);
    autoUpchat_->setEnabled(false);
  } else if (f.text("autoupp") == "1") {
    menu_->check("autoup", true);
    autoUpchat_->setEnabled(true);
  }

  runWaiting();
}

bool Console::joinStoredOverall() {
  if (!overallUnread_) return true;
  const std::optional<Text> data = settings::ReadSettingsFile(p_.files, paths_.data);
  if (!data) return false;
  overallUnread_ = false;
  // The colours, decorations and custom lines stored in it take the empty boxes too.
  editors_->color->stored().takeStored();
  editors_->ascii->stored().takeStored();
  editors_->customs->stored().takeStored();
  const auto stored = [&](std::string_view key) {
    return StoredCounter(settings::SettingIn(*data, kSection, key));
  };
  setOverallMinutes(TotalMinutes(stored("day2"), stored("hour2"), stored("minutes2")) + overallMinutes());
  return true;
}

long long Console::overallMinutes() {
  toolkit::Form& f = *form_;
  return TotalMinutes(f.text("d1"), f.text("h1"), f.text("m1"));
}

void Console::setOverallMinutes(long long total) {
  toolkit::Form& f = *form_;
  f.setText("d1", std::to_string(std::min(total / (24 * 60), kCounterLimit)));
  f.setText("h1", std::to_string(total / 60 % 24));
  f.setText("m1", std::to_string(total % 60));
}

void Console::applySettingsToMenu() {
  toolkit::Form& f = *form_;
  ConsoleMenu& menu = *menu_;
  if (f.text("immune3").empty()) {
    menu.check("dlul", true);
    menu.check("rea", true);
    menu.check("immune", false);
    f.setText("immune3", "0");
  }
  const double immune = text::NumericValue(f.text("immune3"));
  if (immune == 1) {
    menu.enable("dlul", false);
    menu.enable("rea", false);
    menu.check("immune", true);
  } else if (immune == 0) {
    menu.check("immune", false);
  }
  if (f.text("roomenter2").empty()) f.setText("roomenter2", kFallbackRoom);

  // The interval is a whole number of minutes from 1 to 12. A missing one means every
  // minute; anything else was not written by the program (it writes only valid numbers),
  // so the user is told the file is damaged and every minute applies. The corrected value
  // is not written back.
  const Text stored = f.text("scroll");
  if (stored.empty()) {
    f.setText("scroll", "1");
  } else if (IntervalOf(stored) == 0) {
    for (int i = 0; i < 3; ++i) {
      tellLater("internal error has occured. please do not edit etr.cfj. error has occured", "internal error",
                msg::kMbOk | msg::kMbIconError);
    }
    f.setText("scroll", "1");
  }
  menu.setCaption("scrollint", "scroll interval: " + f.text("scroll"));

  const Text down = f.text("down");
  if (down == "0") menu.check("dlul", false);
  if (f.text("Text2") == "0") menu.check("laggfree", false);
  if (f.text("Text2") == "1") menu.check("laggfree", true);
  if (down == "1") menu.check("dlul", true);

  if (f.text("roomen") == "0") {
    menu.check("roomidle", false);
    menu.enable("setroom", false);
  } else if (f.text("roomen") == "1") {
    menu.check("roomidle", true);
    menu.enable("setroom", true);
  }

  if (f.text("reas") == "0") menu.check("rea", false);
  if (f.text("reas") == "1") menu.check("rea", true);

  // The message mode: exactly one is checked, with only its own editor item enabled. "3"
  // is the custom lines and "0" the multiple messages; "1", the empty value of a first
  // start and anything the program never writes are the single reason.
  if (f.text("cuz") == "3") {
    setMessageMode("custom");
  } else if (f.text("messages") == "0") {
    setMessageMode("mm");
  } else {
    setMessageMode("rea2");
  }

  if (f.text("offbefore") == "0") menu.check("offbe", false);
  if (f.text("onaf2") == "0") menu.check("onaf", false);
}

}  // namespace vantary::console
