// vantary driven from outside: one vantary on the desktop, and the switches of later
// starts acting on it.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "console/remote.h"
#include "hostsim/host_sim.h"
#include "platform/sim/sim_world.h"
#include "settings/program_files.h"
#include "settings/settings_store.h"
#include "tests/world/hostsim_probe.h"

namespace vantary::console {
namespace {

using text::operator""_ansi;

class Outside : public ::testing::Test {
 protected:
  Outside()
      : world_(hostsim::testing::FreshRoot()),
        hostProcess_(world_.addProcess("host", "aol")),
        host_(hostProcess_.platform(), hostsim::Generation::k5) {
    host_.signOn("kestro");
    room_ = host_.openRoom("Lobby", hostsim::RoomLayout::kRich);
  }
  ~Outside() override { hostsim::testing::ExpectNoHostFault(host_); }

  // A start of vantary.exe in a process of its own, run until it has nothing left to do.
  struct Started {
    std::optional<int> code;
    std::vector<Text> output;
    std::unique_ptr<Launch> launch;
    platform::Platform* platform = nullptr;
  };
  Started start(std::vector<Text> arguments) {
    Started s;
    auto code = std::make_shared<std::optional<int>>();
    platform::sim::SimProcess& process = world_.addProcess("vantary");
    s.platform = &process.platform();
    s.launch = std::make_unique<Launch>(process.platform(), std::move(arguments),
                                        ConsoleOptions{.minuteMs = 1000}, [code](int c) { *code = c; });
    for (int waited = 0;
         !*code && waited < 60'000 && (!s.launch->program() || !s.launch->program()->started());
         waited += 50) {
      world_.runFor(50);
    }
    s.code = *code;
    s.output = world_.outputLines(process.id());
    return s;
  }

  std::size_t count(std::string_view said) {
    const Text transcript = host_.transcript(room_);
    std::size_t n = 0;
    for (std::size_t at = transcript.find(said); at != Text::npos; at = transcript.find(said, at + 1)) ++n;
    return n;
  }

  platform::sim::SimWorld world_;
  platform::sim::SimProcess& hostProcess_;
  hostsim::HostSim host_;
  platform::Window room_;
};

TEST_F(Outside, SwitchesActOnTheRunningProgramAndAnswerWithItsState) {
  Started first = start({});
  ASSERT_TRUE(first.launch->program() && first.launch->program()->started());
  Program& program = *first.launch->program();
  const Text engaged(std::string_view("vantarý³ · engaged"_ansi));
  const Text disengaged(std::string_view("vantarý³ · dis-engaged"_ansi));

  const struct {
    std::vector<Text> arguments;
    int code;
    const char* output;  // the line written ("" none), or the head of it
    std::size_t engagedLines, disengagedLines;
  } rows[] = {
      {{"/status"}, kExitNotEngaged, "vantary: not engaged, overall idle time 0d 0h 0m", 0, 0},
      {{"/idleon"}, kExitEngaged, "", 1, 0},
      {{"-IDLEON"}, kExitEngaged, "", 1, 0},
      {{"/reason", "lunch"}, kExitEngaged, "", 1, 0},
      {{"/bogus"}, kExitUsage, "vantary: unknown switch \"/bogus\". valid switches: ", 1, 0},
      {{"/idleoff", "/reason"}, kExitUsage, "vantary: /reason needs a text. valid switches: ", 1, 0},
      {{}, kExitEngaged, "", 1, 0},
      {{"/Status"}, kExitEngaged, "vantary: engaged, 3 minutes away, overall idle time 0d 0h 3m", 1, 0},
      {{"/idleoff"}, kExitNotEngaged, "", 1, 1},
      {{"-idleoff", "/status"}, kExitNotEngaged, "vantary: not engaged, overall idle time 0d 0h 3m", 1, 1},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.arguments.empty() ? "no switch" : row.arguments[0]);
    if (row.arguments.empty()) {
      // A plain second start while the program sits in the tray brings its face back.
      program.console()->MinimizeCommand();
      ASSERT_FALSE(program.face()->form().visible());
    }
    if (row.arguments == std::vector<Text>{"/Status"}) world_.runFor(3000 - 100);
    const Started later = start(row.arguments);
    EXPECT_EQ(later.code, row.code);
    EXPECT_EQ(later.launch->program(), nullptr) << "a second vantary runs";
    if (*row.output == '\0') {
      EXPECT_EQ(later.output, std::vector<Text>{});
    } else {
      ASSERT_EQ(later.output.size(), 1u);
      EXPECT_EQ(later.output[0].rfind(row.output, 0), 0u) << later.output[0];
    }
    EXPECT_EQ(count(engaged), row.engagedLines);
    EXPECT_EQ(count(disengaged), row.disengagedLines);
    EXPECT_TRUE(program.face()->form().visible());
  }
  // /reason is the chat's "rea": the reason mode, stored.
  platform::Files& files = first.platform->files;
  EXPECT_EQ(settings::ReadSetting(files, settings::kSection, "reason", settings::PathsOf(files).config),
            "lunch");
  EXPECT_TRUE(program.console()->menu().checked("rea2"));

  // /end ends it as "end" does; afterwards no vantary runs.
  const Started ending = start({"/end", "/status"});
  EXPECT_EQ(ending.code, kExitNotRunning);
  EXPECT_EQ(ending.output, std::vector<Text>{"vantary: not running"});
  EXPECT_NE(host_.transcript(room_).find("out stats: "), Text::npos);
  first.launch.reset();
  EXPECT_EQ(start({"/status"}).code, kExitNotRunning);
  EXPECT_EQ(start({"/idleoff"}).code, kExitNotRunning);
}

// With none running, /idleon starts vantary in its own start and engages once the start-up
// is over; a start made meanwhile waits for it rather than starting a second one.
TEST_F(Outside, IdleOnWithNoneRunningStartsTheProgramEngaged) {
  Started first = start({"/idleon", "/status"});
  ASSERT_NE(first.launch->program(), nullptr);
  world_.runFor(100);
  EXPECT_EQ(count("vantarý³ · engaged"_ansi), 1u);
  EXPECT_EQ(first.output, std::vector<Text>{"vantary: engaged, 0 minutes away, overall idle time 0d 0h 0m"});
  EXPECT_EQ(start({"/status"}).code, kExitEngaged);
}

}  // namespace
}  // namespace vantary::console
