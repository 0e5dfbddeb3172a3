// The menu tree's command identifiers as outside programs know them, and the pop-up menu
// reaching the console's commands.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <sstream>

#include "tests/world/console_fixture.h"

namespace vantary::console::testing {
namespace {

TEST(ConsoleMenu, ReadmeListsEveryItemWithTheIdentifierItRuns) {
  const auto readme = std::filesystem::path(__FILE__).parent_path() / ".." / ".." / "README.md";
  std::ifstream in(readme);
  ASSERT_TRUE(in) << readme;
  std::stringstream all;
  all << in.rdbuf();
  const std::string contents = all.str();
  std::map<std::string, std::uint32_t> listed;
  const std::regex row(R"(\| `(\w+)` \| (\d+) \|)");
  for (auto it = std::sregex_iterator(contents.begin(), contents.end(), row); it != std::sregex_iterator();
       ++it) {
    listed[(*it)[1]] = static_cast<std::uint32_t>(std::stoul((*it)[2]));
  }
  std::set<std::uint32_t> seen;
  std::size_t items = 0;
  for (const MenuItemDef& item : MenuTree()) {
    if (item.submenu || item.name == "-") continue;
    ++items;
    const auto id = static_cast<std::uint32_t>(item.command);
    EXPECT_EQ(listed[std::string(item.name)], id) << item.name;
    EXPECT_TRUE(seen.insert(id).second) << "identifier used twice: " << id;
    // WM_COMMAND carries a menu identifier in 16 bits.
    EXPECT_LT(id, 0x10000u) << item.name;
    EXPECT_EQ(MenuItemName(id), item.name);
  }
  EXPECT_EQ(listed.size(), items);
  EXPECT_EQ(items, 43u);
}

TEST(ConsoleMenu, PopupFromTheMainWindowRunsTheChosenItem) {
  ConsoleWorld w;
  w.existingMachine();
  w.signOnInRoom();
  Console& c = w.start();
  w.world.setCursor({320, 200});
  w.world.queuePopupChoice(static_cast<std::uint32_t>(MenuCommand::kIdleOn));
  w.program().windows.send(c.form().control("Label1"), msg::kLButtonDown, 0, 0);
  w.world.runFor(10);
  const auto shown = w.world.lastPopupMenu();
  ASSERT_TRUE(shown.has_value());
  EXPECT_EQ(shown->menu, c.menu().popup());
  EXPECT_EQ(shown->at, (platform::Point{320, 200}));
  EXPECT_EQ(c.menu().caption("idleon"), "idle of&f");
}

}  // namespace
}  // namespace vantary::console::testing
