// The console and the stand-in host in one sim world, each in its own process, started as
// a user starts them, with a console face made of the six clock labels.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "console/console.h"
#include "hostsim/host_sim.h"
#include "platform/sim/sim_world.h"
#include "settings/program_files.h"
#include "settings/settings_store.h"
#include "tests/world/hostsim_probe.h"
#include "text/text_ops.h"
#include "windows/ascii_window.h"

namespace vantary::console::testing {

using hostsim::Generation;
using hostsim::RoomLayout;
using platform::Window;
using platform::sim::DialogAnswer;
using text::operator""_ansi;
namespace msg = platform::msg;

inline constexpr std::string_view kUser = "kestro";

struct ConsoleWorld {
  explicit ConsoleWorld(Generation generation = Generation::k5, const std::string& suffix = "")
      : world(hostsim::testing::FreshRoot(suffix)),
        hostProcess(world.addProcess("host", "aol")),
        programProcess(world.addProcess("vantary")),
        host(hostProcess.platform(), generation) {}

  ~ConsoleWorld() {
    stop();
    hostsim::testing::ExpectNoHostFault(host);
  }

  platform::Platform& program() { return programProcess.platform(); }

  // Signs the user on and opens a room with the user in it.
  Window signOnInRoom(const std::string& roomName = "Lobby", RoomLayout layout = RoomLayout::kRich) {
    host.signOn(Text(kUser));
    room = host.openRoom(roomName, layout);
    return room;
  }

  // Starts the program: the hidden main window loads and the console face appears.
  Console& start(std::uint32_t minuteMs = kMinuteMs) {
    minute = minuteMs;
    console = std::make_unique<Console>(program(), ConsoleOptions{.minuteMs = minuteMs});
    toolkit::FormDesc desc;
    desc.name = "frmSplash";
    desc.caption = "frmSplash";
    desc.rect = {500, 10, 600, 40};
    desc.visible = true;
    face = std::make_unique<toolkit::Form>(program(), desc);
    int left = 0;
    for (const char* name : {"d2", "d", "h2", "h", "m2", "m"}) {
      face->add({.name = name,
                 .type = toolkit::ControlType::kLabel,
                 .caption = "0",
                 .rect = {left, 0, left + 12, 12}});
      left += 14;
    }
    clockFace = std::make_unique<FormClockFace>(*face);
    console->setFace(clockFace.get());
    console->Load();
    return *console;
  }

  // Ends the program as the system ends a process: windows go without further handlers.
  void stop() {
    console.reset();
    clockFace.reset();
    face.reset();
  }

  // Lets `minutes` of the main timer pass.
  void minutes(int count) { world.runFor(static_cast<std::uint64_t>(count) * minute); }

  // The user clicks a menu item.
  void click(std::string_view item) {
    const MenuItemDef* def = FindMenuItem(item);
    ASSERT_NE(def, nullptr) << item;
    program().windows.send(console->form().window(), msg::kCommand, static_cast<std::uintptr_t>(def->command),
                           0);
  }

  // ---- the settings files -----------------------------------------------------------------
  Text path(std::string_view which) {
    const settings::SettingsPaths p = settings::PathsOf(program().files);
    if (which == "config") return p.config;
    if (which == "data") return p.data;
    if (which == "messages") return p.messages;
    if (which == "journal") return p.journal;
    return p.asciiList3;
  }
  void setConfig(std::string_view key, std::string_view value) {
    settings::WriteSetting(program().files, settings::kSection, key, value, path("config"));
  }
  void setData(std::string_view key, std::string_view value) {
    settings::WriteSetting(program().files, settings::kSection, key, value, path("data"));
  }
  Text data(std::string_view key) {
    return settings::ReadSetting(program().files, settings::kSection, key, path("data"));
  }
  Text config(std::string_view key) {
    return settings::ReadSetting(program().files, settings::kSection, key, path("config"));
  }
  // A machine where the program has run before: the lists and the data file exist.
  void existingMachine() {
    for (const char* list : {"vantary12.ini", "vantary122.ini", "vantary123.ini"}) {
      settings::WriteSetting(program().files, "", "", "x", program().files.windowsFolder() + "\\" + list);
    }
    setData("autoascii1", windows::kAscii1Design);
    setData("autoascii2", windows::kAscii2Design);
    setData("autoascii3", windows::kAscii3Design);
    setData("color", "336699");
    setData("color2", "000000");
    setConfig("trig", ".");
  }

  // ---- the room -----------------------------------------------------------------------------
  // The room's lines, oldest first.
  std::vector<Text> transcript() {
    const Text all = host.transcript(room);
    if (all.empty()) return {};
    std::vector<Text> lines;
    for (std::string_view line :
         text::SplitLines(all, text::LineBreak::kCrLf, text::FinalBreak::kStartsLine)) {
      lines.emplace_back(line);
    }
    return lines;
  }
  // What the user's lines in the room showed since `mark` lines of the transcript (as
  // markTranscript gave it), without the "name:" TAB head.
  std::size_t markTranscript() { return transcript().size(); }
  std::vector<Text> saidSince(std::size_t mark) {
    std::vector<Text> said;
    const std::vector<Text> lines = transcript();
    const Text head = Text(kUser) + ":\t";
    for (std::size_t i = mark; i < lines.size(); ++i) {
      said.push_back(lines[i].rfind(head, 0) == 0 ? lines[i].substr(head.size()) : "| " + lines[i]);
    }
    return said;
  }
  // The lines the host took from the user's input boxes, markup and all, since `mark`.
  std::size_t markTaken() { return host.chatLinesTaken().size(); }
  std::vector<Text> takenSince(std::size_t mark) {
    const auto& all = host.chatLinesTaken();
    return std::vector<Text>(all.begin() + static_cast<std::ptrdiff_t>(mark), all.end());
  }

  platform::sim::SimWorld world;
  platform::sim::SimProcess& hostProcess;
  platform::sim::SimProcess& programProcess;
  hostsim::HostSim host;
  Window room;
  std::uint32_t minute = kMinuteMs;
  std::unique_ptr<Console> console;
  std::unique_ptr<toolkit::Form> face;
  std::unique_ptr<FormClockFace> clockFace;
};

// Prints a Windows-1252 text readably when an expectation fails.
inline std::string U(std::string_view ansi) { return text::ToUtf8(ansi); }

}  // namespace vantary::console::testing
