// Window `about1`: the program's version line, the host generations it supports, its
// testers and the user's screen name.
#pragma once

#include <string_view>

#include "toolkit/form.h"

namespace vantary::windows {

// What `Label2` shows when no user is signed on.
inline constexpr std::string_view kUnknownScreenName = "tl.unknown";

// Made hidden and centred, with the screen name as it is at that moment (it is not read
// again); the console shows it. A click anywhere on it, or files dropped on it, hide it.
class AboutWindow : public toolkit::Form {
 public:
  AboutWindow(platform::Platform& p, std::string_view screenName);
};

}  // namespace vantary::windows
