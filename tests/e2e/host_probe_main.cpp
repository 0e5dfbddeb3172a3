// The end-to-end probe of hostsim.exe: a separate process that finds the running host's
// windows through the real window system and drives them as the program does, and sets the
// host up through its control channel. It starts nothing: the test script starts
// hostsim.exe with --control FILE first and passes FILE here. Prints one line per check
// and ends with "host-e2e: N passed, M failed".
#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "platform/win32/win32_platform.h"
#include "tests/e2e/e2e_support.h"
#include "text/ansi.h"

namespace {

using vantary::e2e::Channel;
using vantary::e2e::Checks;
using vantary::e2e::kHostStartLimitMs;
using vantary::e2e::Quoted;

using namespace vantary::platform;
using vantary::text::operator""_ansi;
using vantary::text::Text;

// How long the host may take to act on what was done to its windows.
constexpr std::uint32_t kReactionLimitMs = 5000;

// The host's member records: the list row's item data is the record's address, the
// 32-bit address at offset 24 is the name block's, the name sits at offset 6 in 16 bytes.
constexpr std::uint32_t kRecordNameBlockOffset = 24;
constexpr std::uint32_t kNameOffset = 6;
constexpr std::size_t kNameBytes = 16;

Text JoinLines(const std::vector<Text>& lines) {
  Text joined;
  for (std::size_t i = 0; i < lines.size(); ++i) joined += (i ? "\r\n" : "") + lines[i];
  return joined;
}

Text LastLine(const Text& transcript) {
  const std::size_t at = transcript.rfind("\r\n");
  return at == Text::npos ? transcript : transcript.substr(at + 2);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr,
                 "usage: host_probe.exe CONTROL_FILE (hostsim.exe runs with --control CONTROL_FILE)\n");
    return 2;
  }
  vantary::platform::win32::Win32Platform system;
  Platform& p = system.platform();
  WindowSystem& ws = p.windows;
  Checks c("host-e2e");
  Channel channel(p, argv[1]);

  if (!c.check("hostsim's control channel answers file appears", channel.hostListening(kHostStartLimitMs)))
    return c.finish();
  const Text screenName = channel.stateValue("screen-name");
  const Text roomName = channel.stateValue("room");
  c.check("the host is signed on, in a room", channel.stateValue("signed-on") == "yes" && !roomName.empty(),
          Quoted(screenName) + " in " + Quoted(roomName));

  // ---- the host's windows ----
  Window frame;
  p.loop.waitUntil([&] { return static_cast<bool>(frame = ws.findWindow("AOL Frame25", std::nullopt)); },
                   kHostStartLimitMs);
  if (!c.check("finds the frame by its class", static_cast<bool>(frame))) return c.finish();
  c.check("the frame is another process", ws.processOf(frame) != ws.currentProcess());
  c.check("the frame's caption has its two blanks", ws.caption(frame) == "America  Online",
          Quoted(ws.caption(frame)));
  const Window mdi = ws.firstChild(frame, "MDIClient");
  c.check("finds the MDI client", static_cast<bool>(mdi));

  // The Welcome window's caption names the user.
  bool welcomed = false;
  Window room;
  for (Window child = ws.findChild(mdi, {}, "AOL Child"); child;
       child = ws.findChild(mdi, child, "AOL Child")) {
    if (ws.caption(child) == "Welcome, " + screenName + "!") welcomed = true;
    if (!room && ws.firstChild(child, "RICHCNTL") && ws.firstChild(child, "_AOL_Listbox") &&
        ws.firstChild(child, "_AOL_Icon") && ws.firstChild(child, "_AOL_Static"))
      room = child;
  }
  c.check("the Welcome window names the screen name", welcomed);
  if (!c.check("finds the rich room among the host's children", static_cast<bool>(room))) return c.finish();
  c.check("the room's caption is its name", ws.caption(room) == roomName, Quoted(ws.caption(room)));
  const Window transcript = ws.firstChild(room, "RICHCNTL");
  const Window input = ws.nthChild(room, "RICHCNTL", 2);
  c.check("the room has its transcript and input box in order", transcript && input && transcript != input);

  // ---- the transcript ----
  const Text said("hello from Ann <b>in bold</b> · café"_ansi);
  channel.ask("say Ann: " + said);
  const Text shown("Ann:\thello from Ann in bold · café"_ansi);
  c.check("a line said through the control channel shows in the transcript",
          p.loop.waitUntil([&] { return LastLine(ws.text(transcript)) == shown; }, kReactionLimitMs),
          Quoted(LastLine(ws.text(transcript))));
  const auto answered = channel.ask("transcript");
  c.check("WM_GETTEXT reads the transcript the host holds, byte for byte",
          answered && ws.text(transcript) == JoinLines(*answered));

  // ---- typing into the room ----
  const Text typed("typed by the probe · vantarý³"_ansi);
  ws.setText(input, typed);
  const auto start = std::chrono::steady_clock::now();
  const bool taken = p.loop.waitUntil(
      [&] {
        ws.sendChar(input, 13);
        return ws.text(input).empty();
      },
      kReactionLimitMs);
  const std::chrono::duration<double, std::milli> took = std::chrono::steady_clock::now() - start;
  c.check("Enter in the input box takes the line and empties the box", taken);
  c.check("the typed line shows under the screen name",
          LastLine(ws.text(transcript)) == screenName + ":\t" + typed, Quoted(LastLine(ws.text(transcript))));
  std::printf("measure: a typed line taken in %.1f ms\n", took.count());

  // ---- member records in the host's memory ----
  const Window people = ws.firstChild(room, "_AOL_Listbox");
  const auto members = channel.ask("members");
  const LResult rows = ws.send(people, msg::kLbGetCount).value_or(-1);
  c.check("the people list has a row per member", members && rows == static_cast<LResult>(members->size()),
          std::to_string(rows) + " rows");
  auto reader = ws.openProcess(ws.processOf(people));
  c.check("opens the host's process for reading", reader != nullptr);
  if (reader && members) {
    int read = 0;
    for (LResult row = 0; row < rows && row < static_cast<LResult>(members->size()); ++row) {
      const auto record = static_cast<std::uint32_t>(ws.send(people, msg::kLbGetItemData, row).value_or(0));
      std::uint8_t pointer[4] = {};
      std::uint8_t name[kNameBytes] = {};
      if (!record || !reader->read(record + kRecordNameBlockOffset, pointer)) continue;
      const std::uint32_t block = pointer[0] | (pointer[1] << 8) | (pointer[2] << 16) |
                                  (static_cast<std::uint32_t>(pointer[3]) << 24);
      if (!reader->read(block + kNameOffset, name)) continue;
      const Text member(reinterpret_cast<const char*>(name),
                        strnlen(reinterpret_cast<const char*>(name), kNameBytes));
      if (member == (*members)[static_cast<std::size_t>(row)].substr(0, kNameBytes)) ++read;
      if (row == 1) std::printf("info: row 1 record at 0x%08x, name %s\n", record, Quoted(member).c_str());
    }
    c.check("reads every member's name from the host's memory", read == static_cast<int>(members->size()),
            std::to_string(read) + " of " + std::to_string(members->size()));
  }

  // ---- keywords, the full room and the host dialog ----
  const Window bar = ws.firstChild(ws.firstChild(frame, "AOL Toolbar"), "_AOL_Toolbar");
  const Window keywordBox = ws.firstChild(ws.firstChild(bar, "_AOL_Combobox"), "Edit");
  c.check("finds the toolbar's keyword box (the host's own \"Edit\")", static_cast<bool>(keywordBox));
  const auto runKeyword = [&](const Text& keyword) {
    ws.setText(keywordBox, "");
    ws.setText(keywordBox, keyword);
    ws.sendChar(keywordBox, ' ');
    ws.sendChar(keywordBox, 13);
  };
  c.check("the control channel makes a room full", channel.ask("room-full Quiet Corner").has_value());
  runKeyword("aol://2719:2-2-quietcorner");
  Window dialog;
  p.loop.waitUntil([&] { return static_cast<bool>(dialog = ws.findWindow("#32770", "America Online")); },
                   kReactionLimitMs);
  c.check("Enter in the keyword box runs the private-room keyword: the full room's dialog stands",
          static_cast<bool>(dialog));
  c.check("the keyword box is empty again", ws.text(keywordBox).empty(), Quoted(ws.text(keywordBox)));
  const Text message = ws.caption(ws.firstChild(dialog, "Static"));
  c.check("the dialog says the room is full", message.find("full") != Text::npos, Quoted(message));
  const Window ok = ws.firstChild(dialog, "Button");
  c.check("the dialog has its button", static_cast<bool>(ok), Quoted(ws.caption(ok)));
  ws.sendKey(ok, msg::kVkSpace);
  c.check("WM_KEYDOWN/WM_KEYUP space on the button closes the host's dialog (the host's own \"#32770\")",
          p.loop.waitUntil([&] { return !ws.exists(dialog); }, kReactionLimitMs));
  c.check("the host ran the keyword and showed its dialog",
          channel.stateHas("keyword aol://2719:2-2-quietcorner") &&
              channel.stateHas("dialog The room you requested is full. Please try again later."));

  runKeyword("aol://2719:2-2-den");
  Window den;
  p.loop.waitUntil(
      [&] {
        den = ws.findChild(mdi, {}, "AOL Child", std::string_view("Den"));
        return den && ws.firstChild(den, "RICHCNTL");
      },
      kReactionLimitMs);
  c.check("a private room that is not full is entered, leaving the other room",
          den && !ws.exists(room) && channel.stateValue("room") == "Den");

  // ---- the end ----
  c.check("the host answers quit", channel.ask("quit").has_value());
  c.check("hostsim ends on quit", p.loop.waitUntil([&] { return !ws.exists(frame); }, kReactionLimitMs));
  return c.finish();
}
