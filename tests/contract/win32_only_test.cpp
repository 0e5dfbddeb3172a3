// Cases only the real window system has: superclassed standard controls, MDI creation,
// the system's dialogs, GDI objects, process memory and the message queue. Compiled only
// for Windows; the shared cases run on both backends.
#ifdef _WIN32

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "platform/picture.h"
#include "platform/win32/win32_platform.h"

namespace vantary::platform {
namespace {

HWND H(Window w) {
  return reinterpret_cast<HWND>(static_cast<std::intptr_t>(static_cast<std::int32_t>(w.value)));
}

WindowSpec Describe(std::string className, std::string caption, Window parent, Rect rect, int id = 0,
                    WindowStyle style = {}) {
  WindowSpec desc;
  desc.className = std::move(className);
  desc.caption = std::move(caption);
  desc.parent = parent;
  desc.rect = rect;
  desc.controlId = id;
  desc.style = style;
  desc.style.child = static_cast<bool>(parent);
  return desc;
}

class Win32Only : public ::testing::Test {
 protected:
  Win32Only() : system_(std::make_unique<win32::Win32Platform>()) {
    static std::atomic<int> counter{0};
    prefix_ = "w32only" + std::to_string(GetCurrentProcessId()) + "_" + std::to_string(++counter) + "_";
  }

  Platform& p() { return system_->platform(); }
  WindowSystem& ws() { return p().windows; }
  std::string name(const char* base) const { return prefix_ + base; }

  // A hidden top-level window of a plain class whose handler records what it gets.
  Window makeParent(std::vector<Message>* received = nullptr) {
    const std::string cls = name("parent");
    ClassSpec desc{cls, BaseKind::kPlain, [this, received](Window w, const Message& m) -> LResult {
                     if (received) received->push_back(m);
                     return ws().callDefault(w, m);
                   }};
    ws().registerClass(desc);
    return ws().create(Describe(cls, "parent", {}, Rect{0, 0, 300, 200}));
  }

  // Runs `act` from a timer while a modal loop of the system runs, until it returns true.
  TimerId whileModal(std::function<bool()> act) {
    auto done = std::make_shared<bool>(false);
    return p().loop.startTimer(20, [act = std::move(act), done] {
      if (!*done) *done = act();
    });
  }

  std::unique_ptr<win32::Win32Platform> system_;
  std::string prefix_;
};

std::vector<std::uint32_t> Ids(const std::vector<Message>& messages) {
  std::vector<std::uint32_t> ids;
  for (const Message& m : messages) ids.push_back(m.id);
  return ids;
}

TEST_F(Win32Only, SuperclassedControlsKeepTheirBaseBehaviourAndTheirHandlerSeesCreation) {
  struct Case {
    const char* name;
    BaseKind base;
    WindowStyle style;
    std::function<bool(WindowSystem&, Window)> probe;
  };
  WindowStyle checkBox;
  checkBox.checkBox = true;
  const Case cases[] = {
      {"edit",
       BaseKind::kEdit,
       {},
       [](WindowSystem& ws, Window w) {
         ws.setText(w, "");
         ws.send(w, msg::kEmLimitText, 2);
         ws.sendChar(w, 'a');
         ws.sendChar(w, 'b');
         ws.sendChar(w, 'c');
         return ws.text(w) == "ab";
       }},
      {"static",
       BaseKind::kStatic,
       {},
       [](WindowSystem& ws, Window w) { return ws.setText(w, "label") && ws.caption(w) == "label"; }},
      {"listbox",
       BaseKind::kListBox,
       {},
       [](WindowSystem& ws, Window w) {
         ws.send(w, msg::kLbAddString, 0, reinterpret_cast<LParam>("b"));
         ws.send(w, msg::kLbAddString, 0, reinterpret_cast<LParam>("a"));
         char row[8] = {};
         ws.send(w, msg::kLbGetText, 0, reinterpret_cast<LParam>(row));
         return ws.send(w, msg::kLbGetCount) == 2 && std::string(row) == "b";  // not sorted
       }},
      {"combobox",
       BaseKind::kComboBox,
       {},
       [](WindowSystem& ws, Window w) {
         ws.send(w, msg::kCbAddString, 0, reinterpret_cast<LParam>("one"));
         ws.send(w, msg::kCbAddString, 0, reinterpret_cast<LParam>("two"));
         ws.send(w, msg::kCbSetCurSel, 1);
         return ws.send(w, msg::kCbGetCurSel) == 1;
       }},
      {"checkbox", BaseKind::kButton, checkBox,
       [](WindowSystem& ws, Window w) {
         ws.send(w, msg::kBmClick);
         return ws.send(w, msg::kBmGetCheck) == static_cast<LResult>(msg::kBstChecked);
       }},
      {"trackbar",
       BaseKind::kTrackBar,
       {},
       [](WindowSystem& ws, Window w) {
         ws.send(w, msg::kTbmSetRangeMax, TRUE, 100);
         ws.send(w, msg::kTbmSetPos, TRUE, 40);
         return ws.send(w, msg::kTbmGetPos) == 40;
       }},
      {"scrollbar",
       BaseKind::kScrollBar,
       {},
       [](WindowSystem& ws, Window w) {
         ws.send(w, msg::kSbmSetRange, 0, 50);
         ws.send(w, msg::kSbmSetPos, 30, TRUE);
         return ws.send(w, msg::kSbmGetPos) == 30;
       }},
  };
  std::vector<Message> parentGot;
  const Window parent = makeParent(&parentGot);
  ASSERT_TRUE(parent);
  int id = 100;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::vector<Message> got;
    const std::string cls = name(c.name);
    ASSERT_TRUE(ws().registerClass(ClassSpec{cls, c.base, [&](Window w, const Message& m) -> LResult {
                                               got.push_back(m);
                                               return ws().callDefault(w, m);
                                             }}));
    const Window w = ws().create(Describe(cls, "", parent, Rect{0, 0, 120, 24}, ++id, c.style));
    ASSERT_TRUE(w);
    EXPECT_TRUE(ws().className(w) == cls);
    const auto ids = Ids(got);
    const auto nccreate = std::find(ids.begin(), ids.end(), 0x0081u);  // WM_NCCREATE
    const auto create = std::find(ids.begin(), ids.end(), msg::kCreate);
    EXPECT_TRUE(nccreate != ids.end() && create != ids.end() && nccreate < create);
    EXPECT_TRUE(c.probe(ws(), w));
  }
  // The check box told its parent about the click.
  EXPECT_TRUE(std::any_of(parentGot.begin(), parentGot.end(), [](const Message& m) {
    return m.id == msg::kCommand && HighWord(m.wParam) == msg::kBnClicked;
  }));
}

TEST_F(Win32Only, MdiChildIsMadeInsideTheClientAndRunsItsHandler) {
  const Window frame = [&] {
    ws().registerClass(ClassSpec{name("frame"), BaseKind::kMdiFrame, nullptr});
    return ws().create(Describe(name("frame"), "frame", {}, Rect{0, 0, 400, 300}));
  }();
  ASSERT_TRUE(frame);
  WindowStyle visible;
  visible.visible = true;
  const Window client = ws().create(Describe("MDIClient", "", frame, Rect{0, 0, 400, 300}, 0, visible));
  ASSERT_TRUE(client);
  std::vector<Message> got;
  ws().registerClass(
      ClassSpec{name("child"), BaseKind::kMdiChild, [&](Window w, const Message& m) -> LResult {
                  got.push_back(m);
                  return ws().callDefault(w, m);
                }});
  WindowStyle titled;
  titled.visible = true;
  titled.caption = true;
  const Window child = ws().create(Describe(name("child"), "room", client, Rect{0, 0, 200, 150}, 0, titled));
  ASSERT_TRUE(child);
  EXPECT_EQ(ws().parentOf(child), client);
  EXPECT_EQ(ws().findChild(client, {}, name("child")), child);
  EXPECT_EQ(ws().caption(child), "room");
  EXPECT_EQ(ws().send(client, msg::kMdiGetActive).value_or(0), static_cast<LResult>(child.value));
  const auto ids = Ids(got);
  EXPECT_NE(std::find(ids.begin(), ids.end(), msg::kCreate), ids.end());
  EXPECT_TRUE(ws().destroy(child));
  EXPECT_FALSE(ws().exists(child));
  EXPECT_NE(std::find(Ids(got).begin(), Ids(got).end(), msg::kDestroy), Ids(got).end());
}

TEST_F(Win32Only, TextIsReadNoFurtherThanTheBufferTheAnswerOrTheTerminator) {
  struct Case {
    const char* name;
    LResult reportedLength;
    LResult answeredCount;  // -1: the number of bytes really copied
    const char* expected;
  };
  const Case cases[] = {
      {"honest", 5, -1, "hello"},
      {"length says less", 3, -1, "hel"},
      {"length says more", 50, -1, "hello"},
      {"answer says more than was copied", 5, 1000, "hello"},
      {"answer says less", 5, 2, "he"},
      {"negative length", -5, -1, ""},
      {"absurd length", 0x7FFFFFFF, -1, "hello"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string cls = name("liar") + std::to_string(&c - cases);
    ws().registerClass(ClassSpec{cls, BaseKind::kPlain, [&](Window w, const Message& m) -> LResult {
                                   if (m.id == msg::kGetTextLength) return c.reportedLength;
                                   if (m.id != msg::kGetText) return ws().callDefault(w, m);
                                   const std::string text = "hello";
                                   if (m.wParam == 0) return 0;
                                   const std::size_t n = std::min<std::size_t>(text.size(), m.wParam - 1);
                                   std::memcpy(reinterpret_cast<char*>(m.lParam), text.data(), n);
                                   reinterpret_cast<char*>(m.lParam)[n] = '\0';
                                   return c.answeredCount >= 0 ? c.answeredCount : static_cast<LResult>(n);
                                 }});
    const Window w = ws().create(Describe(cls, "", {}, Rect{0, 0, 10, 10}));
    ASSERT_TRUE(w);
    EXPECT_EQ(ws().text(w), c.expected);
  }
}

TEST_F(Win32Only, TimersTickAfterTheirIntervalAndMayStopFromTheirOwnTick) {
  int ticks = 0;
  TimerId self = 0;
  self = p().loop.startTimer(15, [&] {
    if (++ticks == 3) p().loop.stopTimer(self);
  });
  const TimerId other = p().loop.startTimer(60000, [] {});
  EXPECT_NE(self, 0u);
  EXPECT_NE(other, self);
  EXPECT_EQ(ticks, 0);  // nothing ticks before events are pumped
  EXPECT_TRUE(p().loop.waitUntil([&] { return ticks == 3; }, 3000));
  p().loop.pause(0.1);
  EXPECT_EQ(ticks, 3);
  p().loop.stopTimer(other);
  EXPECT_GT(p().loop.startTimer(10, [] {}), other);  // ids are never reused
}

TEST_F(Win32Only, PostedWorkRunsInOrderOnlyWhenEventsArePumped) {
  std::string ran;
  p().loop.postWork([&] {
    ran += 'a';
    p().loop.postWork([&] { ran += 'c'; });
  });
  p().loop.postWork([&] { ran += 'b'; });
  EXPECT_EQ(ran, "");
  p().loop.pump();
  p().loop.pump();
  EXPECT_EQ(ran, "abc");
}

TEST_F(Win32Only, QuitEndsTheLoopWithItsCodeAndAQuitFromElsewhereIsNotLost) {
  p().loop.postWork([&] { p().loop.quit(7); });
  EXPECT_EQ(p().loop.run(), 7);
  EXPECT_TRUE(p().loop.quitRequested());

  system_ = std::make_unique<win32::Win32Platform>();
  PostQuitMessage(5);  // as a nested loop of the system would leave it
  p().loop.pump();
  EXPECT_TRUE(p().loop.quitRequested());
  EXPECT_EQ(p().loop.run(), 5);
}

TEST_F(Win32Only, InputBoxIsADialogWithThePromptOneEditAndOkAndCancel) {
  struct Case {
    const char* name;
    const char* initial;
    const char* typed;  // nullptr: keep what is there
    int button;
    std::optional<std::string> expected;
  };
  const Case cases[] = {
      {"typed and OK", "", "my reason", IDOK, "my reason"},
      {"initial kept and OK", "brb", nullptr, IDOK, "brb"},
      {"cancel", "brb", "changed", IDCANCEL, std::nullopt},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string title = name("input");
    int edits = -1;
    std::string prompt, ok, cancel;
    const TimerId t = whileModal([&] {
      HWND box = FindWindowA("#32770", title.c_str());
      if (!box) return false;
      edits = 0;
      HWND edit = nullptr;
      for (HWND h = GetWindow(box, GW_CHILD); h; h = GetWindow(h, GW_HWNDNEXT)) {
        char cls[32] = {};
        GetClassNameA(h, cls, sizeof cls);
        if (lstrcmpiA(cls, "Edit") == 0) {
          ++edits;
          edit = h;
        }
        if (lstrcmpiA(cls, "Static") == 0)
          prompt = ws().caption(Window{static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(h))});
      }
      char text[32] = {};
      GetDlgItemTextA(box, IDOK, text, sizeof text);
      ok = text;
      GetDlgItemTextA(box, IDCANCEL, text, sizeof text);
      cancel = text;
      if (c.typed && edit) SetWindowTextA(edit, c.typed);
      SendMessageA(GetDlgItem(box, c.button), BM_CLICK, 0, 0);
      return true;
    });
    const auto answer = p().dialogs.inputBox("Why are you away?", title, c.initial);
    p().loop.stopTimer(t);
    EXPECT_EQ(answer, c.expected);
    EXPECT_EQ(edits, 1);
    EXPECT_EQ(prompt, "Why are you away?");
    EXPECT_EQ(ok, "OK");
    EXPECT_EQ(cancel, "Cancel");
  }
}

TEST_F(Win32Only, MessageBoxGivesThePressedButton) {
  const std::string title = name("question");
  const TimerId t = whileModal([&] {
    HWND box = FindWindowA("#32770", title.c_str());
    HWND no = box ? FindWindowExA(box, nullptr, "Button", "&No") : nullptr;
    if (!no) return false;
    SendMessageA(no, BM_CLICK, 0, 0);
    return true;
  });
  EXPECT_EQ(p().dialogs.messageBox({}, "Go on?", title, msg::kMbYesNo), msg::kIdNo);
  p().loop.stopTimer(t);
}

TEST_F(Win32Only, FilesAreReplacedWholeWithoutLeavingTemporaryFiles) {
  char temp[MAX_PATH] = {};
  GetTempPathA(MAX_PATH, temp);
  const std::string folder = std::string(temp) + name("files");
  ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr));
  const std::string file = folder + "\\etr.cfj";
  Files& f = p().files;

  EXPECT_FALSE(f.readFile(file).has_value());
  EXPECT_TRUE(f.writeFileAtomic(file, std::string("one\r\n\0two", 10)));
  EXPECT_EQ(f.readFile(file), std::string("one\r\n\0two", 10));
  EXPECT_TRUE(f.writeFileAtomic(file, "2"));
  EXPECT_EQ(f.readFile(file), "2");
  EXPECT_TRUE(f.fileExists(file));
  EXPECT_FALSE(f.fileExists(folder));
  // A zero byte inside a path would name another file: nothing is written.
  EXPECT_FALSE(f.writeFileAtomic(folder + "\\a" + std::string(1, '\0') + "b", "x"));
  EXPECT_FALSE(f.fileExists(folder + "\\a"));
  EXPECT_FALSE(f.writeFileAtomic(folder + "\\missing\\x.ini", "x"));

  std::vector<std::string> names;
  WIN32_FIND_DATAA found{};
  HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
  for (BOOL more = search != INVALID_HANDLE_VALUE; more; more = FindNextFileA(search, &found)) {
    if (found.cFileName[0] != '.') names.push_back(found.cFileName);
  }
  if (search != INVALID_HANDLE_VALUE) FindClose(search);
  EXPECT_EQ(names, std::vector<std::string>{"etr.cfj"});

  EXPECT_TRUE(f.removeFile(file));
  EXPECT_FALSE(f.fileExists(file));
  EXPECT_FALSE(f.removeFile(file));
  RemoveDirectoryA(folder.c_str());
  EXPECT_NE(f.programFolder().find('\\'), std::string::npos);
  EXPECT_NE(f.windowsFolder().back(), '\\');
}

TEST_F(Win32Only, LowMemoryFitsThirtyTwoBitsAndReadsExactlyThroughTheProcess) {
  auto a = ws().allocateLowMemory(100);
  auto b = ws().allocateLowMemory(100);
  ASSERT_TRUE(a && b);
  EXPECT_NE(a->address(), b->address());
  EXPECT_LT(a->address(), 0x80000000u);
  EXPECT_EQ(a->bytes().size(), 100u);
  for (std::size_t i = 0; i < 100; ++i) a->bytes()[i] = static_cast<std::uint8_t>(i * 7);

  auto reader = ws().openProcess(ws().currentProcess());
  ASSERT_TRUE(reader);
  std::uint8_t got[100] = {};
  EXPECT_TRUE(reader->read(a->address(), got));
  EXPECT_EQ(std::memcmp(got, a->bytes().data(), 100), 0);
  // A read that runs past the committed page fails as a whole rather than giving zeros.
  SYSTEM_INFO info{};
  GetSystemInfo(&info);
  std::uint8_t across[8] = {};
  EXPECT_FALSE(reader->read(a->address() + info.dwPageSize - 4, across));
  // The block is freed with its object, and a read of freed memory fails.
  const std::uint32_t address = a->address();
  a.reset();
  MEMORY_BASIC_INFORMATION state{};
  VirtualQuery(reinterpret_cast<void*>(static_cast<std::uintptr_t>(address)), &state, sizeof state);
  EXPECT_EQ(state.State, static_cast<DWORD>(MEM_FREE));
  EXPECT_FALSE(ws().openProcess(ws().currentProcess())->read(address, got));
  EXPECT_EQ(ws().openProcess(0), nullptr);
}

TEST_F(Win32Only, RegionShapesTheWindowAndAnEmptyRegionHidesAllOfIt) {
  const Window w = makeParent();
  ASSERT_TRUE(ws().setRegion(w, Region{{Rect{0, 0, 10, 10}, Rect{20, 0, 30, 1}, Rect{5, 5, 5, 9}}}));
  HRGN rgn = CreateRectRgn(0, 0, 0, 0);
  ASSERT_EQ(GetWindowRgn(H(w), rgn), COMPLEXREGION);
  EXPECT_TRUE(PtInRegion(rgn, 9, 9));
  EXPECT_TRUE(PtInRegion(rgn, 29, 0));
  EXPECT_FALSE(PtInRegion(rgn, 15, 0));
  EXPECT_FALSE(PtInRegion(rgn, 29, 1));
  ASSERT_TRUE(ws().setRegion(w, Region{}));
  EXPECT_EQ(GetWindowRgn(H(w), rgn), NULLREGION);
  DeleteObject(rgn);
}

TEST_F(Win32Only, PictureShowsInAStaticAtItsNaturalSize) {
  const Window parent = makeParent();
  const Window box = ws().create(Describe("Static", "", parent, Rect{0, 0, 5, 5}, 7));
  Picture picture(30, 20, Rgb(10, 20, 30));
  picture.setPixel(3, 4, Rgb(200, 100, 50));
  ASSERT_TRUE(ws().setPicture(box, picture));
  EXPECT_EQ(ws().clientRect(box), (Rect{0, 0, 30, 20}));
  auto bitmap = reinterpret_cast<HBITMAP>(SendMessageA(H(box), STM_GETIMAGE, IMAGE_BITMAP, 0));
  ASSERT_NE(bitmap, nullptr);
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, bitmap);
  EXPECT_EQ(GetPixel(dc, 0, 0), static_cast<COLORREF>(Rgb(10, 20, 30)));
  EXPECT_EQ(GetPixel(dc, 3, 4), static_cast<COLORREF>(Rgb(200, 100, 50)));
  SelectObject(dc, old);
  DeleteDC(dc);
}

TEST_F(Win32Only, ControlColoursAreAnsweredToTheParentBeforeItsHandler) {
  std::vector<Message> parentGot;
  const Window parent = makeParent(&parentGot);
  const Window label = ws().create(Describe("Static", "away", parent, Rect{0, 0, 50, 20}, 8));
  ASSERT_TRUE(ws().setColors(label, Rgb(255, 0, 0), Rgb(0, 0, 255)));
  HDC dc = CreateCompatibleDC(nullptr);
  parentGot.clear();
  const auto brush =
      ws().send(parent, WM_CTLCOLORSTATIC, reinterpret_cast<WParam>(dc), static_cast<LParam>(label.value));
  EXPECT_NE(brush.value_or(0), 0);
  EXPECT_EQ(GetTextColor(dc), static_cast<COLORREF>(Rgb(255, 0, 0)));
  EXPECT_EQ(GetBkColor(dc), static_cast<COLORREF>(Rgb(0, 0, 255)));
  EXPECT_TRUE(parentGot.empty());
  DeleteDC(dc);
}

TEST_F(Win32Only, FontIsMadeFromTheSpecAndHeldByTheControl) {
  const Window parent = makeParent();
  const Window label = ws().create(Describe("Static", "away", parent, Rect{0, 0, 50, 20}, 8));
  ASSERT_TRUE(ws().setFont(label, FontSpec{"Arial", 12, true, false, true}));
  auto font = reinterpret_cast<HFONT>(SendMessageA(H(label), WM_GETFONT, 0, 0));
  LOGFONTA lf{};
  ASSERT_TRUE(GetObjectA(font, sizeof lf, &lf));
  EXPECT_STREQ(lf.lfFaceName, "Arial");
  EXPECT_EQ(lf.lfWeight, FW_BOLD);
  EXPECT_TRUE(lf.lfUnderline);
  EXPECT_LT(lf.lfHeight, 0);
}

TEST_F(Win32Only, NewMenuCaptionKeepsTheItemsCheckAndState) {
  const Menu menu = ws().createPopupMenu();
  ws().appendMenuItem(menu, 11, "idle &on", MenuItemFlags{true, true, false});
  ASSERT_TRUE(ws().setMenuItemCaption(menu, 11, "idle of&f"));
  EXPECT_EQ(ws().menuItemCaption(menu, 11), "idle of&f");
  EXPECT_TRUE(ws().isMenuItemChecked(menu, 11));
  EXPECT_FALSE(ws().isMenuItemEnabled(menu, 11));
  EXPECT_EQ(ws().menuItemText(menu, 0, 5), "idle");  // a buffer of 5 keeps 4 and the end
  DestroyMenu(reinterpret_cast<HMENU>(static_cast<std::intptr_t>(static_cast<std::int32_t>(menu.value))));
}

TEST_F(Win32Only, AThrowingHandlerDoesNotUnwindThroughTheSystem) {
  const std::string cls = name("thrower");
  ws().registerClass(ClassSpec{cls, BaseKind::kPlain, [&](Window w, const Message& m) -> LResult {
                                 if (m.id == msg::kUser + 5) throw std::runtime_error("handler failed");
                                 return ws().callDefault(w, m);
                               }});
  const Window w = ws().create(Describe(cls, "still here", {}, Rect{0, 0, 10, 10}));
  ASSERT_TRUE(w);
  EXPECT_EQ(ws().send(w, msg::kUser + 5).value_or(-1), 0);
  EXPECT_EQ(ws().caption(w), "still here");
}

TEST_F(Win32Only, EndingThePlatformDestroysItsWindowsWithoutRunningTheirHandlers) {
  int handled = 0;
  const std::string cls = name("leftover");
  ws().registerClass(ClassSpec{cls, BaseKind::kPlain, [&](Window w, const Message& m) -> LResult {
                                 ++handled;
                                 return ws().callDefault(w, m);
                               }});
  const Window w = ws().create(Describe(cls, "", {}, Rect{0, 0, 10, 10}));
  const Window edit = ws().create(Describe("Edit", "", w, Rect{0, 0, 5, 5}, 3));
  ASSERT_TRUE(w && edit);
  handled = 0;
  system_.reset();
  EXPECT_EQ(handled, 0);
  EXPECT_FALSE(IsWindow(H(w)));
  EXPECT_FALSE(IsWindow(H(edit)));
  WNDCLASSEXA info{};
  info.cbSize = sizeof info;
  EXPECT_FALSE(GetClassInfoExA(GetModuleHandleA(nullptr), cls.c_str(), &info));
  system_ = std::make_unique<win32::Win32Platform>();
}

}  // namespace
}  // namespace vantary::platform

#endif  // _WIN32
