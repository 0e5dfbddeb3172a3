// The console's settings files when another program holds them or they refuse writes: the
// user is told, the stored overall time is never written over, and what was counted
// meanwhile joins it.
#include <gtest/gtest.h>

#include "tests/world/console_fixture.h"

namespace vantary::console::testing {
namespace {

using platform::sim::DialogRecord;

// An idle session on a machine where the program has run before, with immune scrolls so
// that only the clock runs, started while `held` is held by another program.
struct HeldFileWorld : ConsoleWorld {
  void begin(std::string_view held, std::string_view day, std::string_view hour, std::string_view minutes) {
    existingMachine();
    setConfig("immune", "1");
    setData("day2", day);
    setData("hour2", hour);
    setData("minutes2", minutes);
    heldPath = path(held);
    world.setFileLocked(heldPath, true);
    world.queueDialogAnswer(DialogAnswer::Button(msg::kIdOk));
    signOnInRoom();
    start(1000);
    click("idleon");
  }
  std::string bytes(const Text& file) { return program().files.readFile(file).value_or("(unreadable)"); }
  Text overall() { return data("day2") + "d " + data("hour2") + "h " + data("minutes2") + "m"; }

  Text heldPath;
};

TEST(ConsoleFiles, SettingsFileHeldAtStartIsNamedOnceAndLeftAsItWas) {
  const struct {
    const char* file;
    const char* text;
  } cases[] = {
      {"data",
       "C:\\WINDOWS\\vantari4583.dat could not be read. the overall idle time stored in it is kept: the time "
       "counted from now on is added to it once the file can be read."},
      {"config",
       "C:\\vantary\\etr.cfj could not be read. the options stored in it are not used this time, and the "
       "file "
       "is kept as it is."},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.file);
    HeldFileWorld w;
    w.begin(c.file, "2", "5", "30");
    w.world.setFileLocked(w.heldPath, false);
    const std::string before = w.bytes(w.heldPath);
    w.world.setFileLocked(w.heldPath, true);
    w.minutes(3);
    w.world.setFileLocked(w.heldPath, false);
    EXPECT_EQ(w.bytes(w.heldPath), before);
    ASSERT_EQ(w.world.dialogs().size(), 1u);
    const DialogRecord& told = w.world.dialogs()[0];
    EXPECT_EQ(told.title, "vantary : settings");
    EXPECT_EQ(told.text, c.text);
  }
}

// However long the file is held, the next minute after its release stores the stored time
// plus every minute counted since the start, carried into hours and days; later minutes
// go on from there.
TEST(ConsoleFiles, OverallTimeCountedWhileTheDataFileWasHeldJoinsTheStoredTime) {
  const struct {
    const char* day;
    const char* hour;
    const char* minutes;
    int heldMinutes;  // after the start
    int idleMinutes;
    const char* stored;
    const char* minuteLater;
  } cases[] = {
      {"2", "5", "30", 0, 3, "2d 5h 33m", "2d 5h 34m"},
      {"2", "23", "58", 2, 3, "3d 0h 1m", "3d 0h 2m"},
      {"", "", "", 1, 2, "0d 0h 2m", "0d 0h 3m"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.stored);
    HeldFileWorld w;
    w.begin("data", c.day, c.hour, c.minutes);
    w.minutes(c.heldMinutes);
    w.world.setFileLocked(w.heldPath, false);
    w.minutes(c.idleMinutes - c.heldMinutes);
    EXPECT_EQ(w.overall(), c.stored);
    EXPECT_EQ(w.data("color"), "336699") << "the data file's other keys stay";
    w.minutes(1);
    EXPECT_EQ(w.overall(), c.minuteLater);
  }
}

// Editors filled while the data file was held hold none of its values: once it can be read
// they take them (the lines carry the stored colour again), and a save in any editor keeps
// what the user did not change as it was stored.
TEST(ConsoleFiles, EditorsNeverSaveOverTheDataFileTheyCouldNotRead) {
  HeldFileWorld w;
  w.setData("cus1", "back soon");
  w.begin("data", "1", "2", "3");
  editors::EditorWindows& e = w.console->editors();
  EXPECT_EQ(e.color->text("Text1"), "");
  e.customs->setText("Text2", "typed meanwhile");
  w.world.setFileLocked(w.heldPath, false);
  w.minutes(1);
  EXPECT_EQ(w.console->style().color1, "336699");
  w.program().windows.sendClick(e.customs->control("SSRibbon2"));
  w.program().windows.sendClick(e.ascii->control("SSRibbon1"));
  EXPECT_EQ(w.data("cus1"), "back soon");
  EXPECT_EQ(w.data("cus2"), "typed meanwhile");
  EXPECT_EQ(w.data("autoascii1"), windows::kAscii1Design);
}

// A standard user of a current system may not write into the Windows folder: the files
// kept there live in the user's own folder instead, the user is told once, and the
// overall time survives restarts, carried over from a Windows folder that held it before.
TEST(ConsoleFiles, UnwritableWindowsFolderKeepsTheFilesInTheUsersOwnFolder) {
  for (const bool before : {false, true}) {
    SCOPED_TRACE(before ? "files in the Windows folder from before" : "first start");
    ConsoleWorld w;
    const Text windows = w.program().files.windowsFolder();
    const Text own = w.program().files.userDataFolder() + "\\vantary";
    if (before) {
      w.existingMachine();
      w.setData("minutes2", "30");
    }
    w.world.setFolderWriteProtected(windows, true);
    w.world.queueDialogAnswer(DialogAnswer::Button(msg::kIdOk));
    w.signOnInRoom();
    w.start(1000);
    w.world.runFor(2 * kTellCheckMs);  // what start-up tells shows once it is over
    ASSERT_EQ(w.world.dialogs().size(), 1u);
    EXPECT_EQ(w.world.dialogs()[0].text,
              "vantary cannot write its settings into " + windows + ", so it keeps them in " + own + ".");
    w.click("idleon");
    w.minutes(5);
    w.click("idleon");  // idle off: the session ends, so the restart finds no unfinished one
    w.stop();

    w.start(1000);
    w.click("idleon");
    w.minutes(2);
    w.stop();
    EXPECT_EQ(w.world.dialogs().size(), 1u);  // told once
    EXPECT_EQ(w.path("data"), own + "\\vantari4583.dat");
    EXPECT_EQ(w.data("minutes2"), before ? "37" : "7");
    EXPECT_TRUE(w.program().files.fileExists(own + "\\vantary123.ini"));
    // The program's own folder could be written: its option file stayed there.
    EXPECT_EQ(w.path("config"), w.program().files.programFolder() + "\\etr.cfj");
  }

  // Where the user's own folder cannot be written either, the files stay where they were
  // and nothing says they were moved.
  ConsoleWorld w;
  const Text windows = w.program().files.windowsFolder();
  w.world.setFolderWriteProtected(windows, true);
  w.world.setFolderWriteProtected(w.program().files.userDataFolder() + "\\vantary", true);
  w.start(1000);
  w.world.runFor(2 * kTellCheckMs);
  EXPECT_EQ(w.path("data"), windows + "\\vantari4583.dat");
  for (const DialogRecord& d : w.world.dialogs()) EXPECT_EQ(d.text.find("so it keeps them in"), Text::npos);
}

// The multiple messages' file held at start: the user is told, and a save neither writes
// over it unread nor loses what was added; once it can be read, a save keeps both.
TEST(ConsoleFiles, HeldMessagesFileIsNeverWrittenOverUnread) {
  ConsoleWorld w;
  w.existingMachine();
  const Text file = w.path("messages");
  ASSERT_TRUE(w.program().files.writeFileAtomic(file, "lunch\r\nnap\r\n"));
  w.world.setFileLocked(file, true);
  w.world.queueDialogAnswer(DialogAnswer::Button(msg::kIdOk));
  Console& c = w.start();
  w.world.runFor(2 * kTellCheckMs);  // what start-up tells shows once it is over
  ASSERT_EQ(w.world.dialogs().size(), 1u);
  EXPECT_EQ(w.world.dialogs()[0].text, file +
                                           " could not be read. its messages are kept: the list is read "
                                           "again before it is saved.");
  windows::MessagesWindow& messages = *c.editors().messages;
  messages.show();
  messages.setText("rndtext", "walk");
  w.program().windows.sendKey(messages.control("rndtext"), msg::kVkReturn);
  const auto save = [&] { w.program().windows.sendClick(messages.control("SSRibbon1")); };
  w.world.queueDialogAnswer(DialogAnswer::Button(msg::kIdOk));
  save();
  w.world.setFileLocked(file, false);
  EXPECT_EQ(w.program().files.readFile(file), "lunch\r\nnap\r\n");
  EXPECT_TRUE(messages.visible());
  save();
  EXPECT_EQ(w.program().files.readFile(file), "lunch\r\nnap\r\nwalk\r\n");
  EXPECT_EQ(messages.items("rnd"), (std::vector<Text>{"lunch", "nap", "walk"}));
}

}  // namespace
}  // namespace vantary::console::testing

namespace vantary::console::testing {
namespace {

// Writes the files refuse (made read-only, as a full disk refuses them too) are told once
// however often they are tried, answered as not saved, kept, and written once the files
// take them; what still cannot be written at end is named with the overall time.
TEST(ConsoleFiles, FailedWritesAreToldOnceKeptAndWrittenLater) {
  ConsoleWorld w;
  w.existingMachine();
  w.signOnInRoom();
  w.start(1000);
  const auto refuse = [&](bool refused) {
    w.world.setFileReadOnly(w.path("config"), refused);
    w.world.setFileReadOnly(w.path("data"), refused);
  };
  const auto told = [&] {
    return std::count_if(w.world.dialogs().begin(), w.world.dialogs().end(),
                         [](const DialogRecord& d) { return d.title == "vantary : settings"; });
  };
  refuse(true);
  w.click("idleon");
  w.click("laggfree");
  const std::size_t taken = w.markTaken();
  w.host.say(w.room, Text(kUser), ".trig !");
  w.minutes(5);
  ASSERT_FALSE(w.takenSince(taken).empty());
  EXPECT_TRUE(w.takenSince(taken)[0].ends_with("trigger: ! · not saved yet"_ansi))
      << U(w.takenSince(taken)[0]);
  EXPECT_EQ(told(), 1);

  refuse(false);
  w.world.runFor(kRetryWritesMs);
  EXPECT_EQ(w.config("trig"), "!");
  EXPECT_EQ(w.config("laggfree"), "1");
  EXPECT_EQ(w.data("minutes2"), std::to_string(w.console->form().number("m1")));

  refuse(true);
  w.minutes(1);
  w.world.runFor(2 * kTellCheckMs);
  w.click("end");
  EXPECT_EQ(told(), 3);
  EXPECT_EQ(w.world.dialogs().back().text,
            "vantary could not write its settings before it ended. the overall idle time is 0d 1h 6m.");
}

}  // namespace
}  // namespace vantary::console::testing
