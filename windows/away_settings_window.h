// Window `awayset`: what the away log watches and what the auto-reply says, with the two
// switches; the console stores what it saves.
#pragma once

#include <functional>

#include "toolkit/form.h"

namespace vantary::windows {

inline constexpr std::string_view kAwaySettingsCaption = "vantary : away settings";

// What the window holds.
struct AwaySettings {
  text::Text watch;   // one member a line
  text::Text reply;   // the reply with its macros
  text::Text period;  // minutes between two answers to one member, as typed
  bool keepLog = true;
  bool autoReply = false;
};

// Made hidden; the console fills and shows it. "save" hands what it holds to `onSave`,
// which answers whether the window may go (false: it stays with what was typed); "exit"
// puts it away and changes nothing.
class AwaySettingsWindow : public toolkit::Form {
 public:
  AwaySettingsWindow(platform::Platform& p, std::function<bool(const AwaySettings&)> onSave);

  void fill(const AwaySettings& settings);
  AwaySettings held() const;
};

}  // namespace vantary::windows
