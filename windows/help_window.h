// Window `help`: the user picks a topic in a drop-down list and reads its text in a box
// the user cannot edit.
#pragma once

#include <string_view>

#include "toolkit/form.h"

namespace vantary::windows {

// What the text box shows until a topic is chosen.
inline constexpr std::string_view kHelpGreeting = "vantary help file";

// Made hidden; the console shows it. "okae" hides it, in its normal state, keeping the
// topic shown for the next showing.
class HelpWindow : public toolkit::Form {
 public:
  explicit HelpWindow(platform::Platform& p);

 private:
  void showTopic();
  void setLocked(std::string_view text);
};

}  // namespace vantary::windows
