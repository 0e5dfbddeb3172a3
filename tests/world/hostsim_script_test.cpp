// The host's command language and its control channel on the sim: scripts build rooms
// and talk in them, queries answer byte for byte, bad lines are reported and skipped, and
// another process drives the host through the channel file.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string>

#include "hostsim/control_channel.h"
#include "hostsim/script.h"
#include "tests/world/hostsim_probe.h"
#include "text/text_ops.h"

namespace vantary::hostsim::testing {
namespace {

using text::operator""_ansi;

struct ScriptWorld : HostWorld {
  ScriptWorld() : script(host, hostProcess.platform()) {}

  // Runs the script; its answers and errors are kept for the test to compare.
  int run(std::string_view lines) {
    answers.str("");
    errors.str("");
    return script.runAll(lines, answers, errors);
  }

  HostScript script;
  std::ostringstream answers;
  std::ostringstream errors;
};

TEST(HostSimScript, ScriptBuildsARoomAndItsTranscriptAnswersByteForByte) {
  ScriptWorld w;
  EXPECT_EQ(w.run("sign-on Joe\n"
                  "open-room rich Lobby\n"
                  "join Ann\n"
                  "join Bob Smith\n"
                  "say Ann: hi <b>all</b>\n"
                  "say Bob Smith: one\\ttwo\\r\\nthree\n"
                  "say Ann: C:\\\\temp and a <grin>\n"
                  "say Ann:\\r\\nJoe:\\tforged\n"
                  "transcript\n"
                  "members\n"),
            0)
      << w.errors.str();
  EXPECT_EQ(w.answers.str(),
            "Ann:\thi all\n"
            "Bob Smith:\tone two\n"
            "three\n"
            "Ann:\tC:\\temp and a <grin>\n"
            "Ann:\t\n"
            "Joe: forged\n"
            "Joe\nAnn\nBob Smith\n");
  // The room another process sees holds the same lines.
  EXPECT_EQ(
      w.probe.ws.text(w.probe.ws.firstChild(w.probe.richRoom(), "RICHCNTL")),
      "Ann:\thi all\r\nBob Smith:\tone two\r\nthree\r\nAnn:\tC:\\temp and a <grin>\r\nAnn:\t\r\nJoe: forged");
  EXPECT_EQ(w.probe.screenName(), "Joe");
}

TEST(HostSimScript, BadLinesAreReportedWithTheirNumbersAndTheOthersRun) {
  ScriptWorld w;
  const int failed = w.run(
      "sign-on Joe\n"
      "frobnicate\n"
      "join Ann\n"
      "generation 3\n"
      "open-room fancy Lobby\n"
      "# a comment, then a blank line\n"
      "\n"
      "open-room plain Lobby\n"
      "say Ann hello\n"
      "say Ann: bad \\q escape\n"
      "say Ann: trailing \\\n"
      "wait 86400001\n"
      "rate-limit 5\n"
      "sign-off now\n"
      "finish-transfer 7\n"
      "transcript-limit -1\n"
      "chatter sometimes\n"
      "sign-on   \n"
      "say Ann: still here\r\n"
      "transcript\n");
  EXPECT_EQ(w.errors.str(),
            "line 2: unknown command \"frobnicate\"\n"
            "line 3: no room is open\n"
            "line 4: generation 5|4|95|25\n"
            "line 5: open-room rich|plain NAME\n"
            "line 9: say NAME: TEXT\n"
            "line 10: a backslash must start \\t, \\r, \\n or \\\\\n"
            "line 11: a backslash must start \\t, \\r, \\n or \\\\\n"
            "line 12: wait MS (at most 86400000)\n"
            "line 13: rate-limit LINES PER_MS\n"
            "line 14: sign-off takes no arguments\n"
            "line 15: transfer 7 is not running\n"
            "line 16: transcript-limit LINES (0 to 1000000)\n"
            "line 17: chatter on [MS] | chatter off\n"
            "line 18: sign-on NAME: a screen name is needed\n");
  EXPECT_EQ(failed, 14);
  EXPECT_EQ(w.answers.str(), "Ann:\tstill here\n");
  EXPECT_TRUE(w.host.signedOn());
  EXPECT_EQ(w.host.generation(), Generation::k5);
}

TEST(HostSimScript, StateReportsWhatTheHostDidAndWaitsLetItRun) {
  ScriptWorld w;
  ASSERT_EQ(w.run("start-transfer download 1000 early.zip\n"), 1);
  EXPECT_EQ(w.errors.str(), "line 1: transfers need a signed-on host\n");

  ASSERT_EQ(w.run("generation 95\n"
                  "sign-on Joe\n"
                  "idle-limits 600000 60000\n"
                  "open-room rich Lobby\n"
                  "join Bob\n"
                  "room-full Quiet Corner\n"
                  "start-transfer download 10000 a.zip\n"
                  "start-transfer upload 4000 b\\\\c.txt\n"
                  "wait 5000\n"),
            0)
      << w.errors.str();
  EXPECT_EQ(w.answers.str(), "transfer 1\ntransfer 2\n");

  // What the user does through the host's windows shows in the state too.
  Probe& probe = w.probe;
  probe.runKeyword("aol://2719:2-2-quietcorner");
  Window button;
  ASSERT_TRUE(
      probe.waitFor([&] { return bool(button = probe.ws.firstChild(probe.hostDialog(), "Button")); }));
  probe.ws.sendKey(button, msg::kVkSpace);
  ASSERT_TRUE(probe.waitFor([&] { return !probe.hostDialog(); }));
  const Window list = probe.ws.firstChild(probe.richRoom(), "_AOL_Listbox");
  probe.ws.send(list, msg::kLbSetCurSel, 1);
  probe.ws.post(list, msg::kLButtonDblClk);
  Window info;
  ASSERT_TRUE(probe.waitFor([&] { return bool(info = probe.memberInfo()); }));
  probe.ws.sendClick(probe.ws.firstChild(info, "_AOL_Checkbox"));

  ASSERT_EQ(w.run("state\n"), 0) << w.errors.str();
  EXPECT_EQ(w.answers.str(),
            "signed-on yes\n"
            "screen-name Joe\n"
            "generation 95\n"
            "room Lobby\n"
            "instant-messages on\n"
            "ghost off\n"
            "sign-offs 0\n"
            "idle-windows no\n"
            "about-boxes 0\n"
            "chat-lines-refused 0\n"
            "ignored Bob\n"
            "keyword aol://2719:2-2-quietcorner\n"
            "dialog The room you requested is full. Please try again later.\n"
            // 5 s of 10, and the 0.4 s the member's details took
            "transfer 1 download a.zip 54%\n"
            "transfer 2 upload b\\\\c.txt finished\n");

  // Left alone, the host raises its idle windows and then signs the user off.
  ASSERT_EQ(w.run("finish-transfer 1\nidle-limits 60000 30000\nwait 61000\nstate\nwait 31000\nstate\n"), 0)
      << w.errors.str();
  const std::string states = w.answers.str();
  EXPECT_NE(states.find("idle-windows yes\n"), std::string::npos) << states;
  EXPECT_NE(states.find("transfer 1 download a.zip finished\n"), std::string::npos) << states;
  EXPECT_NE(states.find("signed-on no\nscreen-name \ngeneration 95\nroom \n"), std::string::npos) << states;
  EXPECT_NE(states.find("sign-offs 1\n"), std::string::npos) << states;
}

TEST(HostSimScript, TranscriptSinceNumbersLinesAcrossTrimming) {
  ScriptWorld w;
  ASSERT_EQ(w.run("sign-on Joe\n"
                  "transcript-limit 3\n"
                  "open-room rich Lobby\n"
                  "say Ann: one\n"
                  "say Ann: two\n"
                  "say Bob: three\\nfour\n"
                  "say Ann: five\n"
                  "transcript-since 0\n"
                  "transcript-since 4\n"
                  "transcript-since 5\n"),
            0)
      << w.errors.str();
  EXPECT_EQ(w.answers.str(),
            "room Lobby\n3 Bob:\tthree\n4 four\n5 Ann:\tfive\n"
            "room Lobby\n5 Ann:\tfive\n"
            "room Lobby\n");
}

TEST(HostSimScript, EncodingUtf8TakesAndGivesUtf8WhileTheHostKeepsItsOwnBytes) {
  ScriptWorld w;
  ASSERT_EQ(
      w.run("encoding utf8\nsign-on Zoë\nopen-room rich Café\nsay Ann: très bien ³\ntranscript\nstate\n"), 0)
      << w.errors.str();
  EXPECT_EQ(w.answers.str().substr(0, w.answers.str().find("signed-on")), "Ann:\ttrès bien ³\n");
  EXPECT_NE(w.answers.str().find("screen-name Zoë\n"), std::string::npos);
  EXPECT_EQ(w.host.transcript(w.host.currentRoom()), std::string("Ann:\ttrès bien ³"_ansi));
  EXPECT_EQ(w.host.screenName(), std::string("Zoë"_ansi));
  ASSERT_EQ(w.run("encoding ansi\ntranscript\n"), 0);
  EXPECT_EQ(w.answers.str(), std::string("Ann:\ttrès bien ³\n"_ansi));
}

TEST(HostSimScript, ChatterMakesOtherMembersTalkUntilItIsOff) {
  ScriptWorld w;
  ASSERT_EQ(w.run("sign-on Joe\nopen-room rich Lobby\njoin Ann\njoin Bob\nchatter on 1000\nwait 60000\n"), 0);
  const std::string talk = w.host.transcript(w.host.currentRoom());
  std::istringstream lines(talk);
  int said = 0;
  for (std::string line; std::getline(lines, line);) {
    ++said;
    EXPECT_TRUE(line.rfind("Ann:\t", 0) == 0 || line.rfind("Bob:\t", 0) == 0) << line;
  }
  // Every 0.5 to 1.5 s for a minute.
  EXPECT_GE(said, 35);
  EXPECT_LE(said, 125);
  ASSERT_EQ(w.run("chatter off\nwait 60000\n"), 0);
  EXPECT_EQ(w.host.transcript(w.host.currentRoom()), talk);
  // Nobody but the user in the room: chatter says nothing.
  ASSERT_EQ(w.run("leave Ann\nleave Bob\nchatter on 1000\nwait 10000\n"), 0);
  EXPECT_EQ(w.host.transcript(w.host.currentRoom()), talk);
}

// The README's table of commands is what users of hostsim.exe read: every command it
// names the language knows, written the same way, and the language knows no other.
TEST(HostSimScript, TheReadmesCommandTableListsEveryCommandAsItIsWritten) {
  std::ifstream readme(std::filesystem::path(VANTARY_SOURCE_DIR) / "README.md");
  ASSERT_TRUE(readme) << "README.md";
  std::set<std::string> listed;
  bool inTable = false;
  for (std::string line; std::getline(readme, line);) {
    if (line.rfind("| command | does |", 0) == 0) inTable = true;
    if (!inTable) continue;
    if (line.rfind("|", 0) != 0) break;  // the table ends
    // The first cell: each form in backticks, "\|" standing for a bar inside it.
    const std::size_t end = line.find(" | ", 1);
    const std::string cell = line.substr(1, end == std::string::npos ? std::string::npos : end - 1);
    for (std::size_t open = cell.find('`'); open != std::string::npos; open = cell.find('`', open + 1)) {
      const std::size_t close = cell.find('`', open + 1);
      ASSERT_NE(close, std::string::npos) << line;
      listed.insert(text::ReplaceText(cell.substr(open + 1, close - open - 1), "\\|", "|"));
      open = close;
    }
  }
  ASSERT_FALSE(listed.empty()) << "the README's command table was not found";

  // A usage with two forms ("chatter on [MS] | chatter off") is two rows' worth.
  std::set<std::string> known;
  for (std::string_view usage : HostScript::CommandUsages()) {
    for (std::size_t start = 0;;) {
      const std::size_t bar = usage.find(" | ", start);
      known.emplace(
          usage.substr(start, bar == std::string_view::npos ? std::string_view::npos : bar - start));
      if (bar == std::string_view::npos) break;
      start = bar + 3;
    }
  }
  EXPECT_EQ(listed, known);
}

TEST(DecodeEscapes, DecodesTheFourEscapesAndRejectsOthers) {
  struct Case {
    const char* in;
    std::optional<std::string> out;
  };
  const Case cases[] = {
      {"plain", "plain"}, {"a\\tb", "a\tb"},       {"\\r\\n", "\r\n"},      {"C:\\\\x", "C:\\x"},
      {"\\\\n", "\\n"},   {"end\\", std::nullopt}, {"\\x41", std::nullopt}, {"", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.in);
    EXPECT_EQ(DecodeEscapes(c.in), c.out);
    if (c.out) {
      EXPECT_EQ(DecodeEscapes(EncodeEscapes(*c.out)), c.out);
    }
  }
}

// ---- the control channel -------------------------------------------------------------------

constexpr const char* kControl = "C:\\channel\\control.txt";

struct ChannelWorld : ScriptWorld {
  ChannelWorld() : channel(script, hostProcess.platform(), kControl) {}

  // Another process writes the channel file and reads the answers.
  void write(const std::string& contents) {
    ASSERT_TRUE(probeProcess.platform().files.writeFileAtomic(kControl, contents));
  }
  std::string answersFile() {
    return probeProcess.platform().files.readFile(std::string(kControl) + ".out").value_or("<missing>");
  }

  ControlChannel channel;
};

TEST(HostSimControlChannel, RunsEachCompleteLineOnceAndAnswersInNumberedBlocks) {
  ChannelWorld w;
  EXPECT_EQ(w.answersFile(), "");
  w.write(
      "1 sign-on Joe\n2 open-room rich Lobby\r\n3 say Ann: done 2\\r\\ndone 3\n4 transcript\n5 bogus\nstate");
  w.world.runFor(250);
  EXPECT_EQ(w.answersFile(),
            "done 1\ndone 2\ndone 3\n"
            "4 Ann:\tdone 2\n4 done 3\ndone 4\n"
            "error 5 unknown command \"bogus\"\ndone 5\n");
  EXPECT_EQ(w.channel.commandsRun(), 5);

  // The unfinished line runs once it ends; nothing runs twice.
  w.write(
      "1 sign-on Joe\n2 open-room rich Lobby\r\n3 say Ann: done 2\\r\\ndone 3\n4 transcript\n5 bogus\n"
      "state\n\nseven members\n 7 members\n8 wait 1000\n9 quit\n");
  w.world.runFor(1500);
  const std::string answers = w.answersFile();
  EXPECT_EQ(answers.substr(answers.find("done 5\n") + 7),
            "error 0 a control line starts with its number\ndone 0\n"
            "error 0 a control line starts with its number\ndone 0\n"
            "7 Joe\ndone 7\ndone 8\ndone 9\n");
  EXPECT_EQ(w.channel.commandsRun(), 10);
  EXPECT_TRUE(w.script.quitRequested());
  EXPECT_TRUE(w.channel.answersWritten());
}

TEST(HostSimControlChannel, AShorterChannelFileStartsTheConversationOver) {
  ChannelWorld w;
  w.write("1 sign-on Joe\n2 open-room plain Den\n3 say Ann: hello there\n");
  w.world.runFor(250);
  w.write("1 transcript\n");
  w.world.runFor(250);
  EXPECT_EQ(w.answersFile(), "1 Ann:\thello there\ndone 1\n");
  EXPECT_EQ(w.channel.commandsRun(), 1);
}

}  // namespace
}  // namespace vantary::hostsim::testing
