// The console's menu tree and its state by item name.
#include "console/menu.h"

#include <array>
#include <vector>

namespace vantary::console {
namespace {

using C = MenuCommand;

constexpr MenuItemDef Item(std::string_view name, std::string_view caption, int depth, MenuCommand command,
                           bool checked = false, bool enabled = true) {
  return MenuItemDef{name, caption, depth, command, false, checked, enabled};
}
constexpr MenuItemDef Sub(std::string_view name, std::string_view caption, int depth) {
  return MenuItemDef{name, caption, depth, C::kNone, true, false, true};
}
constexpr MenuItemDef Separator(int depth) {
  return MenuItemDef{"-", "", depth, C::kNone, false, false, true};
}

// Design states: `dlul`, `rea`, `offbe`, `onaf` and `awaylog` checked; `setroom` greyed until
// `roomidle` is checked; `link`, `han` and `loggoff` greyed for good.
constexpr auto kTree = std::to_array<MenuItemDef>({
    Item("idleon", "idle &on", 0, C::kIdleOn),
    Separator(0),
    Sub("opts", "o&ptions", 0),
    Item("immune", "immun&e scrolls", 1, C::kImmune),
    Item("rea", "s&croll rea", 1, C::kRea, true),
    Item("dlul", "scroll &dl ' ul + msie", 1, C::kDlul, true),
    Separator(1),
    Item("rea2", "&reason", 1, C::kRea2),
    Item("link", "link r&ea", 1, C::kLink, false, false),
    Separator(1),
    Item("mm", "multiple message&s", 1, C::kMm),
    Item("editmul", "edit mul&ti message", 1, C::kEditMul),
    Separator(1),
    Item("custom", "&custom", 1, C::kCustom),
    Item("editcus", "edit c&ustom", 1, C::kEditCus),
    Separator(1),
    Item("roomidle", "roo&m before idle'n", 1, C::kRoomIdle),
    Item("setroom", "set room &name", 1, C::kSetRoom, false, false),
    Separator(1),
    Sub("im", "&ims", 1),
    Item("offbe", "off &before idle", 2, C::kOffBe, true),
    Item("onaf", "on &after idle", 2, C::kOnAf, true),
    Separator(1),
    Item("scrollint", "scroll interval:", 1, C::kScrollInt),
    Separator(1),
    Item("enterpr", "&chat enter", 1, C::kEnterPr),
    Separator(1),
    Item("awaylog", "a&way log", 1, C::kAwayLog, true),
    Item("awayreply", "auto re&ply", 1, C::kAwayReply),
    Item("awayset", "away settin&gs", 1, C::kAwaySet),
    Sub("trans", "&transfer", 0),
    Item("scroltrans", "scr&oll transfer", 1, C::kScrolTrans),
    Separator(1),
    Item("upchat", "u&pchat", 1, C::kUpchat),
    Item("unup", "unupch&at", 1, C::kUnup),
    Separator(1),
    Item("autoup", "a&uto upchat", 1, C::kAutoUp),
    Item("laggfree", "10&0% lagg free", 1, C::kLaggFree),
    Sub("pother", "oth&er opt", 0),
    Item("han", "handle", 1, C::kHan, false, false),
    Separator(1),
    Sub("brag", "bra&g", 1),
    Item("curidle", "c&ur. idle", 2, C::kCurIdle),
    Item("overall", "cur. &overall", 2, C::kOverall),
    Separator(2),
    Item("overallclear", "&clear overall", 2, C::kOverallClear),
    Sub("aolopts", "aol o&pt", 1),
    Item("hide", "hid&e", 2, C::kHide),
    Item("show", "sh&ow", 2, C::kShow),
    Sub("kill", "&kill", 1),
    Item("wait", "w&ait", 2, C::kWait),
    Item("welcome", "w&elcome", 2, C::kWelcome),
    Item("glyph", "&glyph", 2, C::kGlyph),
    Item("modal", "mo&dal", 2, C::kModal),
    Sub("systemcfg", "s&ystem", 1),
    Item("shutdown", "&shutdown", 2, C::kShutdown),
    Item("reboot", "&reboot", 2, C::kReboot),
    Item("loggoff", "&logoff user", 2, C::kLoggOff, false, false),
    Sub("dx", "co&lor", 1),
    Item("sdaf", "change&r", 2, C::kSdaf),
    Sub("asciiedit", "ascii", 1),
    Item("editascii", "ascii editor", 2, C::kEditAscii),
    Sub("cfgloadz", "cfg. loads", 1),
    Item("tunedeck", "tunedeck", 2, C::kTunedeck),
    Separator(1),
    Item("sf", "sig&noff", 1, C::kSf),
    Sub("view", "vie&w", 0),
    Item("greets", "&greets", 1, C::kGreets),
    Item("about", "ab&out", 1, C::kAbout),
    Item("helps", "h&elp", 1, C::kHelps),
    Item("awayview", "a&way", 1, C::kAwayView),
    Separator(0),
    Item("mini", "&minimize", 0, C::kMini),
    Item("end", "&end", 0, C::kEnd),
});

}  // namespace

std::span<const MenuItemDef> MenuTree() { return kTree; }

const MenuItemDef* FindMenuItem(std::string_view name) {
  if (name == "-") return nullptr;
  for (const MenuItemDef& item : kTree) {
    if (item.name == name) return &item;
  }
  return nullptr;
}

std::string_view MenuItemName(std::uint32_t command) {
  if (command == 0) return {};
  for (const MenuItemDef& item : kTree) {
    if (static_cast<std::uint32_t>(item.command) == command) return item.name;
  }
  return {};
}

ConsoleMenu::ConsoleMenu(platform::WindowSystem& windows, Window owner) : ws_(windows), owner_(owner) {
  bar_ = ws_.createMenuBar();
  popup_ = ws_.createPopupMenu();
  // The open sub-menu of each depth while the rows are walked top to bottom.
  std::vector<Menu> open{popup_};
  for (const MenuItemDef& item : kTree) {
    open.resize(static_cast<std::size_t>(item.depth) + 1);
    const Menu parent = open.back();
    if (item.submenu) {
      const Menu sub = ws_.createPopupMenu();
      ws_.appendSubmenu(parent, sub, item.caption);
      open.push_back(sub);
    } else if (item.name == "-") {
      ws_.appendMenuItem(parent, 0, "", platform::MenuItemFlags{.separator = true});
    } else {
      ws_.appendMenuItem(parent, static_cast<std::uint32_t>(item.command), item.caption,
                         platform::MenuItemFlags{.checked = item.checked, .disabled = !item.enabled});
    }
  }
  ws_.appendSubmenu(bar_, popup_, "menu");
  ws_.setMenu(owner_, bar_);
}

std::optional<std::uint32_t> ConsoleMenu::commandOf(std::string_view name) const {
  const MenuItemDef* item = FindMenuItem(name);
  if (item == nullptr || item->command == MenuCommand::kNone) return std::nullopt;
  return static_cast<std::uint32_t>(item->command);
}

bool ConsoleMenu::checked(std::string_view name) {
  const auto id = commandOf(name);
  return id && ws_.isMenuItemChecked(popup_, *id);
}

void ConsoleMenu::check(std::string_view name, bool checked) {
  if (const auto id = commandOf(name)) ws_.checkMenuItem(popup_, *id, checked);
}

bool ConsoleMenu::enabled(std::string_view name) {
  const auto id = commandOf(name);
  return id && ws_.isMenuItemEnabled(popup_, *id);
}

void ConsoleMenu::enable(std::string_view name, bool enabled) {
  if (const auto id = commandOf(name)) ws_.enableMenuItem(popup_, *id, enabled);
}

Text ConsoleMenu::caption(std::string_view name) {
  const auto id = commandOf(name);
  return id ? ws_.menuItemCaption(popup_, *id) : Text{};
}

void ConsoleMenu::setCaption(std::string_view name, std::string_view caption) {
  if (const auto id = commandOf(name)) ws_.setMenuItemCaption(popup_, *id, caption);
}

void ConsoleMenu::showPopup(platform::Point at) { ws_.trackPopupMenu(popup_, owner_, at); }

}  // namespace vantary::console
