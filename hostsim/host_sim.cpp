// The stand-in host: its window classes and their handlers, the frame with its menu bar
// and toolbar, the session, the host's dialogs and modals, and the scripting interface.
#include "hostsim/host_sim.h"

#include <algorithm>
#include <cassert>
#include <cstdio>
#include <exception>
#include <utility>

#include "hostsim/host_impl.h"
#include "text/text_ops.h"

namespace vantary::hostsim {
namespace {

using platform::BaseKind;
using platform::ClassSpec;
using platform::WindowSpec;
using platform::WindowStyle;

// The host running in each process, for the class handlers. Classes stay registered for
// the life of the process, so a host started later in the same process takes them over.
std::map<const WindowSystem*, HostSim::Impl*>& Hosts() {
  static std::map<const WindowSystem*, HostSim::Impl*> hosts;
  return hosts;
}

struct ClassDef {
  HostClass cls;
  const char* name;
  BaseKind base;
};

// "Edit", "#32770" and "Button" are the host's own classes of those names: the keyword box
// reacts to typing and Enter, the dialogs to their buttons, and the dialogs' buttons choose
// what they answer, which the system's classes would not tell the host.
constexpr ClassDef kClasses[] = {
    {HostClass::kFrame, "AOL Frame25", BaseKind::kMdiFrame},
    {HostClass::kToolbar, "AOL Toolbar", BaseKind::kPlain},
    {HostClass::kToolbarBar, "_AOL_Toolbar", BaseKind::kPlain},
    {HostClass::kGlyph, "_AOL_Glyph", BaseKind::kPlain},
    {HostClass::kCombobox, "_AOL_Combobox", BaseKind::kPlain},
    {HostClass::kKeywordBox, "Edit", BaseKind::kEdit},
    {HostClass::kChild, "AOL Child", BaseKind::kMdiChild},
    {HostClass::kRichText, "RICHCNTL", BaseKind::kEdit},
    {HostClass::kEdit, "_AOL_Edit", BaseKind::kEdit},
    {HostClass::kView, "_AOL_View", BaseKind::kEdit},
    {HostClass::kListbox, "_AOL_Listbox", BaseKind::kListBox},
    {HostClass::kCheckbox, "_AOL_Checkbox", BaseKind::kButton},
    {HostClass::kIcon, "_AOL_Icon", BaseKind::kPlain},
    {HostClass::kButton, "_AOL_Button", BaseKind::kButton},
    {HostClass::kStatic, "_AOL_Static", BaseKind::kStatic},
    {HostClass::kModal, "_AOL_Modal", BaseKind::kPlain},
    {HostClass::kPalette, "_AOL_Palette", BaseKind::kPlain},
    {HostClass::kDialog, "#32770", BaseKind::kDialog},
    {HostClass::kDialogButton, "Button", BaseKind::kButton},
};

// Menu commands the host acts on. Every other item has a number of its own and does
// nothing here.
enum : std::uint32_t {
  kCmdKeyword = 1001,
  kCmdSignOff = 1002,
  kCmdSendIm = 1003,
  kCmdAbout = 1004,
  kCmdBuddyList = 1005,
  kCmdOtherFirst = 1100,
};

bool IsTopLevel(WindowRole role) {
  switch (role) {
    case WindowRole::kHostDialog:
    case WindowRole::kAboutBox:
    case WindowRole::kSignOffQuestion:
    case WindowRole::kIdleModal:
    case WindowRole::kIdlePalette:
    case WindowRole::kUpload:
    case WindowRole::kBrowserDownload:
      return true;
    default:
      return false;
  }
}

// What the exception being handled says.
Text ExceptionText() {
  try {
    if (const std::exception_ptr e = std::current_exception()) std::rethrow_exception(e);
  } catch (const std::exception& e) {
    return e.what();
  } catch (...) {
  }
  return "an exception that is no std::exception";
}

constexpr Rect kFrameRect{0, 0, 800, 600};
constexpr int kToolbarHeight = 60;

}  // namespace

Text GenerationText(Generation g) {
  switch (g) {
    case Generation::k5:
      return "5";
    case Generation::k4:
      return "4";
    case Generation::k3:
      return "95";
    case Generation::k2:
      return "25";
  }
  return "";
}

Text NameKey(std::string_view name) { return text::ToLower(text::RemoveSpaces(name)); }

// ---- construction -----------------------------------------------------------------------

HostSim::Impl::Impl(platform::Platform& platform, Generation g)
    : p(platform),
      ws(platform.windows),
      generation(g),
      privacySaved{true, false, false, false, false, false, false},
      idleTimer(platform.loop, kDefaultIdleAfterMs, guarded("idle timer", [this] { raiseIdleWindows(); })),
      standTimer(platform.loop, kDefaultIdleStandMs, guarded("idle stand timer", [this] {
                   standTimer.setEnabled(false);
                   if (idleWindowsStand()) signOff();
                 })) {
  assert(Hosts().count(&ws) == 0 && "one host per process");
  Hosts()[&ws] = this;
  privateLayout = g == Generation::k2 ? RoomLayout::kPlain : RoomLayout::kRich;
  registerClasses();
  buildFrame();
  openSignOnScreen();
}

HostSim::Impl::~Impl() {
  tearingDown = true;
  *alive = false;
  idleTimer.setEnabled(false);
  standTimer.setEnabled(false);
  scheduled.clear();
  transfers.clear();
  // The host's top-level windows (modals, palette, dialogs) go first, then the frame with
  // everything inside it.
  std::vector<Window> topLevel;
  for (const auto& [w, role] : roles) {
    if (IsTopLevel(role)) topLevel.push_back(w);
  }
  for (Window w : topLevel) {
    if (ws.exists(w)) ws.destroy(w);
  }
  if (ws.exists(frame)) ws.destroy(frame);
  Hosts().erase(&ws);
}

void HostSim::Impl::registerClasses() {
  for (const ClassDef& def : kClasses) {
    ClassSpec desc;
    desc.name = def.name;
    desc.base = def.base;
    desc.handler = [windows = &ws, cls = def.cls, name = def.name](Window w, const Message& m) -> LResult {
      const auto it = Hosts().find(windows);
      if (it == Hosts().end()) return windows->callDefault(w, m);
      try {
        return it->second->handle(cls, w, m);
      } catch (...) {
        // Nothing may escape a window handler: the act stays undone and the fault is
        // recorded (the handler may have ended the host, so it is looked up again).
        const auto host = Hosts().find(windows);
        if (host != Hosts().end()) {
          char where[96];
          std::snprintf(where, sizeof where, "window handler of %s, message 0x%04X", name,
                        static_cast<unsigned>(m.id));
          host->second->noteFault(where);
        }
        return 0;
      }
    };
    // A class kept from an earlier host in this process dispatches through Hosts() too.
    ws.registerClass(desc);
  }
}

// ---- handlers ---------------------------------------------------------------------------

LResult HostSim::Impl::handle(HostClass cls, Window w, const Message& m) {
  switch (cls) {
    case HostClass::kFrame:
      if (m.id == msg::kCommand && m.lParam == 0) {
        runMenuCommand(static_cast<std::uint32_t>(platform::LowWord(m.wParam)));
        return 0;
      }
      // The host goes only with its process.
      if (m.id == msg::kClose) return 0;
      break;
    case HostClass::kKeywordBox: {
      // Other edits of the host's process that come to be of this class keep the
      // system's behaviour.
      if (w != keywordBox) break;
      if (m.id == msg::kChar && m.wParam == 13) {
        takeKeyword(w);
        return 0;
      }
      // The host learns the keyword from the keys typed into the box, not from a text
      // set into it (see takeKeyword).
      const LResult r = ws.callDefault(w, m);
      if (m.id == msg::kSetText) keywordTyped = false;
      if (m.id == msg::kChar) keywordTyped = true;
      return r;
    }
    case HostClass::kRichText:
    case HostClass::kEdit:
      if (m.id == msg::kSetText && cls == HostClass::kRichText) {
        // A text set over text the rich input box still holds joins that text's
        // formatting instead of starting a line of its own (see takeChatLine).
        Room* room = roomOf(w);
        if (room != nullptr && room->input == w) {
          const auto* set = reinterpret_cast<const char*>(m.lParam);
          const bool setsText = set != nullptr && *set != '\0';
          const bool holdsText = ws.callDefault(w, Message{msg::kGetTextLength, 0, 0}) > 0;
          room->inputSetOverText = setsText && holdsText;
        }
        break;
      }
      if (m.id == msg::kChar && m.wParam == 13) {
        const auto it = controls.find(w);
        if (it != controls.end() && it->second.role == ControlRole::kRoomInput) {
          takeChatLine(w);
          return 0;
        }
        if (it != controls.end() && it->second.role == ControlRole::kKeywordEdit) {
          if (it->second.click) defer(it->second.click);
          return 0;
        }
      }
      break;
    case HostClass::kListbox:
      if (m.id == msg::kLButtonDblClk) {
        openMemberInfo(w);
        return 0;
      }
      break;
    case HostClass::kCheckbox:
    case HostClass::kIcon:
    case HostClass::kButton:
      return handleClickable(cls, w, m);
    case HostClass::kChild:
    case HostClass::kModal:
    case HostClass::kPalette:
      if (m.id == msg::kDestroy) forget(w);
      break;
    case HostClass::kDialog:
      // Only the host's own dialogs close on their buttons; any other dialog of the
      // process that comes to be of this class keeps the system's behaviour.
      if (roles.count(w) == 0) break;
      if ((m.id == msg::kCommand && platform::HighWord(m.wParam) == msg::kBnClicked) || m.id == msg::kClose) {
        noteActivity();
        closeLater(w);
        return 0;
      }
      if (m.id == msg::kDestroy) forget(w);
      break;
    case HostClass::kDialogButton: {
      // The host's dialogs take their answer from the keyboard only: a dialog runs its own
      // message loop, which lets a mouse message through only while the mouse really is
      // over the button (it asks the system where the mouse is), so a click that another
      // program sends does nothing. The space bar on the button answers it. Buttons of
      // other windows keep the system's behaviour.
      const auto dialog = roles.find(ws.parentOf(w));
      const bool mouse = m.id == msg::kLButtonDown || m.id == msg::kLButtonUp || m.id == msg::kLButtonDblClk;
      if (mouse && dialog != roles.end() && dialog->second == WindowRole::kHostDialog) return 0;
      break;
    }
    default:
      break;
  }
  return ws.callDefault(w, m);
}

// Icons, buttons and check boxes act on a press and release (mouse button or space bar)
// on the same control, as the program's clicks arrive: both parameters 0, sent or posted.
LResult HostSim::Impl::handleClickable(HostClass cls, Window w, const Message& m) {
  if (settling(w)) {
    const bool works = m.id == msg::kLButtonDown || m.id == msg::kLButtonUp || m.id == msg::kKeyDown ||
                       m.id == msg::kKeyUp || m.id == msg::kBmSetCheck;
    if (works) return 0;
  }
  const bool down = m.id == msg::kLButtonDown || (m.id == msg::kKeyDown && m.wParam == msg::kVkSpace);
  const bool up = m.id == msg::kLButtonUp || (m.id == msg::kKeyUp && m.wParam == msg::kVkSpace);
  if (cls == HostClass::kCheckbox && m.id == msg::kBmSetCheck) {
    // Any non-zero state (the program passes -1) checks the box.
    const LResult r = ws.callDefault(
        w, Message{msg::kBmSetCheck, m.wParam != 0 ? msg::kBstChecked : msg::kBstUnchecked, 0});
    const auto it = controls.find(w);
    if (it != controls.end()) {
      if (it->second.role == ControlRole::kIgnoreBox) setIgnored(it->second.member, m.wParam != 0);
      if (it->second.role == ControlRole::kPrivacyBox) privacyBoxChanged(w, m.wParam != 0);
    }
    return r;
  }
  if (down) {
    pressed.insert(w);
    return 0;
  }
  if (up) {
    if (pressed.erase(w) == 0) return 0;
    noteActivity();
    if (cls == HostClass::kCheckbox) {
      // The box changes at once: the program reads its state right after the click.
      const bool checked = ws.callDefault(w, Message{msg::kBmGetCheck, 0, 0}) == msg::kBstChecked;
      handleClickable(cls, w, Message{msg::kBmSetCheck, checked ? 0u : 1u, 0});
      return 0;
    }
    defer([this, w] {
      const auto it = controls.find(w);
      if (it != controls.end() && it->second.click) {
        auto click = it->second.click;
        click();
      }
    });
    return 0;
  }
  if (m.id == msg::kLButtonDblClk) return 0;
  return ws.callDefault(w, m);
}

// ---- window helpers ---------------------------------------------------------------------

Window HostSim::Impl::makeControl(Window parent, const char* className, const Text& caption, Rect rect,
                                  WindowStyle style) {
  WindowSpec desc;
  desc.className = className;
  desc.caption = caption;
  desc.style = style;
  desc.style.child = true;
  desc.style.visible = true;
  desc.parent = parent;
  desc.rect = rect;
  return ws.create(desc);
}

Window HostSim::Impl::makeChild(const Text& caption, Rect rect, WindowRole role) {
  WindowSpec desc;
  desc.className = "AOL Child";
  desc.caption = caption;
  desc.style.visible = true;
  desc.style.child = true;
  desc.style.caption = true;
  desc.parent = mdi;
  desc.rect = rect;
  const Window w = ws.create(desc);
  if (w) {
    roles[w] = role;
    // The newest host child is the active one, at the top of the host's child order.
    bringToTop(w);
  }
  return w;
}

Window HostSim::Impl::makeTopLevel(const char* className, const Text& caption, Rect rect, WindowRole role) {
  WindowSpec desc;
  desc.className = className;
  desc.caption = caption;
  desc.style.visible = true;
  desc.style.caption = true;
  desc.rect = rect;
  desc.owner = frame;
  const Window w = ws.create(desc);
  if (w) roles[w] = role;
  return w;
}

void HostSim::Impl::setClick(Window control, Window owner, std::function<void()> click) {
  if (!control) return;
  Control c;
  c.owner = owner;
  c.click = std::move(click);
  controls[control] = std::move(c);
}

void HostSim::Impl::setControl(Window control, Control c) {
  if (control) controls[control] = std::move(c);
}

void HostSim::Impl::after(Window owner, std::uint32_t ms, const char* where, std::function<void()> work) {
  const int id = nextScheduled++;
  auto timer = std::make_unique<platform::Timer>(
      p.loop, ms, guarded(where, [this, id, work = std::move(work)] {
        const auto it = scheduled.find(id);
        if (it == scheduled.end()) return;
        // The timer goes when its one tick is over (the loop keeps the running tick alive).
        const std::unique_ptr<platform::Timer> done = std::move(it->second.timer);
        scheduled.erase(it);
        work();
      }));
  timer->setEnabled(true);
  scheduled[id] = Later{owner, std::move(timer)};
}

bool HostSim::Impl::settling(Window control) const {
  const auto it = controls.find(control);
  return it != controls.end() && waitingForServers.count(it->second.owner) != 0;
}

void HostSim::Impl::bringToTop(Window window) {
  ws.setPosition(window, msg::kHwndTop, Rect{}, msg::kSwpNoMove | msg::kSwpNoSize);
}

void HostSim::Impl::defer(std::function<void()> work) {
  p.loop.postWork([this, keep = alive, work = std::move(work)] {
    if (!*keep) return;
    try {
      work();
    } catch (...) {
      // As in the handlers: the act stays undone and the fault is recorded.
      if (*keep) noteFault("deferred work");
    }
  });
}

std::function<void()> HostSim::Impl::guarded(const char* where, std::function<void()> tick) {
  return [this, where, tick = std::move(tick)] {
    try {
      tick();
    } catch (...) {
      noteFault(where);
    }
  };
}

void HostSim::Impl::noteFault(std::string_view where) noexcept {
  ++faults;
  try {
    const Text fault = Text(where) + ": " + ExceptionText();
    if (!firstFault) firstFault = fault;
    if (faultListener) faultListener(fault);
  } catch (...) {
    // Memory ran out while the fault was written down: the count still tells of it.
  }
}

void HostSim::Impl::closeLater(Window window) {
  defer([this, window] {
    if (ws.exists(window)) ws.destroy(window);
  });
}

std::vector<Window> HostSim::Impl::windowsWithRole(WindowRole role) const {
  std::vector<Window> found;
  for (const auto& [w, r] : roles) {
    if (r == role) found.push_back(w);
  }
  return found;
}

Window HostSim::Impl::firstWithRole(WindowRole role) const {
  for (const auto& [w, r] : roles) {
    if (r == role) return w;
  }
  return Window{};
}

// A host window went away, closed by the host, the user or another program: the host
// forgets what it kept about it.
void HostSim::Impl::forget(Window window) {
  const auto found = roles.find(window);
  if (found == roles.end()) return;
  const WindowRole role = found->second;
  roles.erase(found);
  waitingForServers.erase(window);
  // What the host meant to do for the window later is not done.
  std::erase_if(scheduled, [window](const auto& entry) { return entry.second.owner == window; });
  for (auto it = controls.begin(); it != controls.end();) {
    if (it->second.owner == window) {
      pressed.erase(it->first);
      it = controls.erase(it);
    } else {
      ++it;
    }
  }
  switch (role) {
    case WindowRole::kRoom:
      // The rows go before the records they point at.
      for (const auto& r : rooms) {
        if (r->window == window) ws.callDefault(r->people, Message{msg::kLbResetContent, 0, 0});
      }
      std::erase_if(rooms, [window](const std::unique_ptr<Room>& r) { return r->window == window; });
      break;
    case WindowRole::kInstantMessage:
      imWindows.erase(window);
      break;
    case WindowRole::kDownload:
    case WindowRole::kUpload: {
      int closed = 0;
      for (auto& [id, t] : transfers) {
        if (t->window == window) {
          t->window = Window{};  // already going
          closed = id;
        }
      }
      if (closed != 0) endTransfer(closed);
      break;
    }
    case WindowRole::kBrowserDownload:
      browser = Window{};
      break;
    case WindowRole::kIdleModal:
    case WindowRole::kIdlePalette:
      idleWindowGone();
      break;
    default:
      break;
  }
}

// ---- frame and menus ----------------------------------------------------------------------

void HostSim::Impl::buildFrame() {
  WindowSpec desc;
  desc.className = "AOL Frame25";
  desc.caption = "America  Online";  // two blanks, as the host has always written it
  desc.style.visible = true;
  desc.style.caption = true;
  desc.rect = kFrameRect;
  frame = ws.create(desc);

  const int w = kFrameRect.width();
  toolbar = makeControl(frame, "AOL Toolbar", "", Rect{0, 0, w, kToolbarHeight});
  toolbarBar = makeControl(toolbar, "_AOL_Toolbar", "", Rect{0, 0, w, kToolbarHeight});
  int x = 4;
  for (const char* name : {"Read", "Write", "Mail Center", "Print", "My Files", "My AOL", "Favorites",
                           "Internet", "Channels", "People"}) {
    makeControl(toolbarBar, "_AOL_Icon", name, Rect{x, 2, x + 40, 34});
    x += 42;
  }
  keywordCombo = makeControl(toolbarBar, "_AOL_Combobox", "", Rect{4, 36, 300, 58});
  keywordBox = makeControl(keywordCombo, "Edit", "", Rect{2, 2, 270, 20});
  const Window go = makeControl(toolbarBar, "_AOL_Icon", "Go", Rect{304, 36, 340, 58});
  setClick(go, frame, [this] { takeKeyword(keywordBox); });
  const Window keywordIcon = makeControl(toolbarBar, "_AOL_Icon", "Keyword", Rect{344, 36, 400, 58});
  setClick(keywordIcon, frame, [this] { openKeywordWindow(); });
  // The animated logo at the toolbar's end.
  glyph = makeControl(toolbarBar, "_AOL_Glyph", "", Rect{w - 60, 2, w - 4, 58});

  mdi = makeControl(frame, "MDIClient", "", Rect{0, kToolbarHeight, w, kFrameRect.height()});
  buildMenuBar();
}

void HostSim::Impl::buildMenuBar() {
  using Items = std::vector<std::pair<Text, std::uint32_t>>;
  std::uint32_t other = kCmdOtherFirst;
  const auto plain = [&other](const char* caption) {
    return std::pair<Text, std::uint32_t>(caption, other++);
  };

  // The tenth item of the fifth menu names the release, and the generation 2 help menu
  // starts with its contents: the program tells the generations apart by them.
  Text release;
  switch (generation) {
    case Generation::k5:
      release = "What's New in AOL 5.0";
      break;
    case Generation::k4:
      release = "What's New in AOL 4.0";
      break;
    case Generation::k3:
      release = "What's &New";
      break;
    case Generation::k2:
      release = "&Member Services";
      break;
  }
  std::vector<std::pair<Text, Items>> menus = {
      {"&File",
       {plain("&New"), plain("&Open..."), plain("&Save"), plain("Save &As..."), plain("&Print..."),
        plain("&Download Manager"), plain("E&xit")}},
      {"&Edit", {plain("&Undo"), plain("Cu&t"), plain("&Copy"), plain("&Paste"), plain("Select &All")}},
      {"&Go To",
       {{"&Sign Off", kCmdSignOff},
        {"&Keyword...", kCmdKeyword},
        plain("&Welcome"),
        plain("&Lobby"),
        plain("Edit Go To &Menu")}},
      {"&Mail",
       {plain("&Compose Mail"), plain("&Read New Mail"), plain("&Old Mail"), plain("&Address Book")}},
      {"&Members",
       {{"&Send An Instant Message", kCmdSendIm},
        plain("&Get a Member's Profile"),
        plain("&Locate a Member Online"),
        plain("Member &Directory"),
        {"&Buddy List", kCmdBuddyList},
        plain("&Preferences"),
        plain("Edit &Screen Names"),
        plain("Edit &Your Profile"),
        plain("Parental &Controls"),
        {release, other++},
        plain("Member &Services")}},
      {"&Window", {plain("&Cascade"), plain("&Tile"), plain("&Arrange Icons"), plain("Close &All")}},
  };
  if (generation == Generation::k2) {
    menus.push_back({"&Help",
                     {plain("&Contents"),
                      plain("&Search for Help on..."),
                      plain("&How to Use Help"),
                      {"&About America Online", kCmdAbout}}});
  } else {
    menus.push_back(
        {"&Help", {plain("&Help Topics"), plain("&Offline Help"), {"&About America Online", kCmdAbout}}});
  }
  if (generation == Generation::k4 || generation == Generation::k5) {
    menus.push_back({"F&avorites", {plain("&Favorite Places"), plain("&Add Top Window to Favorites")}});
  }

  const platform::Menu bar = ws.createMenuBar();
  for (const auto& [title, items] : menus) {
    const platform::Menu sub = ws.createPopupMenu();
    for (const auto& [caption, id] : items) ws.appendMenuItem(sub, id, caption);
    ws.appendSubmenu(bar, sub, title);
  }
  ws.setMenu(frame, bar);
}

void HostSim::Impl::runMenuCommand(std::uint32_t id) {
  noteActivity();
  switch (id) {
    case kCmdKeyword:
      openKeywordWindow();
      break;
    case kCmdSignOff:
      if (!signedOn) break;
      if (generation == Generation::k2) {
        askSignOff();
      } else {
        signOff();
      }
      break;
    case kCmdSendIm:
      if (signedOn) openInstantMessage("");
      break;
    case kCmdAbout:
      showAboutBox();
      break;
    case kCmdBuddyList:
      if (signedOn) openBuddyList();
      break;
    default:
      break;
  }
}

// ---- session ------------------------------------------------------------------------------

void HostSim::Impl::openSignOnScreen() {
  if (firstWithRole(WindowRole::kSignOnScreen)) return;
  const Window w = makeChild("Sign On", Rect{150, 40, 550, 380}, WindowRole::kSignOnScreen);
  makeControl(w, "_AOL_Static", "Select Screen Name:", Rect{20, 200, 200, 220});
  makeControl(w, "_AOL_Combobox", "", Rect{20, 222, 200, 244});
  makeControl(w, "_AOL_Static", "Enter Password:", Rect{210, 200, 380, 220});
  makeControl(w, "_AOL_Icon", "Setup", Rect{20, 280, 80, 320});
  makeControl(w, "_AOL_Icon", "Help", Rect{90, 280, 150, 320});
  makeControl(w, "_AOL_Icon", "Sign On", Rect{300, 280, 380, 320});
}

void HostSim::Impl::signOn(const Text& name) {
  if (signedOn) signOff();
  for (Window w : windowsWithRole(WindowRole::kSignOnScreen)) ws.destroy(w);
  signedOn = true;
  screenName = name;
  acceptedAt.clear();
  const Window w = makeChild("Welcome, " + name + "!", Rect{20, 20, 520, 340}, WindowRole::kWelcome);
  makeControl(w, "_AOL_Static", "You have mail.", Rect{20, 20, 300, 40});
  makeControl(w, "_AOL_Icon", "Read Mail", Rect{20, 60, 80, 110});
  makeControl(w, "_AOL_Icon", "Channels", Rect{90, 60, 150, 110});
  makeControl(w, "_AOL_Icon", "What's New", Rect{160, 60, 220, 110});
  restartIdleClock();
}

void HostSim::Impl::signOff() {
  if (!signedOn) return;
  signedOn = false;
  ++signOffs;
  idleTimer.setEnabled(false);
  standTimer.setEnabled(false);
  while (!transfers.empty()) endTransfer(transfers.begin()->first);
  // Every online window closes; the web browser's dialog is not the host's.
  std::vector<Window> online;
  for (const auto& [w, role] : roles) {
    if (role != WindowRole::kBrowserDownload && role != WindowRole::kSignOnScreen) online.push_back(w);
  }
  for (Window w : online) {
    if (ws.exists(w)) ws.destroy(w);
    forget(w);
  }
  screenName.clear();
  acceptedAt.clear();
  openSignOnScreen();
}

void HostSim::Impl::askSignOff() {
  if (firstWithRole(WindowRole::kSignOffQuestion)) return;
  const Window m =
      makeTopLevel("_AOL_Modal", "America Online", Rect{250, 200, 550, 330}, WindowRole::kSignOffQuestion);
  makeControl(m, "_AOL_Static", "Are you sure you want to sign off?", Rect{20, 20, 280, 50});
  const Window yes = makeControl(m, "_AOL_Button", "Yes", Rect{40, 80, 120, 105});
  const Window no = makeControl(m, "_AOL_Button", "No", Rect{160, 80, 240, 105});
  setClick(yes, m, [this, m] {
    if (ws.exists(m)) ws.destroy(m);
    signOff();
  });
  setClick(no, m, [this, m] { closeLater(m); });
}

void HostSim::Impl::showAboutBox() {
  ++aboutBoxes;
  const Window m =
      makeTopLevel("_AOL_Modal", "About America Online", Rect{200, 150, 560, 400}, WindowRole::kAboutBox);
  Text release = "America Online for Windows";
  switch (generation) {
    case Generation::k5:
      release += " 5.0";
      break;
    case Generation::k4:
      release += " 4.0";
      break;
    case Generation::k3:
      release += " 95 3.0";
      break;
    case Generation::k2:
      release += " 2.5";
      break;
  }
  makeControl(m, "_AOL_Static", release, Rect{20, 20, 340, 40});
  makeControl(m, "_AOL_Static", "Copyright America Online, Inc.", Rect{20, 50, 340, 70});
  const Window ok = makeControl(m, "_AOL_Icon", "OK", Rect{140, 190, 220, 230});
  setClick(ok, m, [this, m] { closeLater(m); });
}

// A host dialog "America Online": its message and one button, which closes it.
Window HostSim::Impl::makeDialog(const Text& message, const char* button, int buttonId) {
  const Window d =
      makeTopLevel("#32770", "America Online", Rect{250, 220, 570, 340}, WindowRole::kHostDialog);
  makeControl(d, "Static", message, Rect{16, 16, 304, 56});
  WindowSpec desc;
  desc.className = "Button";
  desc.caption = button;
  desc.style.child = true;
  desc.style.visible = true;
  desc.parent = d;
  desc.rect = Rect{120, 70, 200, 94};
  desc.controlId = buttonId;
  ws.create(desc);
  return d;
}

void HostSim::Impl::showHostDialog(const Text& message) {
  dialogs.push_back(ShownDialog{message});
  makeDialog(message, "OK", msg::kIdOk);
}

void HostSim::Impl::noteActivity() {
  if (signedOn && !idleWindowsStand()) restartIdleClock();
}

// ---- the scripting interface ---------------------------------------------------------------

HostSim::HostSim(platform::Platform& platform, Generation generation)
    : impl_(std::make_unique<Impl>(platform, generation)) {}

HostSim::~HostSim() = default;

void HostSim::noteFault(std::string_view where) noexcept { impl_->noteFault(where); }
const std::optional<Text>& HostSim::firstFault() const { return impl_->firstFault; }
int HostSim::faultCount() const { return impl_->faults; }
void HostSim::setFaultListener(std::function<void(const Text&)> listener) {
  impl_->faultListener = std::move(listener);
}

void HostSim::signOn(const Text& screenName) { impl_->signOn(screenName); }
void HostSim::signOff() { impl_->signOff(); }
bool HostSim::signedOn() const { return impl_->signedOn; }
Text HostSim::screenName() const { return impl_->screenName; }
int HostSim::signOffCount() const { return impl_->signOffs; }

void HostSim::setGeneration(Generation generation) {
  impl_->generation = generation;
  impl_->privateLayout = generation == Generation::k2 ? RoomLayout::kPlain : RoomLayout::kRich;
  impl_->buildMenuBar();
}

Generation HostSim::generation() const { return impl_->generation; }

bool HostSim::instantMessagesOn() const { return impl_->imOn; }
void HostSim::setAnswerInstantMessagesWithDialog(bool answer) { impl_->answerWithDialog = answer; }
const std::vector<SentInstantMessage>& HostSim::sentInstantMessages() const { return impl_->sent; }
std::vector<bool> HostSim::privacySettings() const { return impl_->privacySaved; }
bool HostSim::ghost() const { return impl_->privacySaved[4] && impl_->privacySaved[6]; }

bool HostSim::isIgnored(const Text& member) const { return impl_->ignored(member); }
std::vector<Text> HostSim::ignoredMembers() const { return impl_->ignoredMembers; }

const std::vector<Text>& HostSim::keywordsRun() const { return impl_->keywords; }
const std::vector<ShownDialog>& HostSim::dialogsShown() const { return impl_->dialogs; }
int HostSim::aboutBoxesShown() const { return impl_->aboutBoxes; }

Window HostSim::frame() const { return impl_->frame; }
Window HostSim::mdiClient() const { return impl_->mdi; }
Window HostSim::keywordBox() const { return impl_->keywordBox; }

}  // namespace vantary::hostsim
