// Window `frmquorle`: the credits. With music playing it shows one name at a time on the
// panel `lblgreets` and erases it from its end before the next.
#pragma once

#include <array>
#include <memory>
#include <string_view>

#include "toolkit/form.h"

namespace vantary::windows {

// The credits in the order they are shown, each followed by two blanks, and the closing
// caption that stays on the panel.
inline constexpr std::array<std::string_view, 65> kCredits = {
    "ashgrove  ",     "bitwren  ",    "cobalt9  ",     "dustmoth  ",    "emberlin  ",   "fennick  ",
    "glasswing  ",    "harrowby  ",   "inkcap  ",      "jolt  ",        "kiteworks  ",  "lumen  ",
    "mossbank  ",     "nettlefox  ",  "orbit  ",       "pebblecore  ",  "quayside  ",   "rustbelt  ",
    "saltmarsh  ",    "tindle  ",     "umberjack  ",   "vellum  ",      "wickerby  ",   "xylo  ",
    "yarrow  ",       "zephyrine  ",  "the crew  ",    "brightwater  ", "coilspring  ", "dimlight  ",
    "echofield  ",    "flintlock  ",  "gristmill  ",   "hollowmere  ",  "ironbark  ",   "juniper  ",
    "kettledrum  ",   "lanternfly  ", "mapleleaf  ",   "northgate  ",   "oxbow  ",      "palebrook  ",
    "quillfeather  ", "ravenholt  ",  "stonechat  ",   "thornapple  ",  "underhill  ",  "vantage  ",
    "whistler  ",     "yellowfin  ",  "zinc  ",        "the lobby  ",   "night owls  ", "the regulars  ",
    "copperkey  ",    "driftwood  ",  "everglow  ",    "foxglove  ",    "greystone  ",  "heronsway  ",
    "islewind  ",     "jadecrest  ",  "and friends  ", "you  ",         "haters!  ",
};
inline constexpr std::string_view kCreditsEnd = "the end  ";

// The window is made hidden and centred; the console shows it. "start" runs the credits
// once (700 ms later, in the tick of Timer1); "end" stops them and the music and closes
// the window for good: the next showing is a new window.
class CreditsWindow : public toolkit::Form {
 public:
  explicit CreditsWindow(platform::Platform& p);
  ~CreditsWindow();

  // True while the credits run.
  bool running() const { return running_; }

 private:
  void run();
  void end();
  void stopRun();

  text::Text music_;
  bool running_ = false;
  // False once the window is closed or this object is gone. The run waits with events
  // running, during which "end" may close the window and its owner may even replace this
  // object; the run holds its own copy and touches nothing of the window once it is false.
  std::shared_ptr<bool> open_ = std::make_shared<bool>(true);
};

}  // namespace vantary::windows
