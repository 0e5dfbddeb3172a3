// The console's menu tree `menu`: every item with its caption, nesting, design check mark
// and enabled state, its fixed command identifier, and access to its state by name.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

#include "platform/platform.h"
#include "text/ansi.h"

namespace vantary::console {

using platform::Menu;
using platform::Window;
using text::Text;

// Command identifiers of the items. They are a contract with outside programs: a
// WM_COMMAND carrying one of them, posted to the main window, runs the item as a click
// does (README, "Menu command identifiers"). Never renumber; add new items at new numbers.
enum class MenuCommand : std::uint32_t {
  kNone = 0,
  kIdleOn = 1001,
  kImmune = 1101,
  kRea = 1102,
  kDlul = 1103,
  kRea2 = 1104,
  kLink = 1105,
  kMm = 1106,
  kEditMul = 1107,
  kCustom = 1108,
  kEditCus = 1109,
  kRoomIdle = 1110,
  kSetRoom = 1111,
  kOffBe = 1112,
  kOnAf = 1113,
  kScrollInt = 1114,
  kEnterPr = 1115,
  kAwayLog = 1116,
  kAwayReply = 1117,
  kAwaySet = 1118,
  kScrolTrans = 1201,
  kUpchat = 1202,
  kUnup = 1203,
  kAutoUp = 1204,
  kLaggFree = 1205,
  kHan = 1301,
  kCurIdle = 1302,
  kOverall = 1303,
  kOverallClear = 1304,
  kHide = 1305,
  kShow = 1306,
  kWait = 1307,
  kWelcome = 1308,
  kGlyph = 1309,
  kModal = 1310,
  kShutdown = 1311,
  kReboot = 1312,
  kLoggOff = 1313,
  kSdaf = 1314,
  kEditAscii = 1315,
  kTunedeck = 1316,
  kSf = 1317,
  kGreets = 1401,
  kAbout = 1402,
  kHelps = 1403,
  kAwayView = 1404,
  kMini = 1501,
  kEnd = 1502,
};

// One row of the tree, top to bottom. A separator has the name "-"; a sub-menu has no
// command and holds the rows that follow it one level deeper.
struct MenuItemDef {
  std::string_view name;
  std::string_view caption;  // Windows-1252, with the access key's ampersand
  int depth = 0;             // 0: directly under `menu`
  MenuCommand command = MenuCommand::kNone;
  bool submenu = false;
  bool checked = false;  // design state
  bool enabled = true;   // design state
};

// The whole tree, in order.
std::span<const MenuItemDef> MenuTree();
// The row of an item by its control name, or nullptr.
const MenuItemDef* FindMenuItem(std::string_view name);
// The name of the item with this command ("" when none).
std::string_view MenuItemName(std::uint32_t command);

// The captions of `idleon`: not idling ("idle &on") and idling ("idle of&f").
inline constexpr std::string_view kIdleOnCaption = "idle &on";
inline constexpr std::string_view kIdleOffCaption = "idle of&f";

// The tree built in the window system: a menu bar on the owner window with the one entry
// "menu", whose pop-up holds every item. The same pop-up is what the console face shows.
// Items are addressed by name; unknown names and sub-menus read as unchecked, disabled
// and "" and take no changes.
class ConsoleMenu {
 public:
  ConsoleMenu(platform::WindowSystem& windows, Window owner);
  ConsoleMenu(const ConsoleMenu&) = delete;
  ConsoleMenu& operator=(const ConsoleMenu&) = delete;

  Menu bar() const { return bar_; }
  Menu popup() const { return popup_; }

  bool checked(std::string_view name);
  void check(std::string_view name, bool checked);
  bool enabled(std::string_view name);
  void enable(std::string_view name, bool enabled);
  Text caption(std::string_view name);
  void setCaption(std::string_view name, std::string_view caption);

  // Shows the pop-up at a screen point; the chosen item comes to the owner as WM_COMMAND.
  void showPopup(platform::Point at);

 private:
  std::optional<std::uint32_t> commandOf(std::string_view name) const;

  platform::WindowSystem& ws_;
  Window owner_;
  Menu bar_;
  Menu popup_;
};

}  // namespace vantary::console
