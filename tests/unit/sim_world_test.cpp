// The sim's own behaviour that the contract cases cannot reach: hung processes, virtual
// time, dialog answers, files, recorded services, memory locks and message logs.
#include <gtest/gtest.h>

#include <array>
#include <atomic>
#include <chrono>
#include <cstring>
#include <fstream>

#include <unistd.h>

#include "platform/sim/sim_world.h"

namespace vantary::platform::sim {
namespace {

namespace fs = std::filesystem;

fs::path FreshFolder() {
  static std::atomic<int> counter{0};
  return fs::temp_directory_path() /
         ("vantary-sim-" + std::to_string(::getpid()) + "-" + std::to_string(++counter));
}

class SimWorldTest : public ::testing::Test {
 protected:
  SimWorldTest()
      : folder_(FreshFolder()),
        world_(folder_),
        program_(world_.addProcess("program")),
        host_(world_.addProcess("host", "host")) {}
  ~SimWorldTest() override {
    std::error_code ec;
    fs::remove_all(folder_, ec);
  }

  WindowSystem& ws() { return program_.platform().windows; }
  WindowSystem& hostWs() { return host_.platform().windows; }

  // A top-level window of the host with a class that counts what it receives.
  Window hostWindow(const Text& name, WindowHandler handler = {}) {
    ClassSpec cls;
    cls.name = name;
    cls.handler = handler ? std::move(handler) : [this](Window w, const Message& m) {
      received_.push_back(m.id);
      return hostWs().callDefault(w, m);
    };
    EXPECT_TRUE(hostWs().registerClass(cls));
    return hostWs().create(WindowSpec{name, "host window", {}, Window{}, Rect{0, 0, 300, 200}, 0, Window{}});
  }

  Window makeChild(WindowSystem& system, Window parent, const Text& cls, int id, WindowStyle style = {},
                   Rect rect = Rect{0, 0, 100, 20}) {
    style.child = true;
    return system.create(WindowSpec{cls, {}, style, parent, rect, id, Window{}});
  }

  fs::path folder_;
  SimWorld world_;
  SimProcess& program_;
  SimProcess& host_;
  std::vector<std::uint32_t> received_;
};

TEST_F(SimWorldTest, SendToAHungProcessIsAbandonedAfterTheLimitAndTheProgramKeepsRunning) {
  const Window w = hostWindow("HostFrame");
  received_.clear();
  int programTicks = 0;
  int hostTicks = 0;
  Timer programTimer(program_.platform().loop, 500, [&] { ++programTicks; });
  Timer hostTimer(host_.platform().loop, 500, [&] { ++hostTicks; });
  programTimer.setEnabled(true);
  hostTimer.setEnabled(true);

  world_.setHung(host_.id(), true);
  const std::uint64_t start = world_.loop().nowMs();
  EXPECT_FALSE(ws().send(w, msg::kApp).has_value());
  EXPECT_EQ(world_.loop().nowMs() - start, kForeignSendLimitMs);
  EXPECT_EQ(ws().text(w), "");                // abandoned, no second send
  EXPECT_EQ(ws().caption(w), "host window");  // read without a message
  EXPECT_TRUE(ws().post(w, msg::kApp + 1));
  world_.runFor(3000);
  EXPECT_TRUE(received_.empty());
  EXPECT_EQ(hostTicks, 0);
  // The program's timer missed its ticks during the abandoned send (one comes late), then
  // ticks every interval: 2500, 3000, ... 5000.
  EXPECT_EQ(programTicks, 7);

  world_.setHung(host_.id(), false);
  world_.loop().pump();
  EXPECT_EQ(received_, std::vector<std::uint32_t>{msg::kApp + 1});
  EXPECT_EQ(hostTicks, 1);  // the missed ticks come as one
  EXPECT_EQ(ws().send(w, msg::kGetTextLength), 11);
}

TEST_F(SimWorldTest, AWeekOfVirtualTimeTicksAMinuteTimerEveryMinuteInWellUnderASecond) {
  int ticks = 0;
  std::uint64_t lastTick = 0;
  bool evenlySpaced = true;
  const std::uint64_t start = world_.loop().nowMs();
  Timer minute(program_.platform().loop, 60000, [&] {
    const std::uint64_t now = world_.loop().nowMs();
    if (now - start != static_cast<std::uint64_t>(ticks + 1) * 60000) evenlySpaced = false;
    lastTick = now;
    ++ticks;
  });
  minute.setEnabled(true);
  const auto began = std::chrono::steady_clock::now();
  program_.platform().loop.pause(7 * 24 * 3600.0);
  const auto took = std::chrono::steady_clock::now() - began;
  EXPECT_EQ(ticks, 10080);
  EXPECT_TRUE(evenlySpaced);
  EXPECT_EQ(lastTick, start + 7ull * 24 * 3600 * 1000);
  EXPECT_LT(took, std::chrono::seconds(1));
}

TEST_F(SimWorldTest, RunForMovesTimeTimerByTimerAndTheWallClockFollows) {
  world_.setTimeOfDay(TimeOfDay{23, 59, 30});
  std::vector<std::uint64_t> at;
  const std::uint64_t start = world_.loop().nowMs();
  const TimerId id = world_.loop().startTimer(25000, [&] { at.push_back(world_.loop().nowMs() - start); });
  world_.runFor(60000);
  EXPECT_EQ(at, (std::vector<std::uint64_t>{25000, 50000}));
  EXPECT_EQ(world_.loop().nowMs() - start, 60000u);
  const TimeOfDay t = world_.loop().timeOfDay();
  EXPECT_EQ(t.hour, 0);
  EXPECT_EQ(t.minute, 0);
  EXPECT_EQ(t.second, 30);
  world_.loop().stopTimer(id);
  // Timers are never finer than the system's minimum.
  int fast = 0;
  world_.loop().startTimer(1, [&] { ++fast; });
  world_.runFor(100);
  EXPECT_EQ(fast, 10);
}

TEST_F(SimWorldTest, RunReturnsTheQuitCodeAndEndsWhenNothingCanHappen) {
  EventLoop& loop = program_.platform().loop;
  EXPECT_EQ(loop.run(), -1);
  loop.startTimer(1000, [&] { loop.quit(7); });
  EXPECT_EQ(loop.run(), 7);
  EXPECT_TRUE(loop.quitRequested());
}

TEST_F(SimWorldTest, DialogsAreAnsweredFromTheQueueAndCountedWhenUnanswered) {
  Dialogs& dialogs = program_.platform().dialogs;
  world_.queueDialogAnswer(DialogAnswer::Button(msg::kIdYes));
  world_.queueDialogAnswer(DialogAnswer::Input("away"));
  world_.queueDialogAnswer(DialogAnswer::Cancel());
  EXPECT_EQ(dialogs.messageBox(Window{}, "Sure?", "vantary", msg::kMbYesNo), msg::kIdYes);
  EXPECT_EQ(dialogs.inputBox("Reason", "vantary"), std::optional<Text>("away"));
  EXPECT_EQ(dialogs.inputBox("Reason", "vantary"), std::nullopt);
  EXPECT_EQ(world_.unansweredDialogs(), 0);
  EXPECT_EQ(dialogs.messageBox(Window{}, "Again?", "vantary", msg::kMbOkCancel), msg::kIdCancel);
  EXPECT_EQ(host_.platform().dialogs.inputBox("Name", "host"), std::nullopt);
  EXPECT_EQ(world_.unansweredDialogs(), 2);
  ASSERT_EQ(world_.dialogs().size(), 5u);
  EXPECT_EQ(world_.dialogs()[0].text, "Sure?");
  EXPECT_EQ(world_.dialogs()[0].style, msg::kMbYesNo);
  EXPECT_EQ(world_.dialogs()[1].kind, DialogRecord::Kind::kInputBox);
  EXPECT_EQ(world_.dialogs()[4].process, host_.id());
}

TEST_F(SimWorldTest, FilesMapOntoTheRootWithoutRegardToCaseAndWriteAtomically) {
  Files& files = program_.platform().files;
  EXPECT_EQ(files.programFolder(), "C:\\vantary");
  EXPECT_EQ(host_.platform().files.programFolder(), "C:\\host");
  EXPECT_EQ(files.windowsFolder(), "C:\\WINDOWS");

  ASSERT_TRUE(files.writeFileAtomic("C:\\Vantary\\Data\\ETR.cfj", "one\r\ntwo\r\n"));
  EXPECT_TRUE(files.fileExists("c:\\VANTARY\\data\\etr.CFJ"));
  EXPECT_EQ(files.readFile("c:/vantary/data/etr.cfj"), std::optional<std::string>("one\r\ntwo\r\n"));
  EXPECT_EQ(world_.hostPath("C:\\Vantary\\Data\\ETR.cfj"), folder_ / "c" / "vantary" / "data" / "etr.cfj");
  EXPECT_FALSE(files.fileExists("c:\\vantary\\data"));  // a folder is not a file

  ASSERT_TRUE(files.writeFileAtomic("c:\\vantary\\data\\etr.cfj", "three"));
  EXPECT_EQ(files.readFile("C:\\VANTARY\\DATA\\ETR.CFJ"), std::optional<std::string>("three"));
  std::vector<fs::path> left;
  for (const auto& entry : fs::directory_iterator(folder_ / "c" / "vantary" / "data"))
    left.push_back(entry.path());
  EXPECT_EQ(left, std::vector<fs::path>{folder_ / "c" / "vantary" / "data" / "etr.cfj"});

  // Paths never leave the root, and names Windows forbids name no file.
  EXPECT_EQ(world_.hostPath("c:\\..\\..\\x.ini"), folder_ / "c" / "x.ini");
  EXPECT_EQ(world_.hostPath("D:\\Other\\.\\a.txt."), folder_ / "d" / "other" / "a.txt");
  EXPECT_FALSE(files.writeFileAtomic("c:\\vantary\\bad?.txt", "x"));
  EXPECT_FALSE(files.fileExists(""));

  EXPECT_TRUE(files.removeFile("C:\\VANTARY\\DATA\\ETR.CFJ"));
  EXPECT_FALSE(files.fileExists("c:\\vantary\\data\\etr.cfj"));
  EXPECT_FALSE(files.removeFile("c:\\vantary\\data\\etr.cfj"));
  EXPECT_EQ(files.readFile("c:\\vantary\\data\\etr.cfj"), std::nullopt);
}

TEST_F(SimWorldTest, SoundTrayAndShellAreRecorded) {
  Platform& p = program_.platform();
  ASSERT_TRUE(p.files.writeFileAtomic("c:\\vantary\\ding.wav", "RIFF"));
  EXPECT_TRUE(p.sound.playWave("C:\\Vantary\\Ding.wav", 3));
  EXPECT_FALSE(p.sound.playWave("c:\\vantary\\missing.wav", 3));
  EXPECT_FALSE(p.sound.mciCommand("open \"c:\\vantary\\song.mid\" type sequencer alias music"));
  EXPECT_TRUE(p.sound.mciCommand("close music"));
  ASSERT_EQ(world_.sounds().size(), 4u);
  EXPECT_EQ(world_.sounds()[0].kind, SoundRecord::Kind::kWave);
  EXPECT_EQ(world_.sounds()[0].flags, 3u);
  EXPECT_EQ(world_.sounds()[3].text, "close music");

  const TrayIcon icon{Window{42}, 1, 7, msg::kTrayCallback, "vantary"};
  EXPECT_TRUE(p.tray.addIcon(icon));
  EXPECT_FALSE(p.tray.addIcon(icon));
  EXPECT_TRUE(p.tray.deleteIcon(icon));
  EXPECT_FALSE(p.tray.deleteIcon(icon));
  ASSERT_EQ(world_.trayEvents().size(), 4u);
  EXPECT_TRUE(world_.trayEvents()[0].added);
  EXPECT_EQ(world_.trayEvents()[0].icon, icon);
  EXPECT_FALSE(world_.trayEvents()[2].added);

  EXPECT_FALSE(p.shell.startProgram("c:\\host\\host.exe", msg::kSwShow));
  ASSERT_TRUE(p.files.writeFileAtomic("c:\\host\\host.exe", "MZ"));
  EXPECT_TRUE(p.shell.startProgram("C:\\HOST\\HOST.EXE", msg::kSwShow));
  world_.setStartProgramResult(false);
  EXPECT_FALSE(p.shell.startProgram("c:\\host\\host.exe", msg::kSwShow));
  EXPECT_TRUE(p.shell.exitWindows(kEwxReboot));
  ASSERT_EQ(world_.shellEvents().size(), 4u);
  EXPECT_EQ(world_.shellEvents()[1].path, "C:\\HOST\\HOST.EXE");
  EXPECT_EQ(world_.shellEvents()[3].kind, ShellRecord::Kind::kExitWindows);
  EXPECT_EQ(world_.shellEvents()[3].flags, kEwxReboot);

  EXPECT_EQ(p.screen.size(), (Size{1024, 768}));
  world_.setScreenSize(Size{800, 600});
  world_.setCursor(Point{5, 6});
  EXPECT_EQ(p.screen.size(), (Size{800, 600}));
  EXPECT_EQ(p.screen.cursor(), (Point{5, 6}));
  EXPECT_EQ(p.screen.twipsPerPixelX(), 15);
}

TEST_F(SimWorldTest, ChanceIsTheSameInEveryRun) {
  SimWorld again(FreshFolder());
  SimProcess& twin = again.addProcess("program");
  for (int i = 0; i < 100; ++i) {
    const double a = program_.platform().random.nextFraction();
    EXPECT_EQ(a, twin.platform().random.nextFraction());
    EXPECT_GE(a, 0.0);
    EXPECT_LT(a, 1.0);
  }
  fs::remove_all(again.root());
}

TEST_F(SimWorldTest, MemoryIsReadableOnlyWhereWrittenOrAllocatedAndNotWhenLocked) {
  const std::array<std::uint8_t, 4> bytes{1, 2, 3, 4};
  host_.writeMemory(0x00500000, bytes);
  auto reader = ws().openProcess(host_.id());
  ASSERT_NE(reader, nullptr);
  std::array<std::uint8_t, 4> out{};
  ASSERT_TRUE(reader->read(0x00500000, out));
  EXPECT_EQ(out, bytes);
  EXPECT_FALSE(reader->read(0x00500001, out));
  EXPECT_FALSE(reader->read(0xFFFFFFFE, out));

  // Writing into an allocated block changes what the owner sees.
  auto block = hostWs().allocateLowMemory(8);
  ASSERT_NE(block, nullptr);
  host_.writeMemory(block->address() + 2, bytes);
  EXPECT_EQ(block->bytes()[5], 4);
  // Each process has its own addresses.
  auto mine = ws().allocateLowMemory(8);
  ASSERT_NE(mine, nullptr);
  EXPECT_NE(mine->address(), block->address());
  EXPECT_FALSE(reader->read(mine->address(), std::span(out)));
  EXPECT_EQ(ws().allocateLowMemory(0), nullptr);

  world_.setMemoryLocked(host_.id(), true);
  EXPECT_EQ(ws().openProcess(host_.id()), nullptr);
  world_.setMemoryLocked(host_.id(), false);
  EXPECT_NE(ws().openProcess(host_.id()), nullptr);
  EXPECT_EQ(ws().openProcess(99999), nullptr);
}

TEST_F(SimWorldTest, MessageLogRecordsSentAndPostedMessagesInOrder) {
  const Window w = hostWindow("Logged");
  world_.recordMessages(w);
  ws().post(w, msg::kApp, 1, 2);
  ws().send(w, msg::kSetText, 0, reinterpret_cast<LParam>("x"));
  world_.loop().pump();
  const std::vector<MessageRecord> expected{
      {w, Message{msg::kSetText, 0, reinterpret_cast<LParam>("x")}, false},
      {w, Message{msg::kApp, 1, 2}, true},
  };
  ASSERT_EQ(world_.messageLog().size(), 2u);
  EXPECT_EQ(world_.messageLog()[0].message.id, expected[0].message.id);
  EXPECT_EQ(world_.messageLog()[1], expected[1]);
  world_.clearMessageLog();
  EXPECT_TRUE(world_.messageLog().empty());
}

TEST_F(SimWorldTest, DestroyNotifiesParentFirstAndHandlesAreNeverReused) {
  std::vector<std::pair<Window, bool>> destroyed;  // window, whether its child still existed
  ClassSpec cls;
  cls.name = "Tree";
  cls.handler = [&](Window w, const Message& m) {
    if (m.id == msg::kDestroy)
      destroyed.emplace_back(w, static_cast<bool>(ws().findChild(w, Window{}, "Tree")));
    return ws().callDefault(w, m);
  };
  ASSERT_TRUE(ws().registerClass(cls));
  EXPECT_FALSE(ws().registerClass(cls));  // once per process
  const std::size_t before = world_.windowCount();
  const Window root = ws().create(WindowSpec{"tree", "root", {}, Window{}, Rect{}, 0, Window{}});
  const Window leaf = makeChild(ws(), root, "Tree", 1);
  ASSERT_TRUE(root && leaf);
  ASSERT_TRUE(ws().destroy(root));
  const std::vector<std::pair<Window, bool>> expected{{root, true}, {leaf, false}};
  EXPECT_EQ(destroyed, expected);
  EXPECT_EQ(world_.windowCount(), before);
  const Window next = ws().create(WindowSpec{"Tree", "next", {}, Window{}, Rect{}, 0, Window{}});
  EXPECT_GT(next.value, leaf.value);
  // A process destroys only its own windows; a class of another process is unknown.
  EXPECT_FALSE(hostWs().destroy(next));
  EXPECT_FALSE(hostWs().create(WindowSpec{"Tree", "", {}, Window{}, Rect{}, 0, Window{}}));
  // WM_CREATE answering -1 makes no window.
  cls.name = "Refuses";
  cls.handler = [&](Window w, const Message& m) -> LResult {
    return m.id == msg::kCreate ? -1 : ws().callDefault(w, m);
  };
  ASSERT_TRUE(ws().registerClass(cls));
  EXPECT_FALSE(ws().create(WindowSpec{"Refuses", "", {}, Window{}, Rect{}, 0, Window{}}));
}

TEST_F(SimWorldTest, CloseDestroysAPlainWindowAndPressesCancelOnADialog) {
  const Window plain = hostWindow("Plain");
  hostWs().send(plain, msg::kClose);
  EXPECT_FALSE(ws().exists(plain));

  std::vector<std::pair<int, int>> commands;
  ClassSpec dlg;
  dlg.name = "HostDialog";
  dlg.base = BaseKind::kDialog;
  dlg.handler = [&](Window w, const Message& m) {
    if (m.id == msg::kCommand) commands.emplace_back(LowWord(m.wParam), static_cast<int>(m.lParam));
    return hostWs().callDefault(w, m);
  };
  ASSERT_TRUE(hostWs().registerClass(dlg));
  const Window box = hostWs().create(WindowSpec{"HostDialog", "Idle", {}, Window{}, Rect{}, 0, Window{}});
  const Window cancel = makeChild(hostWs(), box, "Button", msg::kIdCancel);
  ws().send(box, msg::kClose);
  EXPECT_TRUE(commands.empty());  // the system posts the Cancel press
  world_.loop().pump();
  const std::vector<std::pair<int, int>> expected{{msg::kIdCancel, static_cast<int>(cancel.value)}};
  EXPECT_EQ(commands, expected);
  EXPECT_TRUE(ws().exists(box));
}

TEST_F(SimWorldTest, SystemCommandsMinimizeRestoreAndMoveToTheDragTarget) {
  const Window w = hostWindow("Movable");
  const Window inner = makeChild(hostWs(), w, "Static", 1, {}, Rect{10, 10, 50, 30});
  ws().send(w, msg::kSysCommand, msg::kScMinimize);
  EXPECT_TRUE(ws().isMinimized(w));
  EXPECT_EQ(ws().windowRect(w).left, -32000);
  ws().send(w, msg::kSysCommand, msg::kScRestore);
  EXPECT_FALSE(ws().isMinimized(w));

  // Without a target the move changes nothing; the low bits of the command are ignored.
  ws().send(w, msg::kSysCommand, msg::kScMove | 2);
  EXPECT_EQ(ws().windowRect(w), (Rect{0, 0, 300, 200}));
  world_.setNextDragTarget(Point{40, 50});
  ws().send(w, msg::kSysCommand, msg::kScMove | 2);
  EXPECT_EQ(ws().windowRect(w), (Rect{40, 50, 340, 250}));
  world_.setNextDragTarget(Point{100, 100});
  hostWs().dragWithMouse(inner);
  EXPECT_EQ(ws().windowRect(inner), (Rect{100, 100, 140, 120}));
  hostWs().dragWithMouse(inner);  // the target was used up
  EXPECT_EQ(ws().windowRect(inner), (Rect{100, 100, 140, 120}));
}

TEST_F(SimWorldTest, ControlsNotifyTheirParentsOfUserChanges) {
  std::vector<Message> toParent;
  const Window parent = hostWindow("Panel", [&](Window w, const Message& m) {
    if (m.id == msg::kCommand || m.id == msg::kHScroll) toParent.push_back(m);
    return hostWs().callDefault(w, m);
  });
  WindowStyle notify;
  notify.notify = true;
  const Window list = makeChild(hostWs(), parent, "ListBox", 5, notify, Rect{0, 0, 100, 160});
  const Window label = makeChild(hostWs(), parent, "Static", 6, notify);
  const Window silent = makeChild(hostWs(), parent, "Static", 7);
  const Window slider = makeChild(hostWs(), parent, "msctls_trackbar32", 8, {}, Rect{0, 0, 101, 20});
  const Window button = makeChild(hostWs(), parent, "Button", 9);
  for (const char* row : {"ann", "bob", "cy"})
    ws().send(list, msg::kLbAddString, 0, reinterpret_cast<LParam>(row));

  ws().send(list, msg::kLButtonDown, 0, MakeLParam(3, 20));  // the second row
  EXPECT_EQ(ws().send(list, msg::kLbGetCurSel), 1);
  ws().send(list, msg::kLButtonDblClk, 0, MakeLParam(3, 20));
  ws().sendClick(label);
  ws().sendClick(silent);
  ws().send(slider, msg::kTbmSetPos, 1, 500);  // clamped, and not reported
  EXPECT_EQ(ws().send(slider, msg::kTbmGetPos), 100);
  ws().send(slider, msg::kTbmSetRangeMax, 1, 50);
  EXPECT_EQ(ws().send(slider, msg::kTbmGetPos), 50);
  ws().sendKey(slider, 0x25);  // Left: one line down from the end
  EXPECT_EQ(ws().send(slider, msg::kTbmGetPos), 49);
  ws().enable(button, false);
  ws().sendClick(button);
  ws().send(button, msg::kBmClick);

  struct Expected {
    std::uint32_t id;
    int low;
    int high;
  };
  const Expected expected[] = {
      {msg::kCommand, 5, msg::kLbnSelChange},
      {msg::kCommand, 5, msg::kLbnDblClk},  // the row was already selected
      {msg::kCommand, 6, msg::kStnClicked},
      {msg::kHScroll, 0, 0},  // SB_LINEUP
      {msg::kHScroll, msg::kSbEndScroll, 0},
  };
  ASSERT_EQ(toParent.size(), std::size(expected));
  for (std::size_t i = 0; i < toParent.size(); ++i) {
    EXPECT_EQ(toParent[i].id, expected[i].id) << i;
    EXPECT_EQ(LowWord(toParent[i].wParam), expected[i].low) << i;
    EXPECT_EQ(HighWord(toParent[i].wParam), expected[i].high) << i;
  }
  EXPECT_EQ(toParent[0].lParam, static_cast<LParam>(list.value));
}

TEST_F(SimWorldTest, PopupMenusAreRecordedAndAnsweredWithAQueuedChoice) {
  const Window owner = hostWindow("Owner");
  Menu popup = ws().createPopupMenu();
  ws().appendMenuItem(popup, 300, "&Restore");
  EXPECT_TRUE(ws().trackPopupMenu(popup, owner, Point{10, 20}));
  world_.loop().pump();
  EXPECT_EQ(std::find(received_.begin(), received_.end(), msg::kCommand), received_.end());
  world_.queuePopupChoice(300);
  EXPECT_TRUE(ws().trackPopupMenu(popup, owner, Point{30, 40}));
  world_.loop().pump();
  EXPECT_NE(std::find(received_.begin(), received_.end(), msg::kCommand), received_.end());
  ASSERT_EQ(world_.popupMenus().size(), 2u);
  ASSERT_TRUE(world_.lastPopupMenu().has_value());
  EXPECT_EQ(world_.lastPopupMenu()->at, (Point{30, 40}));
  EXPECT_EQ(world_.lastPopupMenu()->menu, popup);

  // A destroyed window takes its menu bar with it.
  Menu bar = ws().createMenuBar();
  ws().appendSubmenu(bar, popup, "&Window");
  ASSERT_TRUE(hostWs().setMenu(owner, bar));
  EXPECT_EQ(ws().menuItemCount(bar), 1);  // readable from another process in the sim
  hostWs().destroy(owner);
  EXPECT_EQ(ws().menuItemCount(bar), -1);
  EXPECT_EQ(ws().menuItemCount(popup), -1);
}

TEST_F(SimWorldTest, WhatTheProgramSetsOnItsWindowsCanBeInspected) {
  const Window w = hostWindow("Styled");
  EXPECT_TRUE(world_.shownInTaskbar(w));
  hostWs().showInTaskbar(w, false);
  EXPECT_FALSE(world_.shownInTaskbar(w));
  hostWs().setFont(w, FontSpec{"Tahoma", 10, true, false, false});
  ASSERT_TRUE(world_.fontOf(w).has_value());
  EXPECT_EQ(world_.fontOf(w)->face, "Tahoma");
  hostWs().setColors(w, Rgb(1, 2, 3), Rgb(4, 5, 6));
  EXPECT_EQ(world_.colorsOf(w), std::make_pair(Rgb(1, 2, 3), Rgb(4, 5, 6)));
  const Region region{{Rect{0, 0, 10, 10}}};
  hostWs().setRegion(w, region);
  EXPECT_EQ(world_.regionOf(w), region);
  hostWs().setPicture(w, Picture(2, 3, Rgb(9, 9, 9)));
  ASSERT_TRUE(world_.pictureOf(w).has_value());
  EXPECT_EQ(world_.pictureOf(w)->height(), 3);
  hostWs().show(w, msg::kSwShow);
  EXPECT_EQ(world_.foregroundWindow(), w);
  EXPECT_FALSE(world_.fontOf(Window{12345}).has_value());
}

}  // namespace
}  // namespace vantary::platform::sim
