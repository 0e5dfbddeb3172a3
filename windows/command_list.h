// Window `coms`: a small always-on-top strip that lists the chat commands the user can
// type behind the trigger. Pressing the mouse on a command grows the window to show its
// one-line explanation; releasing shrinks it again.
#pragma once

#include <functional>
#include <string_view>

#include "toolkit/form.h"

namespace vantary::windows {

// The window's two heights, in twips: the list alone, and the list with the explanation.
inline constexpr int kCommandListTwips = 420;
inline constexpr int kCommandListExplainedTwips = 570;

// The commands in list order.
inline constexpr std::string_view kCommandListItems[] = {
    "trig x", "signoff", "status", "imson", "imsoff", "pr x", "rea x",
    "idleon", "idleoff", "cmds",   "cmdh",  "gon",    "goff",
};

// The explanation of a pressed item (text `item` as the list shows it) with the trigger
// `trigger`; "" when the item is none of the commands.
text::Text CommandExplanation(std::string_view item, std::string_view trigger);

class CommandList {
 public:
  // `trigger` gives the trigger as it stands at the moment of a press. The window is
  // created hidden; the chat commands show and hide it.
  CommandList(platform::Platform& p, std::function<text::Text()> trigger);

  toolkit::Form& form() { return form_; }

 private:
  void pressed();
  void released();

  toolkit::Form form_;
  std::function<text::Text()> trigger_;
};

}  // namespace vantary::windows
