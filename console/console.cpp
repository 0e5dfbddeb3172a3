// The idle console: the main window, its start-up routine, the idle session, the main
// timer with the idle clock and the scrolls, and the commands of its menu items.
#include "console/console.h"

#include <utility>

#include "console/status_lines.h"
#include "platform/messages.h"
#include "settings/settings_store.h"
#include "text/text_ops.h"
#include "windows/window_utils.h"

namespace vantary::console {
namespace {

namespace msg = platform::msg;
using text::operator""_ansi;
using text::DigitsOnly;
using text::NumericInt;
using text::RemoveSpaces;
using text::ToLower;
using windows::ControlType;

// The room a session enters first when no room name was ever set.
constexpr std::string_view kFallbackRoom = "zezevuzud";
// The keyword of a private room on generation "95", followed by the room's name.
constexpr std::string_view kPrivateRoomKeyword = "aol://2719:2-2-";
// The scroll interval's range, in minutes.
constexpr long long kIntervalMin = 1;
constexpr long long kIntervalMax = 12;
// How long ending a session lets pending events run before the clock is reset.
constexpr double kIdleOffPauseSeconds = 0.1;

// The hidden controls of `vantary` that hold the console's state, with their design values.
struct HiddenControl {
  std::string_view name;
  ControlType type;
  std::string_view design;
};
constexpr HiddenControl kHiddenControls[] = {
    {"txttrig", ControlType::kTextBox, "."},
    {"down", ControlType::kTextBox, ""},
    {"scroll", ControlType::kLabel, "0"},
    {"Text2", ControlType::kTextBox, "Text2"},
    {"reas", ControlType::kTextBox, ""},
    {"messages", ControlType::kTextBox, ""},
    {"cuz", ControlType::kTextBox, ""},
    {"offbefore", ControlType::kTextBox, ""},
    {"onaf2", ControlType::kTextBox, ""},
    {"immune3", ControlType::kTextBox, "0"},
    {"gook", ControlType::kTextBox, "no reason"},
    {"roomen", ControlType::kTextBox, ""},
    {"roomenter2", ControlType::kTextBox, "default"},
    {"autoupp", ControlType::kTextBox, ""},
    {"m", ControlType::kLabel, "0"},
    {"h", ControlType::kLabel, "0"},
    {"d", ControlType::kLabel, "0"},
    {"m2", ControlType::kLabel, "0"},
    {"h2", ControlType::kLabel, "0"},
    {"d2", ControlType::kLabel, "0"},
    {"m1", ControlType::kLabel, "0"},
    {"h1", ControlType::kLabel, "0"},
    {"d1", ControlType::kLabel, "0"},
    {"scrolletr", ControlType::kLabel, "0"},
    {"s1", ControlType::kLabel, ""},
    {"lblfile", ControlType::kLabel, ""},
    {"lblper", ControlType::kLabel, ""},
    {"lblmins", ControlType::kLabel, ""},
};

// The clock labels that idle off resets, on `vantary` and on the console face.
constexpr std::string_view kClockLabels[] = {"m", "d", "h", "m2", "d2", "h2"};

// The interval as a stored or typed text gives it: the number from 1 to 12, or 0 when the
// text is no such number. Only digits count: "4.5", "-3" or "12abc" are no interval.
long long IntervalOf(std::string_view digits) {
  if (digits.empty() || DigitsOnly(digits) != digits) return 0;
  const long long n = NumericInt(digits);
  return n >= kIntervalMin && n <= kIntervalMax ? n : 0;
}

}  // namespace

std::string_view MainWindowCaption() { return "vantary³ by kestro"_ansi; }

SettingsPaths PathsOf(platform::Files& files) {
  const Text program = files.programFolder();
  const Text windows = files.windowsFolder();
  return SettingsPaths{program + "\\etr.cfj",        windows + "\\vantari4583.dat",
                       windows + "\\vantary12.ini",  windows + "\\vantary122.ini",
                       windows + "\\vantary123.ini", program + "\\ran.cfj"};
}

Console::Console(Platform& platform, ConsoleOptions options)
    : p_(platform), options_(options), paths_(PathsOf(platform.files)) {
  editors_ = std::make_unique<editors::EditorWindows>(p_, paths_.data);
  windows::FormDesc desc;
  desc.name = "vantary";
  desc.caption = Text(MainWindowCaption());
  desc.rect = {0, 0, 240, 180};
  desc.visible = false;
  desc.titleBar = true;
  desc.taskbarButton = true;
  form_ = std::make_unique<windows::Form>(p_, desc);
  createControls();
  menu_ = std::make_unique<ConsoleMenu>(p_.windows, form_->window());
  for (const MenuItemDef& item : MenuTree()) {
    if (item.command == MenuCommand::kNone) continue;
    const auto id = static_cast<std::uint32_t>(item.command);
    form_->onCommand(id, [this, id] { runMenuItem(id); });
  }
  host_ = std::make_unique<host::Host>(p_, [this] { return style(); });
  timer1_ = &form_->addTimer("Timer1", options_.minuteMs, [this] { MainTimerTick(); });
  scanner_ = std::make_unique<host::ChatScanner>(*host_, [this](const Text& sender, const Text& line) {
    if (chatLine_) chatLine_(sender, line);
  });
  autoUpchat_ = std::make_unique<host::AutoUpchat>(
      *host_, [this] { return idling(); }, [this] { timer1_->setEnabled(false); });
}

Console::~Console() {
  if (timer1_ != nullptr) timer1_->setEnabled(false);
  if (scanner_) scanner_->stop();
  if (autoUpchat_) autoUpchat_->setEnabled(false);
}

void Console::createControls() {
  windows::Form& f = *form_;
  int top = 0;
  for (const HiddenControl& c : kHiddenControls) {
    f.add({.name = Text(c.name),
           .type = c.type,
           .caption = Text(c.design),
           .rect = {0, top, 60, top + 16},
           .visible = false});
    top += 2;
  }
  // Label1 opens the menu; Picture1 shows itself when the mouse is released over it.
  f.add({.name = "Label1", .type = ControlType::kLabel, .caption = "", .rect = {100, 0, 140, 16}});
  f.add({.name = "Picture1", .type = ControlType::kPictureBox, .rect = {100, 20, 140, 60}, .visible = false});
  f.onMouseDown("Label1", [this](platform::Point) { showMenu(p_.screen.cursor()); });
  f.onMouseUp("Picture1", [this](platform::Point) { form_->showControl("Picture1", true); });
  f.onMouseDown("", [this](platform::Point) { windows::DragAndKeepOnScreen(p_, form_->window()); });
}

host::ChatStyle Console::style() const {
  host::ChatStyle s;
  s.color1 = editors_->color->text("Text1");
  s.color2 = editors_->color->text("Text2");
  s.ascii1 = editors_->ascii->text("Combo1");
  s.ascii2 = editors_->ascii->text("Combo2");
  s.ascii3 = editors_->ascii->text("Combo3");
  return s;
}

bool Console::idling() { return menu_->caption("idleon") == kIdleOffCaption; }

void Console::showMenu(platform::Point at) { menu_->showPopup(at); }

void Console::setMenuHandler(std::string_view item, Handler handler) {
  const MenuItemDef* def = FindMenuItem(item);
  if (def == nullptr || def->command == MenuCommand::kNone) return;
  menuHandlers_[static_cast<std::uint32_t>(def->command)] = std::move(handler);
}

void Console::setChatLineHandler(host::ChatScanner::ChatLineHandler handler) {
  chatLine_ = std::move(handler);
}

void Console::setCustomScroll(std::function<void(const host::BrowserDownload&)> scroll) {
  customScroll_ = std::move(scroll);
}

void Console::setEndHandler(Handler handler) { onEnd_ = std::move(handler); }

// A command reaches the window as a click on the item or as a posted WM_COMMAND; a greyed
// item does nothing either way.
void Console::runMenuItem(std::uint32_t command) {
  // The start-up routine lets events run while it waits for the host; a command that comes
  // in then (posted by another program, before the face even shows) runs once the routine
  // is done, so it never interleaves with the settings being read or the in-stats lines.
  if (starting_) {
    deferred_.push_back(command);
    return;
  }
  const std::string_view name = MenuItemName(command);
  if (name.empty() || !menu_->enabled(name)) return;
  if (auto it = menuHandlers_.find(command); it != menuHandlers_.end() && it->second) {
    Handler h = it->second;
    h();
    return;
  }
  switch (static_cast<MenuCommand>(command)) {
    case MenuCommand::kIdleOn:
      IdleCommand();
      break;
    case MenuCommand::kEnd:
      EndCommand();
      break;
    case MenuCommand::kScrollInt:
      IntervalCommand();
      break;
    case MenuCommand::kCurIdle:
      CurIdleCommand();
      break;
    case MenuCommand::kOverall:
      OverallCommand();
      break;
    case MenuCommand::kOverallClear:
      OverallClearCommand();
      break;
    case MenuCommand::kScrolTrans:
      ScrollTransferCommand();
      break;
    case MenuCommand::kDlul:
      DlulToggle();
      break;
    case MenuCommand::kAutoUp:
      AutoUpToggle();
      break;
    default:
      break;
  }
}

// ---- start-up --------------------------------------------------------------------------------

void Console::Load() {
  if (loaded_) return;
  loaded_ = true;
  starting_ = true;
  auto& files = p_.files;
  windows::Form& f = *form_;
  windows::Form& color = *editors_->color;
  windows::Form& ascii = *editors_->ascii;
  const auto writeAsciiLines = [&] {
    settings::WriteSetting(files, kSection, "autoascii1", ascii.text("Combo1"), paths_.data);
    settings::WriteSetting(files, kSection, "autoascii2", ascii.text("Combo2"), paths_.data);
    settings::WriteSetting(files, kSection, "autoascii3", ascii.text("Combo3"), paths_.data);
  };

  // 1, 2: watch the room; stay above other windows.
  scanner_->start();
  windows::StayOnTop(p_, f.window());

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
    writeAsciiLines();
  }
  // 4: a first start, or a data file lost since the last one, writes the data file
  // afresh from the windows' design values.
  if (!dataExisted) {
    writeAsciiLines();
    settings::WriteSetting(files, kSection, "color", color.text("Text1"), paths_.data);
    settings::WriteSetting(files, kSection, "color2", color.text("Text2"), paths_.data);
    settings::WriteSetting(files, kSection, "trig", f.text("txttrig"), paths_.config);
    settings::WriteSetting(files, kSection, "hour", f.text("h"), paths_.data);
    settings::WriteSetting(files, kSection, "minutes", f.text("m"), paths_.data);
    settings::WriteSetting(files, kSection, "day", f.text("d"), paths_.data);
    settings::WriteSetting(files, kSection, "hour2", f.text("h1"), paths_.data);
    settings::WriteSetting(files, kSection, "minutes2", f.text("m1"), paths_.data);
    settings::WriteSetting(files, kSection, "day2", f.text("d1"), paths_.data);
  }

  // 5: the overall idle time.
  const auto readData = [&](std::string_view key) {
    return settings::ReadSetting(files, kSection, key, paths_.data);
  };
  const auto readConfig = [&](std::string_view key) {
    return settings::ReadSetting(files, kSection, key, paths_.config);
  };
  f.setText("h1", StoredCounter(readData("hour2")));
  f.setText("d1", StoredCounter(readData("day2")));
  f.setText("m1", StoredCounter(readData("minutes2")));

  // 6: the multiple messages.
  settings::LoadList(p_, paths_.messages, editors_->messages->control("rnd"));

  // 7: every key into its control; a missing key empties the control.
  f.setText("down", readConfig("dlul"));
  f.setText("scroll", readConfig("int"));
  f.setText("Text2", readConfig("laggfree"));
  f.setText("reas", readConfig("reas"));
  f.setText("txttrig", readConfig("trig"));
  color.setText("Text1", readData("color"));
  color.setText("Text2", readData("color2"));
  f.setText("messages", readConfig("mm"));
  f.setText("offbefore", readConfig("offbe"));
  f.setText("onaf2", readConfig("onaf"));
  f.setText("cuz", readConfig("mm"));
  f.setText("immune3", readConfig("immune"));
  f.setText("gook", readConfig("reason"));
  f.setText("roomen", readConfig("roomenter"));
  f.setText("roomenter2", readConfig("setroom"));
  f.setText("autoupp", readConfig("autoup"));
  ascii.setText("Combo1", readData("autoascii1"));
  ascii.setText("Combo2", readData("autoascii2"));
  ascii.setText("Combo3", readData("autoascii3"));

  // 8 to 18: the menu from the settings.
  applySettingsToMenu();

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

  starting_ = false;
  const std::vector<std::uint32_t> waiting = std::exchange(deferred_, {});
  for (const std::uint32_t command : waiting) {
    if (p_.loop.quitRequested()) return;
    runMenuItem(command);
  }
}

void Console::applySettingsToMenu() {
  windows::Form& f = *form_;
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
      p_.dialogs.messageBox(f.window(),
                            "internal error has occured. please do not edit etr.cfj. error has occured",
                            "internal error", msg::kMbOk | msg::kMbIconError);
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

  const Text messages = f.text("messages");
  if (f.text("cuz") != "3") {
    if (messages == "0") {
      menu.check("mm", true);
      menu.check("rea2", false);
      menu.check("custom", false);
      menu.enable("editcus", false);
      menu.enable("editmul", true);
    } else if (messages == "1") {
      menu.enable("editmul", false);
      menu.check("mm", false);
      menu.check("custom", false);
      menu.check("rea2", true);
      menu.enable("editcus", false);
    }
  } else {
    menu.enable("editcus", true);
    menu.check("custom", true);
    menu.check("mm", false);
    menu.check("rea2", false);
    menu.enable("editmul", false);
  }

  if (f.text("offbefore") == "0") menu.check("offbe", false);
  if (f.text("onaf2") == "0") menu.check("onaf", false);

  if (messages.empty()) {
    menu.check("mm", false);
    menu.check("custom", false);
    menu.check("rea2", true);
    menu.enable("editcus", false);
  }
}

// ---- announcements and the idle session ---------------------------------------------------------

void Console::sendStatus(std::string_view ascii, std::string_view body) {
  const StatusLine line = Status(style(), ascii, body);
  host_->SendChatLine(line.rich);
  host_->SendPlainChatLine(line.plain);
}

void Console::Announce(bool starting) {
  windows::Form& f = *form_;
  const auto lines = StatsAnnouncement(style(), starting, f.text("d1"), f.text("h1"), f.text("m1"));
  for (std::size_t i = 0; i < 3; ++i) host_->SendChatLine(lines[i]);
  for (std::size_t i = 3; i < 6; ++i) host_->SendPlainChatLine(lines[i]);
}

void Console::IdleCommand() {
  windows::Form& f = *form_;
  const Text state = menu_->caption("idleon");
  if (state == kIdleOnCaption) {
    menu_->setCaption("idleon", kIdleOffCaption);
    timer1_->setEnabled(true);
    if (menu_->checked("roomidle")) {
      const Text room = f.text("roomenter2");
      if (text::NumericValue(host_->GetHostVersionText()) == 95) {
        host_->RunKeywordWindow(Text(kPrivateRoomKeyword) + room);
        host_->SendPlainChatLine(style().ascii1 + Text(" vantarý³ · enter'd. "_ansi) +
                                 RemoveSpaces(ToLower(room)));
      } else {
        host_->EnterPrivateRoom(room);
      }
    }
    if (menu_->checked("offbe")) host_->SendInstantMessage("$im_off", ";]");
    sendStatus(style().ascii1, Text(" vantarý³ · engaged"_ansi));
  } else if (state == kIdleOffCaption) {
    menu_->setCaption("idleon", kIdleOnCaption);
    timer1_->setEnabled(false);
    windows::Pause(p_, kIdleOffPauseSeconds);
    resetClock();
    if (menu_->checked("onaf")) {
      if (host_->GetScreenName().empty()) return;
      host_->SendInstantMessage("$im_on", ";]");
    }
    sendStatus(style().ascii1, Text(" vantarý³ · dis-engaged"_ansi));
  }
}

void Console::resetClock() {
  for (std::string_view label : kClockLabels) form_->setText(label, "0");
  if (face_ != nullptr) {
    for (std::string_view label : kClockLabels) face_->setLabel(label, "0");
  }
}

void Console::EndCommand() {
  Announce(false);
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

// ---- the main timer ---------------------------------------------------------------------------

void Console::MainTimerTick() {
  windows::Form& f = *form_;
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
    refreshUploadLabels();
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
  windows::Form& f = *form_;
  sendStatus(style().ascii1, TimeBody(f.text("d"), f.text("h"), f.text("m")));
  if (menu_->checked("rea") && scrollGoesOn()) {
    const Text reason =
        menu_->checked("rea2") ? f.text("gook") : editors::NextMultipleMessage(*editors_->messages);
    sendStatus(style().ascii2, " re: " + reason);
  }
}

void Console::refreshUploadLabels() {
  const host::UploadTexts texts = host_->ReadUploadTexts();
  form_->setText("lblfile", texts.file);
  form_->setText("lblper", texts.percent);
  form_->setText("lblmins", texts.minutes);
}

void Console::periodicTransferLines(const host::BrowserDownload& browser) {
  windows::Form& f = *form_;
  auto& ws = p_.windows;
  if (host_->FindTransferWindow()) {
    host_->RaiseDownloadWindow();
    f.setText("s1", host_->GetText(ws.nthChild(host_->FindDownloadWindow(), "_AOL_Static", 2)));
    const Text file = ToLower(host_->GetTransferFileName());
    const Text percent = DigitsOnly(host_->GetCaption(host_->FindDownloadWindow()));
    sendStatus(style().ascii3, DownloadBody(file, percent, DigitsOnly(RemoveSpaces(f.text("s1")))));
  }
  if (!scrollGoesOn()) return;
  if (host_->FindUploadModal()) {
    const StatusLine line = Status(style(), style().ascii3,
                                   UploadBody(f.text("lblfile"), DigitsOnly(f.text("lblper")),
                                              DigitsOnly(RemoveSpaces(f.text("lblmins")))));
    host_->SendPlainChatLine(line.plain);
    host_->SendChatLine(line.rich);
  }
  if (browser.found != 0 && scrollGoesOn()) {
    host_->SendChatLineEx(
        host::StatusPrefix(style(), style().ascii3) + "> ie.file: " + ToLower(browser.status), false, false);
  }
}

void Console::saveOverall() {
  windows::Form& f = *form_;
  settings::WriteSetting(p_.files, kSection, "hour2", f.text("h1"), paths_.data);
  settings::WriteSetting(p_.files, kSection, "minutes2", f.text("m1"), paths_.data);
  settings::WriteSetting(p_.files, kSection, "day2", f.text("d1"), paths_.data);
}

// ---- the interval and report commands -----------------------------------------------------------

void Console::IntervalCommand() {
  windows::Form& f = *form_;
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
  windows::Form& f = *form_;
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

// ---- transfers ----------------------------------------------------------------------------------

void Console::ScrollTransferCommand() {
  windows::Form& f = *form_;
  auto& ws = p_.windows;
  if (host_->GetScreenName().empty()) return;
  const host::ChatStyle s = style();
  if (host_->FindTransferWindow()) {
    host_->RaiseDownloadWindow();
    const Window first = ws.firstChild(host_->FindDownloadWindow(), "_AOL_Static");
    const Window second = first ? ws.findChild(host_->FindDownloadWindow(), first, "_AOL_Static") : Window{};
    f.setText("s1", host_->GetText(second));
    f.setText("s1", CleanTimeLeft(f.text("s1")));
    const Text file = ToLower(host_->GetTransferFileName());
    const Text percent = DigitsOnly(host_->GetCaption(host_->FindDownloadWindow()));
    const Text minutes = RemoveSpaces(f.text("s1"));
    const Text head = " d.file: " + file + "\r\n. " + percent + "p . \r\n";
    host_->SendChatLine(host::StatusPrefix(s, s.ascii1) + Text("> vantarý³ · brag dlstats ·"_ansi));
    host_->SendChatLine(host::StatusPrefix(s, s.ascii2) + ">" + head + minutes + Text("m ·"_ansi));
    host_->SendPlainChatLine(s.ascii1 + Text(" vantarý³ · brag dlstats ·"_ansi));
    host_->SendPlainChatLine(s.ascii2 + head + DigitsOnly(minutes) + Text("m ·"_ansi));
  } else if (host_->FindUploadModal()) {
    refreshUploadLabels();
    const Text body = UploadBody(f.text("lblfile"), DigitsOnly(f.text("lblper")),
                                 DigitsOnly(RemoveSpaces(f.text("lblmins"))));
    host_->SendChatLine(host::StatusPrefix(s, s.ascii1) + Text("> vantarý³ · brag ulstats ·"_ansi));
    host_->SendChatLine(host::StatusPrefix(s, s.ascii2) + "></u></b></s></i>" + body);
    host_->SendPlainChatLine(s.ascii1 + Text(" vantarý³ · brag ulstats ·"_ansi));
    host_->SendPlainChatLine(s.ascii2 + body);
  } else {
    host_->SendChatLine(host::StatusPrefix(s, s.ascii1) +
                        Text("> vantarý³ · not currently ul'n / dl'n ·"_ansi));
  }
}

void Console::DlulToggle() {
  if (menu_->checked("dlul")) {
    menu_->check("dlul", false);
    settings::WriteSetting(p_.files, kSection, "dlul", "0", paths_.config);
  } else {
    menu_->check("dlul", true);
    menu_->check("immune", false);
    settings::WriteSetting(p_.files, kSection, "dlul", "1", paths_.config);
  }
}

void Console::AutoUpToggle() {
  const bool on = !menu_->checked("autoup");
  menu_->check("autoup", on);
  form_->setText("autoupp", on ? "1" : "0");
  settings::WriteSetting(p_.files, kSection, "autoup", on ? "1" : "0", paths_.config);
  autoUpchat_->setEnabled(on);
}

}  // namespace vantary::console
