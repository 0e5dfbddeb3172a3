// Contract cases for finding windows, window texts and the standard controls: the
// semantics the host library leans on, the same on the sim and the real window system.
#include <cstring>

#include "tests/contract/contract_fixture.h"
#include "text/ansi.h"

namespace vantary::contract {
namespace {

using WindowSystemContract = ContractTest;
using text::operator""_ansi;

std::optional<LResult> SendText(platform::WindowSystem& ws, Window w, std::uint32_t id, WParam wp,
                                const char* text) {
  return ws.send(w, id, wp, reinterpret_cast<LParam>(text));
}

TEST_F(WindowSystemContract, ChildrenAreFoundInCreationOrderByClassWithoutRegardToCase) {
  const Window parent = topLevel(recordingClass("frame"));
  const Window edit1 = child(parent, "Edit", "one");
  const Window label = child(parent, "Static", "label");
  const Window edit2 = child(parent, "EDIT", "Two");
  const Window edit3 = child(parent, "edit", "three");

  EXPECT_EQ(ws().nthChild(parent, "Edit", 1), edit1);
  EXPECT_EQ(ws().nthChild(parent, "eDiT", 2), edit2);
  EXPECT_EQ(ws().nthChild(parent, "EDIT", 3), edit3);
  EXPECT_FALSE(ws().nthChild(parent, "Edit", 4));
  EXPECT_EQ(ws().firstChild(parent, "static"), label);
  EXPECT_EQ(ws().className(edit2), "Edit");
  EXPECT_EQ(ws().parentOf(edit2), parent);

  // "Child after": the search starts behind the given child, whatever its class.
  EXPECT_EQ(ws().findChild(parent, edit1, "Edit"), edit2);
  EXPECT_EQ(ws().findChild(parent, label, "Edit"), edit2);
  EXPECT_EQ(ws().findChild(parent, edit1, ""), label);
  EXPECT_FALSE(ws().findChild(parent, edit3, "Edit"));
  // Captions match without regard to case too; the caption is the creation text.
  EXPECT_EQ(ws().findChild(parent, Window{}, "Edit", "TWO"), edit2);
  EXPECT_FALSE(ws().findChild(parent, Window{}, "Edit", "four"));
  const Window accented = child(parent, "Edit", Text("été à Noël"_ansi));
  EXPECT_EQ(ws().findChild(parent, Window{}, "Edit", "ÉTÉ À NOËL"_ansi), accented);
  // A child that is not the parent's ends the search.
  const Window stranger = topLevel(recordingClass("stranger"));
  EXPECT_FALSE(ws().findChild(parent, stranger, "Edit"));
  // A missing parent has no children.
  EXPECT_FALSE(ws().nthChild(Window{}, "Edit", 1));
}

TEST_F(WindowSystemContract, NewTopLevelWindowsGoOnTopAndTopmostOnesStayAbove) {
  const Text cls = recordingClass("top");
  const Window first = topLevel(cls, "first");
  const Window second = topLevel(cls, "second");
  EXPECT_EQ(ws().findWindow(cls, std::nullopt), second);
  EXPECT_EQ(ws().findChild(Window{}, second, cls), first);
  EXPECT_EQ(ws().findWindow(uniqueClass("TOP"), "FIRST"), first);
  EXPECT_FALSE(ws().findWindow(cls, "third"));

  const auto noMoveNoSize = msg::kSwpNoMove | msg::kSwpNoSize | msg::kSwpNoActivate;
  ASSERT_TRUE(ws().setPosition(first, msg::kHwndTop, Rect{}, noMoveNoSize));
  EXPECT_EQ(ws().findWindow(cls, std::nullopt), first);

  ASSERT_TRUE(ws().setPosition(second, msg::kHwndTopmost, Rect{}, noMoveNoSize));
  EXPECT_TRUE(ws().isTopmost(second));
  EXPECT_FALSE(ws().isTopmost(first));
  const Window third = topLevel(cls, "third");
  EXPECT_EQ(ws().findWindow(cls, std::nullopt), second);
  EXPECT_EQ(ws().findChild(Window{}, second, cls), third);

  ASSERT_TRUE(ws().setPosition(second, msg::kHwndNoTopmost, Rect{}, noMoveNoSize));
  EXPECT_FALSE(ws().isTopmost(second));
  // With kSwpNoZOrder the insert-after value is ignored.
  ASSERT_TRUE(ws().setPosition(first, msg::kHwndTopmost, Rect{}, noMoveNoSize | msg::kSwpNoZOrder));
  EXPECT_FALSE(ws().isTopmost(first));
}

TEST_F(WindowSystemContract, MdiChildrenGoOnTopAndTheNewestIsActive) {
  const Window frame = topLevel(recordingClass("frame", BaseKind::kMdiFrame));
  const Window client = child(frame, "MDIClient", {}, 0, {}, Rect{0, 0, 400, 300});
  ASSERT_TRUE(client);
  const Text docClass = recordingClass("doc");
  const Window doc1 = child(client, docClass, "doc one", 0, {}, Rect{0, 0, 200, 100});
  const Window doc2 = child(client, docClass, "doc two", 0, {}, Rect{10, 10, 210, 110});
  ASSERT_TRUE(doc1 && doc2);

  EXPECT_EQ(ws().firstChild(client, docClass), doc2);
  EXPECT_EQ(ws().nthChild(client, docClass, 2), doc1);
  EXPECT_EQ(ws().send(client, msg::kMdiGetActive), static_cast<LResult>(doc2.value));

  // Closing the active child destroys it and the other one becomes active.
  ws().send(doc2, msg::kClose);
  EXPECT_FALSE(ws().exists(doc2));
  EXPECT_EQ(ws().send(client, msg::kMdiGetActive), static_cast<LResult>(doc1.value));
}

TEST_F(WindowSystemContract, GetTextCopiesWhatFitsAndAnswersTheCountCopied) {
  const Window parent = topLevel(recordingClass("frame"));
  const Window label = child(parent, "Static", "Hello");
  EXPECT_EQ(ws().send(label, msg::kGetTextLength), 5);

  struct Case {
    WParam capacity;
    LResult copied;
    const char* text;
  };
  const Case cases[] = {{0, 0, "xxxxxxxx"}, {1, 0, ""},      {3, 2, "He"},
                        {5, 4, "Hell"},     {6, 5, "Hello"}, {9, 5, "Hello"}};
  for (const Case& c : cases) {
    char buffer[9];
    std::memset(buffer, 'x', sizeof buffer - 1);
    buffer[8] = '\0';
    EXPECT_EQ(ws().send(label, msg::kGetText, c.capacity, reinterpret_cast<LParam>(buffer)), c.copied)
        << "capacity " << c.capacity;
    EXPECT_STREQ(buffer, c.text) << "capacity " << c.capacity;
  }
}

TEST_F(WindowSystemContract, TextNeverTrustsTheLengthAWindowReports) {
  const Window parent = topLevel(recordingClass("frame"));
  struct Case {
    const char* tag;
    LResult reportedLength;
    LResult reportedCopy;
    const char* expected;
  };
  // The window holds "abcdef" but reports other lengths.
  const Case cases[] = {
      {"short", 2, 2, "ab"},             // a short length cuts the text
      {"overcount", 6, 5000, "abcdef"},  // a count beyond the buffer is not believed
      {"negative", -7, 0, ""},
  };
  for (const Case& c : cases) {
    platform::ClassSpec cls;
    cls.name = uniqueClass(c.tag);
    cls.handler = [this, c](Window w, const Message& m) -> LResult {
      if (m.id == msg::kGetTextLength) return c.reportedLength;
      if (m.id == msg::kGetText) {
        if (m.wParam == 0) return c.reportedCopy;
        const std::size_t n = std::min<std::size_t>(6, m.wParam - 1);
        std::memcpy(reinterpret_cast<char*>(m.lParam), "abcdef", n);
        reinterpret_cast<char*>(m.lParam)[n] = '\0';
        return c.reportedCopy;
      }
      return ws().callDefault(w, m);
    };
    ASSERT_TRUE(ws().registerClass(cls));
    const Window liar = child(parent, cls.name);
    EXPECT_EQ(ws().text(liar), c.expected) << c.tag;
  }
}

TEST_F(WindowSystemContract, SetTextAndTextAgreeOnEveryTextControl) {
  const Window parent = topLevel(recordingClass("frame"));
  WindowStyle dropDown;
  const char* classes[] = {"Edit", "Static", "Button", "ListBox", "ComboBox"};
  for (const char* cls : classes) {
    const Window w = child(parent, cls, "before", 0, dropDown, Rect{0, 0, 120, 80});
    ASSERT_TRUE(ws().setText(w, "after it"));
    EXPECT_EQ(ws().text(w), "after it") << cls;
    EXPECT_EQ(ws().caption(w), "after it") << cls;  // the program's own window is asked
    ASSERT_TRUE(ws().setText(w, ""));
    EXPECT_EQ(ws().text(w), "") << cls;
  }
  // A window that is gone has no text.
  const Window gone = child(parent, "Static", "gone");
  ws().destroy(gone);
  EXPECT_EQ(ws().text(gone), "");
  EXPECT_FALSE(ws().setText(gone, "x"));
}

TEST_F(WindowSystemContract, EditTakesTypedCharactersWithinItsLimitAndReportsChanges) {
  const Window parent = topLevel(recordingClass("frame"));
  const Window edit = child(parent, "Edit", "", 7);
  for (char ch : std::string("hey!")) ws().sendChar(edit, static_cast<unsigned char>(ch));
  EXPECT_EQ(ws().text(edit), "hey!");
  ws().sendChar(edit, 8);
  EXPECT_EQ(ws().text(edit), "hey");
  ws().sendChar(edit, 13);  // Enter types nothing into a single-line edit
  EXPECT_EQ(ws().text(edit), "hey");

  ws().send(edit, msg::kEmLimitText, 5);
  EXPECT_EQ(ws().send(edit, msg::kEmGetLimitText), 5);
  for (char ch : std::string("abc")) ws().sendChar(edit, static_cast<unsigned char>(ch));
  EXPECT_EQ(ws().text(edit), "heyab");
  // WM_SETTEXT is not cut to the limit.
  ASSERT_TRUE(ws().setText(edit, "much longer than five"));
  EXPECT_EQ(ws().text(edit), "much longer than five");

  ASSERT_TRUE(ws().setText(edit, ""));
  ws().send(edit, msg::kEmSetReadOnly, 1);
  ws().sendChar(edit, 'x');
  EXPECT_EQ(ws().text(edit), "");
  ws().send(edit, msg::kEmSetReadOnly, 0);
  ws().sendChar(edit, 'x');
  EXPECT_EQ(ws().text(edit), "x");

  std::size_t changes = 0;
  for (const auto& [id, code] : commandsTo(parent)) {
    EXPECT_EQ(id, 7);
    if (code == msg::kEnChange) ++changes;
  }
  EXPECT_GE(changes, 7u);  // every typed change at least
}

TEST_F(WindowSystemContract, ListBoxRowsKeepTheirDataAndSelection) {
  const Window parent = topLevel(recordingClass("frame"));
  const Window list = child(parent, "ListBox", {}, 3, {}, Rect{0, 0, 150, 200});
  EXPECT_EQ(SendText(ws(), list, msg::kLbAddString, 0, "alpha"), 0);
  EXPECT_EQ(SendText(ws(), list, msg::kLbAddString, 0, "beta"), 1);
  EXPECT_EQ(SendText(ws(), list, msg::kLbAddString, 0, "gamma"), 2);
  EXPECT_NE(ws().send(list, msg::kLbSetItemData, 1, 0x1234), msg::kLbErr);
  EXPECT_EQ(SendText(ws(), list, msg::kLbInsertString, 0, "first"), 0);
  EXPECT_EQ(SendText(ws(), list, msg::kLbInsertString, static_cast<WParam>(-1), "last"), 4);
  EXPECT_EQ(SendText(ws(), list, msg::kLbInsertString, 9, "nowhere"), msg::kLbErr);
  EXPECT_EQ(ws().send(list, msg::kLbGetCount), 5);
  // The data moved with its row.
  EXPECT_EQ(ws().send(list, msg::kLbGetItemData, 2), 0x1234);

  char buffer[16] = {};
  EXPECT_EQ(ws().send(list, msg::kLbGetTextLen, 2), 4);
  EXPECT_EQ(ws().send(list, msg::kLbGetText, 2, reinterpret_cast<LParam>(buffer)), 4);
  EXPECT_STREQ(buffer, "beta");

  struct BadIndex {
    std::uint32_t id;
    WParam index;
  };
  const BadIndex bad[] = {{msg::kLbGetTextLen, 5},   {msg::kLbGetItemData, 5}, {msg::kLbSetItemData, 7},
                          {msg::kLbDeleteString, 5}, {msg::kLbSetCurSel, 5},   {msg::kLbGetText, 5}};
  for (const BadIndex& b : bad) {
    EXPECT_EQ(ws().send(list, b.id, b.index, reinterpret_cast<LParam>(buffer)), msg::kLbErr) << b.id;
  }

  EXPECT_EQ(ws().send(list, msg::kLbGetCurSel), msg::kLbErr);
  EXPECT_EQ(ws().send(list, msg::kLbSetCurSel, 3), 3);
  EXPECT_EQ(ws().send(list, msg::kLbGetCurSel), 3);
  EXPECT_EQ(ws().send(list, msg::kLbDeleteString, 0), 4);
  EXPECT_EQ(ws().send(list, msg::kLbGetCurSel), 2);  // the selection stays on its row
  EXPECT_EQ(ws().send(list, msg::kLbSetCurSel, static_cast<WParam>(-1)), msg::kLbErr);
  EXPECT_EQ(ws().send(list, msg::kLbGetCurSel), msg::kLbErr);
  EXPECT_EQ(ws().send(list, msg::kLbResetContent), 0);
  EXPECT_EQ(ws().send(list, msg::kLbGetCount), 0);
}

TEST_F(WindowSystemContract, ComboBoxRowsAndTheTextItShows) {
  const Window parent = topLevel(recordingClass("frame"));
  WindowStyle listStyle;
  listStyle.dropDownList = true;
  const Window dropDown = child(parent, "ComboBox", {}, 4, {}, Rect{0, 0, 150, 200});
  const Window dropList = child(parent, "ComboBox", {}, 5, listStyle, Rect{0, 40, 150, 240});
  for (const Window combo : {dropDown, dropList}) {
    EXPECT_EQ(SendText(ws(), combo, msg::kCbAddString, 0, "red"), 0);
    EXPECT_EQ(SendText(ws(), combo, msg::kCbAddString, 0, "blue"), 1);
    EXPECT_EQ(SendText(ws(), combo, msg::kCbInsertString, 0, "green"), 0);
    EXPECT_EQ(ws().send(combo, msg::kCbGetCount), 3);
    EXPECT_NE(ws().send(combo, msg::kCbSetItemData, 2, 77), msg::kCbErr);
    EXPECT_EQ(ws().send(combo, msg::kCbGetItemData, 2), 77);
    EXPECT_EQ(ws().send(combo, msg::kCbGetItemData, 3), msg::kCbErr);
    EXPECT_EQ(ws().send(combo, msg::kCbGetLbTextLen, 1), 3);
    char buffer[16] = {};
    EXPECT_EQ(ws().send(combo, msg::kCbGetLbText, 1, reinterpret_cast<LParam>(buffer)), 3);
    EXPECT_STREQ(buffer, "red");
    EXPECT_EQ(ws().send(combo, msg::kCbGetLbText, 3, reinterpret_cast<LParam>(buffer)), msg::kCbErr);

    EXPECT_EQ(ws().send(combo, msg::kCbGetCurSel), msg::kCbErr);
    EXPECT_EQ(ws().send(combo, msg::kCbSetCurSel, 2), 2);
    EXPECT_EQ(ws().send(combo, msg::kCbGetCurSel), 2);
    EXPECT_EQ(ws().text(combo), "blue");
    EXPECT_EQ(ws().send(combo, msg::kCbDeleteString, 0), 2);
    EXPECT_EQ(ws().send(combo, msg::kCbGetCurSel), 1);
  }
  // The edit part of a drop-down takes any text.
  ASSERT_TRUE(ws().setText(dropDown, "purple"));
  EXPECT_EQ(ws().text(dropDown), "purple");
  // What CB_RESETCONTENT answers differs (Windows documents 0, Wine gives 1); nothing
  // relies on it, only on the list being empty afterwards.
  ASSERT_TRUE(ws().send(dropDown, msg::kCbResetContent).has_value());
  EXPECT_EQ(ws().send(dropDown, msg::kCbGetCount), 0);
}

TEST_F(WindowSystemContract, CheckBoxStateFollowsSetCheckAndClicks) {
  const Window parent = topLevel(recordingClass("frame"));
  WindowStyle box;
  box.checkBox = true;
  const Window check = child(parent, "Button", "ignore", 11, box);
  EXPECT_EQ(ws().send(check, msg::kBmGetCheck), 0);
  ws().send(check, msg::kBmSetCheck, msg::kBstChecked);
  EXPECT_EQ(ws().send(check, msg::kBmGetCheck), 1);
  ws().send(check, msg::kBmSetCheck, msg::kBstUnchecked);
  EXPECT_EQ(ws().send(check, msg::kBmGetCheck), 0);
  ws().send(check, msg::kBmSetCheck, static_cast<WParam>(-1));
  EXPECT_NE(ws().send(check, msg::kBmGetCheck), 0);
  EXPECT_TRUE(commandsTo(parent).empty());  // setting the state is not a click

  ws().send(check, msg::kBmSetCheck, msg::kBstChecked);
  ASSERT_TRUE(ws().sendClick(check));
  EXPECT_EQ(ws().send(check, msg::kBmGetCheck), 0);
  ASSERT_TRUE(ws().sendClick(check));
  EXPECT_EQ(ws().send(check, msg::kBmGetCheck), 1);
  const std::vector<std::pair<int, int>> clicks{{11, msg::kBnClicked}, {11, msg::kBnClicked}};
  EXPECT_EQ(commandsTo(parent), clicks);
}

TEST_F(WindowSystemContract, PushButtonClicksByMouseKeyAndMessageReachTheParent) {
  const Window parent = topLevel(recordingClass("frame"));
  const Window button = child(parent, "Button", "OK", 21);
  ASSERT_TRUE(ws().sendClick(button));
  ASSERT_TRUE(ws().sendKey(button, msg::kVkSpace));
  ws().send(button, msg::kBmClick);
  // A release without a press is no click.
  ws().send(button, msg::kLButtonUp);
  ws().send(button, msg::kKeyUp, msg::kVkSpace);
  const std::vector<std::pair<int, int>> clicks(3, {21, msg::kBnClicked});
  EXPECT_EQ(commandsTo(parent), clicks);
}

TEST_F(WindowSystemContract, ShowEnableMoveAndPosition) {
  const Window parent = topLevel(recordingClass("frame"));
  const Window inner = child(parent, "Static", "inner", 0, {}, Rect{10, 20, 110, 70});
  // A visible child of a hidden parent is not visible.
  EXPECT_FALSE(ws().isVisible(parent));
  EXPECT_FALSE(ws().isVisible(inner));
  ws().show(parent, msg::kSwShow);
  EXPECT_TRUE(ws().isVisible(parent));
  EXPECT_TRUE(ws().isVisible(inner));
  ws().show(inner, msg::kSwHide);
  EXPECT_FALSE(ws().isVisible(inner));
  ws().show(inner, msg::kSwShow);

  const Rect outer = ws().windowRect(parent);
  EXPECT_EQ(ws().windowRect(inner),
            (Rect{outer.left + 10, outer.top + 20, outer.left + 110, outer.top + 70}));
  EXPECT_EQ(ws().clientRect(inner), (Rect{0, 0, 100, 50}));
  ASSERT_TRUE(ws().move(inner, Rect{30, 40, 90, 60}, true));
  EXPECT_EQ(ws().windowRect(inner), (Rect{outer.left + 30, outer.top + 40, outer.left + 90, outer.top + 60}));
  ASSERT_TRUE(ws().setPosition(inner, 0, Rect{5, 6, 0, 0}, msg::kSwpNoSize | msg::kSwpNoZOrder));
  EXPECT_EQ(ws().windowRect(inner), (Rect{outer.left + 5, outer.top + 6, outer.left + 65, outer.top + 26}));
  ASSERT_TRUE(ws().setPosition(inner, 0, Rect{0, 0, 70, 80}, msg::kSwpNoMove | msg::kSwpNoZOrder));
  EXPECT_EQ(ws().clientRect(inner), (Rect{0, 0, 70, 80}));
  ASSERT_TRUE(ws().setPosition(inner, 0, Rect{},
                               msg::kSwpNoMove | msg::kSwpNoSize | msg::kSwpNoZOrder | msg::kSwpHideWindow));
  EXPECT_FALSE(ws().isVisible(inner));

  EXPECT_TRUE(ws().isEnabled(inner));
  ws().enable(inner, false);
  EXPECT_FALSE(ws().isEnabled(inner));
  ws().enable(inner, true);
  EXPECT_TRUE(ws().isEnabled(inner));

  ws().show(parent, msg::kSwMinimize);
  EXPECT_TRUE(ws().isMinimized(parent));
  ws().show(parent, msg::kSwRestore);
  EXPECT_FALSE(ws().isMinimized(parent));
  ws().show(parent, msg::kSwShowMaximized);
  EXPECT_TRUE(ws().isMaximized(parent));
  ws().show(parent, msg::kSwShowNormal);
  EXPECT_FALSE(ws().isMaximized(parent));
  ws().show(parent, msg::kSwHide);
  EXPECT_FALSE(ws().isVisible(parent));
}

TEST_F(WindowSystemContract, DestroyingAWindowDestroysItsChildren) {
  const Text frameClass = recordingClass("frame");
  const Window parent = topLevel(frameClass);
  const Text childClass = recordingClass("child");
  const Window a = child(parent, childClass);
  const Window b = child(a, childClass);
  ASSERT_TRUE(ws().destroy(parent));
  for (const Window w : {parent, a, b}) {
    EXPECT_FALSE(ws().exists(w));
    EXPECT_EQ(idsTo(w, msg::kDestroy, msg::kDestroy + 1).size(), 1u);
  }
  EXPECT_FALSE(ws().destroy(parent));
  EXPECT_FALSE(ws().findWindow(frameClass, std::nullopt));
}

TEST_F(WindowSystemContract, MenusAreReadByCommandAndByPosition) {
  const Window frame = topLevel(recordingClass("frame"));
  platform::WindowSystem& w = ws();
  const platform::Menu bar = w.createMenuBar();
  const platform::Menu file = w.createPopupMenu();
  const platform::Menu help = w.createPopupMenu();
  ASSERT_TRUE(bar && file && help);
  ASSERT_TRUE(w.appendMenuItem(file, 101, "&Open"));
  ASSERT_TRUE(w.appendMenuItem(file, 0, {}, platform::MenuItemFlags{false, false, true}));
  ASSERT_TRUE(w.appendMenuItem(file, 102, "E&xit now", platform::MenuItemFlags{false, true, false}));
  ASSERT_TRUE(w.appendMenuItem(help, 201, "&About", platform::MenuItemFlags{true, false, false}));
  ASSERT_TRUE(w.appendSubmenu(bar, file, "&File"));
  ASSERT_TRUE(w.appendSubmenu(bar, help, "&Help"));
  ASSERT_TRUE(w.setMenu(frame, bar));

  EXPECT_EQ(w.menuOf(frame), bar);
  EXPECT_EQ(w.menuItemCount(bar), 2);
  EXPECT_EQ(w.menuItemCount(file), 3);
  EXPECT_EQ(w.subMenu(bar, 0), file);
  EXPECT_EQ(w.subMenu(bar, 1), help);
  EXPECT_FALSE(w.subMenu(file, 0));
  EXPECT_EQ(w.menuItemId(bar, 0), 0xFFFFFFFFu);
  EXPECT_EQ(w.menuItemId(file, 0), 101u);
  EXPECT_EQ(w.menuItemId(file, 2), 102u);
  EXPECT_EQ(w.menuItemText(bar, 1), "&Help");
  EXPECT_EQ(w.menuItemText(file, 2), "E&xit now");
  EXPECT_EQ(w.menuItemText(file, 2, 4), "E&x");
  EXPECT_EQ(w.menuItemText(file, 7), "");

  // By command, searching the submenus from the bar.
  EXPECT_TRUE(w.isMenuItemChecked(bar, 201));
  EXPECT_FALSE(w.isMenuItemEnabled(bar, 102));
  EXPECT_TRUE(w.isMenuItemEnabled(bar, 101));
  ASSERT_TRUE(w.checkMenuItem(bar, 101, true));
  EXPECT_TRUE(w.isMenuItemChecked(file, 101));
  ASSERT_TRUE(w.checkMenuItem(bar, 201, false));
  EXPECT_FALSE(w.isMenuItemChecked(help, 201));
  ASSERT_TRUE(w.enableMenuItem(bar, 102, true));
  EXPECT_TRUE(w.isMenuItemEnabled(file, 102));
  ASSERT_TRUE(w.setMenuItemCaption(bar, 102, "&Quit"));
  EXPECT_EQ(w.menuItemCaption(file, 102), "&Quit");
  EXPECT_EQ(w.menuItemText(file, 2), "&Quit");
  EXPECT_FALSE(w.checkMenuItem(bar, 999, true));
  EXPECT_EQ(w.menuItemCaption(bar, 999), "");
}

}  // namespace
}  // namespace vantary::contract
