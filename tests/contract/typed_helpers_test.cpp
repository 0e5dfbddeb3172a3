// Contract cases for the window system's typed helpers: what each one sets, the control
// shows or reads back, and what each one sends is the message the real system expects.
#include <optional>
#include <tuple>

#include "tests/contract/contract_fixture.h"

namespace vantary::contract {
namespace {

using TypedHelpersContract = ContractTest;
using platform::WindowSystem;

// The row helpers of list boxes and of combo boxes, side by side.
struct RowHelpers {
  const char* kind;
  const char* className;
  LResult err;
  std::optional<LResult> (WindowSystem::*add)(Window, std::string_view);
  std::optional<LResult> (WindowSystem::*count)(Window);
  std::optional<Text> (WindowSystem::*itemText)(Window, int);
  bool (WindowSystem::*select)(Window, int);
  std::optional<LResult> (WindowSystem::*selection)(Window);
  bool (WindowSystem::*clear)(Window);
};

TEST_F(TypedHelpersContract, ListAndComboRowsAreAddedReadSelectedAndCleared) {
  const RowHelpers kinds[] = {
      {"list box", "ListBox", msg::kLbErr, &WindowSystem::listAdd, &WindowSystem::listCount,
       &WindowSystem::listItemText, &WindowSystem::listSelect, &WindowSystem::listSelection,
       &WindowSystem::listClear},
      {"combo box", "ComboBox", msg::kCbErr, &WindowSystem::comboAdd, &WindowSystem::comboCount,
       &WindowSystem::comboItemText, &WindowSystem::comboSelect, &WindowSystem::comboSelection,
       &WindowSystem::comboClear},
  };
  const Window parent = topLevel(recordingClass("frame"));
  auto& w = ws();
  for (const RowHelpers& k : kinds) {
    SCOPED_TRACE(k.kind);
    const Window rows = child(parent, k.className, {}, 3, {}, Rect{0, 0, 150, 200});
    EXPECT_EQ((w.*k.add)(rows, "alpha"), 0);
    EXPECT_EQ((w.*k.add)(rows, std::string_view("beta and more").substr(0, 4)), 1);  // not zero-ended
    EXPECT_EQ((w.*k.add)(rows, ""), 2);
    EXPECT_EQ((w.*k.count)(rows), 3);
    EXPECT_EQ((w.*k.itemText)(rows, 1), "beta");
    EXPECT_EQ((w.*k.itemText)(rows, 2), "") << "an empty row is there";
    EXPECT_EQ((w.*k.itemText)(rows, 3), std::nullopt) << "a row past the end is not";
    EXPECT_EQ((w.*k.itemText)(rows, -1), std::nullopt);

    EXPECT_EQ((w.*k.selection)(rows), k.err);
    EXPECT_TRUE((w.*k.select)(rows, 1));
    EXPECT_EQ((w.*k.selection)(rows), 1);
    EXPECT_TRUE((w.*k.select)(rows, -1));
    EXPECT_EQ((w.*k.selection)(rows), k.err) << "-1 clears the selection";

    EXPECT_TRUE((w.*k.clear)(rows));
    EXPECT_EQ((w.*k.count)(rows), 0);

    // A window that is gone answers nothing.
    ASSERT_TRUE(w.destroy(rows));
    EXPECT_EQ((w.*k.count)(rows), std::nullopt);
    EXPECT_EQ((w.*k.itemText)(rows, 0), std::nullopt);
    EXPECT_EQ((w.*k.selection)(rows), std::nullopt);
    EXPECT_FALSE((w.*k.select)(rows, 0));
  }
}

TEST_F(TypedHelpersContract, ListItemDataIsReadByRow) {
  const Window parent = topLevel(recordingClass("frame"));
  const Window list = child(parent, "ListBox", {}, 3, {}, Rect{0, 0, 150, 200});
  ws().listAdd(list, "first");
  ws().listAdd(list, "second");
  ws().send(list, msg::kLbSetItemData, 1, 0x4321);
  EXPECT_EQ(ws().listItemData(list, 1), 0x4321);
  EXPECT_EQ(ws().listItemData(list, 2), msg::kLbErr);
  EXPECT_EQ(ws().listItemData(list, -1), msg::kLbErr);
}

TEST_F(TypedHelpersContract, CheckBoxStateFollowsSetCheck) {
  const Window parent = topLevel(recordingClass("frame"));
  WindowStyle box;
  box.checkBox = true;
  const Window check = child(parent, "Button", "ignore", 11, box);
  struct Step {
    platform::WParam state;
    LResult shown;
  };
  const Step steps[] = {{msg::kBstChecked, 1}, {msg::kBstUnchecked, 0}, {msg::kBstAllBits, 1}};
  for (const Step& s : steps) {
    EXPECT_TRUE(ws().setCheck(check, s.state));
    EXPECT_EQ(ws().checkState(check), s.shown) << "state " << s.state;
  }
  EXPECT_TRUE(commandsTo(parent).empty()) << "setting the state is not a click";
  ASSERT_TRUE(ws().destroy(check));
  EXPECT_EQ(ws().checkState(check), std::nullopt);
  EXPECT_FALSE(ws().setCheck(check, msg::kBstChecked));
}

// The position helpers of track bars and of scroll bars, side by side.
struct PositionHelpers {
  const char* kind;
  BaseKind base;
  const char* tag;
  bool (WindowSystem::*setRange)(Window, int, int);
  bool (WindowSystem::*setPosition)(Window, int);
  std::optional<LResult> (WindowSystem::*position)(Window);
};

TEST_F(TypedHelpersContract, TrackAndScrollPositionsStayWithinTheirRange) {
  const PositionHelpers kinds[] = {
      {"track bar", BaseKind::kTrackBar, "track", &WindowSystem::setTrackRange,
       &WindowSystem::setTrackPosition, &WindowSystem::trackPosition},
      {"scroll bar", BaseKind::kScrollBar, "scroll", &WindowSystem::setScrollRange,
       &WindowSystem::setScrollPosition, &WindowSystem::scrollPosition},
  };
  const Window parent = topLevel(recordingClass("frame"));
  auto& w = ws();
  for (const PositionHelpers& k : kinds) {
    SCOPED_TRACE(k.kind);
    const Window bar = child(parent, recordingClass(k.tag, k.base), {}, 5, {}, Rect{0, 0, 200, 30});
    EXPECT_TRUE((w.*k.setRange)(bar, 10, 50));
    const std::pair<int, LResult> moves[] = {{30, 30}, {80, 50}, {-5, 10}, {10, 10}, {50, 50}};
    for (const auto& [to, shown] : moves) {
      EXPECT_TRUE((w.*k.setPosition)(bar, to));
      EXPECT_EQ((w.*k.position)(bar), shown) << "set to " << to;
    }
    // A narrower range takes the position with it.
    EXPECT_TRUE((w.*k.setRange)(bar, 0, 20));
    EXPECT_EQ((w.*k.position)(bar), 20);
  }
}

TEST_F(TypedHelpersContract, EditTakesTypingUpToItsLimitAndReportsItsLength) {
  const Window parent = topLevel(recordingClass("frame"));
  const Window edit = child(parent, "Edit", "", 7);
  EXPECT_TRUE(ws().setTextLimit(edit, 3));
  for (char ch : std::string("abcd")) ws().sendChar(edit, static_cast<unsigned char>(ch));
  EXPECT_EQ(ws().text(edit), "abc");
  EXPECT_EQ(ws().textLength(edit), 3);
  ASSERT_TRUE(ws().destroy(edit));
  EXPECT_EQ(ws().textLength(edit), std::nullopt);
  EXPECT_FALSE(ws().setTextLimit(edit, 3));
}

// What the mouse, close and command helpers send or post, as the window receives it.
TEST_F(TypedHelpersContract, MouseCloseAndCommandHelpersDeliverTheirMessages) {
  const Window w = topLevel(recordingClass("target"));
  ASSERT_TRUE(ws().sendMouseDown(w));
  ASSERT_TRUE(ws().sendMouseUp(w));
  ASSERT_TRUE(ws().sendCommand(w, 1502));
  ASSERT_TRUE(ws().postMouseDown(w));
  ASSERT_TRUE(ws().postMouseUp(w));
  ASSERT_TRUE(ws().postDoubleClick(w));
  ASSERT_TRUE(ws().postCommand(w, 1001));
  ASSERT_TRUE(ws().postClose(w));  // last: the default answer to WM_CLOSE destroys it
  loop().pump();

  using Seen = std::tuple<std::uint32_t, platform::WParam, LParam>;
  std::vector<Seen> seen;
  for (const Received& r : received_) {
    const std::uint32_t id = r.message.id;
    if (r.window == w && (id == msg::kLButtonDown || id == msg::kLButtonUp || id == msg::kLButtonDblClk ||
                          id == msg::kCommand || id == msg::kClose)) {
      seen.emplace_back(id, r.message.wParam, r.message.lParam);
    }
  }
  const std::vector<Seen> expected{
      {msg::kLButtonDown, 0, 0}, {msg::kLButtonUp, 0, 0}, {msg::kCommand, 1502, 0},
      {msg::kLButtonDown, 0, 0}, {msg::kLButtonUp, 0, 0}, {msg::kLButtonDblClk, 0, 0},
      {msg::kCommand, 1001, 0},  {msg::kClose, 0, 0},
  };
  EXPECT_EQ(seen, expected);
  EXPECT_FALSE(ws().exists(w));
}

}  // namespace
}  // namespace vantary::contract
