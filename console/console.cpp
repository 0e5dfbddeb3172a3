// The idle console's main window: its hidden controls and what the other windows of the
// program reach through it. The rest of the main window lives beside this file by
// section: start-up, the idle session, the clock and scrolls, transfers, menu dispatch.
#include "console/console.h"

#include <utility>

#include "toolkit/window_utils.h"

namespace vantary::console {
namespace {

using text::operator""_ansi;
using toolkit::ControlType;

// The hidden controls of `vantary` that hold the console's state, with their design
// values. Their names are the ones the settings and the rest of the program know them by.
struct HiddenControl {
  std::string_view name;
  ControlType type;
  std::string_view design;
  std::string_view meaning;
};
constexpr HiddenControl kHiddenControls[] = {
    {"txttrig", ControlType::kTextBox, ".", "the chat commands' trigger (key \"trig\")"},
    {"down", ControlType::kTextBox, "", "transfer lines in the scrolls, as read at start (key \"dlul\")"},
    {"scroll", ControlType::kLabel, "0", "the scroll interval in minutes, 1 to 12 (key \"int\")"},
    {"Text2", ControlType::kTextBox, "Text2", "the lag-free option as read at start (key \"laggfree\")"},
    {"reas", ControlType::kTextBox, "", "the reason line option as read at start (key \"reas\")"},
    {"messages", ControlType::kTextBox, "", "the message mode as read at start (key \"mm\")"},
    {"cuz", ControlType::kTextBox, "", "the message mode again, read for the custom mode \"3\" (key \"mm\")"},
    {"offbefore", ControlType::kTextBox, "",
     "instant messages off before idling, as read at start (key \"offbe\")"},
    {"onaf2", ControlType::kTextBox, "", "instant messages on after idling, as read at start (key \"onaf\")"},
    {"immune3", ControlType::kTextBox, "0", "immune scrolls, as read at start (key \"immune\")"},
    {"gook", ControlType::kTextBox, "no reason", "the away reason (key \"reason\")"},
    {"roomen", ControlType::kTextBox, "",
     "enter the room before idling, as read at start (key \"roomenter\")"},
    {"roomenter2", ControlType::kTextBox, "default", "the private room's name (key \"setroom\")"},
    {"autoupp", ControlType::kTextBox, "", "the auto upchat option (key \"autoup\")"},
    {"m", ControlType::kLabel, "0", "current idle minutes"},
    {"h", ControlType::kLabel, "0", "current idle hours"},
    {"d", ControlType::kLabel, "0", "current idle days"},
    {"m2", ControlType::kLabel, "0", "leading zero of the minutes"},
    {"h2", ControlType::kLabel, "0", "leading zero of the hours"},
    {"d2", ControlType::kLabel, "0", "leading zero of the days"},
    {"m1", ControlType::kLabel, "0", "overall idle minutes (key \"minutes2\" of the data file)"},
    {"h1", ControlType::kLabel, "0", "overall idle hours (key \"hour2\")"},
    {"d1", ControlType::kLabel, "0", "overall idle days (key \"day2\")"},
    {"scrolletr", ControlType::kLabel, "0", "minutes since the last scroll moment"},
    {"s1", ControlType::kLabel, "", "the download's time left as last read"},
    {"lblfile", ControlType::kLabel, "", "the upload's file as last read"},
    {"lblper", ControlType::kLabel, "", "the upload's percent (the modal's caption) as last read"},
    {"lblmins", ControlType::kLabel, "", "the upload's time left as last read"},
};

}  // namespace

std::string_view MainWindowCaption() { return "vantary³ by kestro"_ansi; }

Console::Console(Platform& platform, ConsoleOptions options)
    : p_(platform), options_(options), paths_(settings::PathsOf(platform.files)) {
  editors_ = std::make_unique<editors::EditorWindows>(p_, paths_);
  toolkit::FormDesc desc;
  desc.name = "vantary";
  desc.caption = Text(MainWindowCaption());
  desc.rect = {0, 0, 240, 180};
  desc.visible = false;
  desc.titleBar = true;
  desc.taskbarButton = true;
  form_ = std::make_unique<toolkit::Form>(p_, desc);
  createControls();
  menu_ = std::make_unique<ConsoleMenu>(p_.windows, form_->window());
  for (const MenuItemDef& item : MenuTree()) {
    if (item.command == MenuCommand::kNone) continue;
    const auto id = static_cast<std::uint32_t>(item.command);
    form_->onCommand(id, [this, id] { runMenuItem(id); });
  }
  form_->onMessage(kTrayCallbackMessage, [this](const platform::Message& m) { return trayCallback(m); });
  form_->onMessage(p_.tray.taskbarCreatedMessage(), [this](const platform::Message&) {
    trayRecreated();
    return std::optional<platform::LResult>{0};
  });
  // The hidden main window closed from outside (another program, the task list) ends the
  // program as "end" does, rather than leaving it running without its controls.
  form_->onCloseRequest([this] { requestEnd(); });
  form_->onMessage(platform::msg::kEndSession, [this](const platform::Message& m) {
    if (m.wParam != 0) sessionEnds();
    return std::optional<platform::LResult>{0};
  });
  host_ = std::make_unique<host::Host>(p_, [this] { return style(); });
  timer1_ = &form_->addTimer("Timer1", options_.minuteMs, [this] { MainTimerTick(); });
  retryTimer_ = &form_->addTimer("retry", kRetryWritesMs, [this] { retryUnstored(); });
  tellTimer_ = &form_->addTimer("tell", kTellCheckMs, [this] { tellWaiting(); });
  custom_ = std::make_unique<editors::CustomScroll>(*host_, *form_, *editors_);
  // A custom scroll stops where a standard one does: idle off or end during a line.
  setCustomScroll([this](const host::BrowserDownload& browser) {
    custom_->sendPeriodic(browser, [this] { return scrollGoesOn(); });
  });
  // The view button sends the custom scroll once, in its turn like every command.
  editors_->customs->setView([this] { runInTurn([this] { custom_->sendView(); }); });
  scanner_ = std::make_unique<host::ChatScanner>(
      *host_, [this](const Text& sender, const Text& line) { ChatLine(sender, line); });
  commandList_ = std::make_unique<windows::CommandList>(p_, [this] { return trigger(); });
  autoUpchat_ = std::make_unique<host::AutoUpchat>(
      *host_, [this] { return idling(); }, [this] { timer1_->setEnabled(false); });
}

Console::~Console() {
  *alive_ = false;
  // No dead icon stays in the tray once the program is gone.
  leaveTray();
  if (timer1_ != nullptr) timer1_->setEnabled(false);
  if (scanner_) scanner_->stop();
  if (autoUpchat_) autoUpchat_->setEnabled(false);
}

void Console::createControls() {
  toolkit::Form& f = *form_;
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
  f.onMouseDown("", [this](platform::Point) { toolkit::DragAndKeepOnScreen(p_, form_->window()); });
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

void Console::setCustomScroll(std::function<void(const host::BrowserDownload&)> scroll) {
  customScroll_ = std::move(scroll);
}

void Console::setEndHandler(Handler handler) { onEnd_ = std::move(handler); }

}  // namespace vantary::console
