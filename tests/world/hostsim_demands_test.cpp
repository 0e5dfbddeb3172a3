// What the stand-in host demands of a program that drives it, as the real host does: each
// step the program takes for the host's sake works, and leaving it out fails.
#include <gtest/gtest.h>

#include <functional>

#include "tests/world/hostsim_probe.h"

namespace vantary::hostsim::testing {
namespace {

constexpr std::uint32_t kShortWaitMs = 1000;

// The rich room's input box.
Window Input(Probe& probe) { return probe.ws.nthChild(probe.richRoom(), "RICHCNTL", 2); }

bool Shows(HostWorld& w, const std::string& line) {
  return w.host.transcript(w.host.currentRoom()).find(line) != std::string::npos;
}

// Opens Bob's information from the people list (Bob is its second row) and gives the
// window once `complete` says it is there.
Window OpenInfo(HostWorld& w, const std::function<bool(Window)>& complete) {
  auto& ws = w.probe.ws;
  const Window list = ws.firstChild(w.probe.richRoom(), "_AOL_Listbox");
  ws.send(list, msg::kLbSetCurSel, 1);
  ws.post(list, msg::kLButtonDblClk);
  Window info;
  w.probe.waitFor([&] {
    info = w.probe.firstHostChild([&](Window c) { return ws.caption(c) == "Bob"; });
    return info && complete(info);
  });
  return info;
}

TEST(HostSimDemands, EachStepTheProgramTakesIsNeededAndEnough) {
  struct Case {
    const char* what;
    // Does the act with the program's step (`step`) or without it; true when the host did
    // what was asked.
    std::function<bool(HostWorld&, bool step)> act;
  };
  const Case cases[] = {
      {"a keyword is taken once a key is typed after it",
       [](HostWorld& w, bool step) {
         auto& ws = w.probe.ws;
         ws.setText(w.probe.keywordBox(), "");
         ws.setText(w.probe.keywordBox(), "aol://2719:2-2-den");
         if (step) ws.sendChar(w.probe.keywordBox(), ' ');
         ws.sendChar(w.probe.keywordBox(), 13);
         return w.probe.waitFor([&] { return bool(w.probe.hostChild("Den")); }, kShortWaitMs);
       }},
      {"a line goes from the rich input box once it was emptied before the line was set",
       [](HostWorld& w, bool step) {
         auto& ws = w.probe.ws;
         ws.setText(Input(w.probe), "half typed");
         if (step) ws.setText(Input(w.probe), "");
         ws.setText(Input(w.probe), "status line");
         ws.sendChar(Input(w.probe), 13);
         return Shows(w, "Joe:\tstatus line");
       }},
      {"the host's dialog answers the space bar on its button, not a click",
       [](HostWorld& w, bool step) {
         w.host.setRoomFull("Den", true);
         w.probe.runKeyword("aol://2719:2-2-den");
         Window button;
         if (!w.probe.waitFor(
                 [&] { return bool(button = w.probe.ws.firstChild(w.probe.hostDialog(), "Button")); }))
           return false;
         if (step) {
           w.probe.ws.sendKey(button, msg::kVkSpace);
         } else {
           w.probe.ws.sendClick(button);
         }
         return w.probe.waitFor([&] { return !w.probe.hostDialog(); }, kShortWaitMs);
       }},
      {"the ignore box answers once the member's details, with the second icon, are there",
       [](HostWorld& w, bool step) {
         auto& ws = w.probe.ws;
         const Window info = OpenInfo(w, [&](Window c) {
           return step ? bool(ws.nthChild(c, "_AOL_Icon", 2)) : bool(ws.firstChild(c, "_AOL_Icon"));
         });
         ws.sendClick(ws.firstChild(info, "_AOL_Checkbox"));
         return w.host.isIgnored("Bob");
       }},
      {"a line after an ignore is lifted reaches the room once the host had its moment",
       [](HostWorld& w, bool step) {
         auto& ws = w.probe.ws;
         const Window info = OpenInfo(w, [&](Window c) { return bool(ws.nthChild(c, "_AOL_Icon", 2)); });
         const Window box = ws.firstChild(info, "_AOL_Checkbox");
         ws.sendClick(box);
         ws.sendClick(box);  // ignored, then no more
         if (step) w.probe.loop.pause(2.0);
         w.probe.sendLine(Input(w.probe), "unignored bob");
         return Shows(w, "Joe:\tunignored bob");
       }},
      {"the buddy list's icons answer once it has settled",
       [](HostWorld& w, bool step) {
         w.probe.runKeyword("Buddy");
         Window buddies;
         w.probe.waitFor([&] { return bool(buddies = w.probe.hostChild("Joe's Buddy List")); });
         if (step) w.probe.loop.pause(0.5);
         w.probe.ws.postClick(w.probe.ws.nthChild(buddies, "_AOL_Icon", 5));
         return w.probe.waitFor([&] { return bool(w.probe.hostChild("Privacy Preferences")); }, kShortWaitMs);
       }},
      {"a privacy save is confirmed by the OK of the host's dialog, not its first button",
       [](HostWorld& w, bool step) {
         auto& ws = w.probe.ws;
         w.probe.runKeyword("Buddy");
         Window buddies;
         w.probe.waitFor([&] { return bool(buddies = w.probe.hostChild("Joe's Buddy List")); });
         w.probe.loop.pause(0.5);
         ws.postClick(ws.nthChild(buddies, "_AOL_Icon", 5));
         Window privacy;
         w.probe.waitFor([&] { return bool(privacy = w.probe.hostChild("Privacy Preferences")); });
         w.probe.loop.pause(0.5);
         ws.send(ws.nthChild(privacy, "_AOL_Checkbox", 7), msg::kBmSetCheck, msg::kBstChecked);
         ws.postClick(ws.nthChild(privacy, "_AOL_Icon", 4));
         Window button;
         w.probe.waitFor([&] {
           button = step ? ws.findChild(w.probe.hostDialog(), Window{}, "Button", "OK")
                         : ws.firstChild(w.probe.hostDialog(), "Button");
           return bool(button);
         });
         ws.sendKey(button, msg::kVkSpace);
         w.probe.loop.pause(1.0);
         const bool hidden = w.host.privacySettings()[6];  // hidden from buddy lists
         return hidden;
       }},
      {"a message window's Send icon comes a moment after the window",
       [](HostWorld& w, bool step) {
         auto& ws = w.probe.ws;
         w.probe.runKeyword("aol://9293:Ann");
         Window im;
         w.probe.waitFor([&] {
           im = w.probe.hostChild("Send Instant Message");
           return im && (!step || ws.nthChild(im, "_AOL_Icon", 9));
         });
         ws.setText(ws.firstChild(im, "RICHCNTL"), "hi");
         ws.sendClick(ws.nthChild(im, "_AOL_Icon", 9));
         return w.probe.waitFor([&] { return !w.host.sentInstantMessages().empty(); }, kShortWaitMs);
       }},
      {"an upload modal's texts are there once the host's events ran",
       [](HostWorld& w, bool step) {
         w.host.startTransfer(TransferKind::kUpload, "a.zip", 60000);
         if (step) w.probe.loop.pump();
         const Window modal = w.probe.ws.findWindow("_AOL_Modal", std::nullopt);
         return w.probe.ws.text(w.probe.ws.firstChild(modal, "_AOL_Static")) == "Now Uploading a.zip";
       }},
  };
  for (const Case& c : cases) {
    for (const bool step : {true, false}) {
      SCOPED_TRACE(std::string(c.what) + (step ? "" : ": without the step"));
      HostWorld w(Generation::k5, step ? "step" : "without");
      w.host.signOn("Joe");
      w.host.join(w.host.openRoom("Lobby", RoomLayout::kRich), "Bob");
      EXPECT_EQ(c.act(w, step), step);
    }
  }
}

}  // namespace
}  // namespace vantary::hostsim::testing
