// Window `vantary2`: the list `rnd` of multiple messages and its input box `rndtext`.
#pragma once

#include <memory>
#include <string_view>

#include "toolkit/form.h"

namespace vantary::windows {

// The list, the input box, save and clear, and the status label.
std::unique_ptr<toolkit::Form> MakeMessagesWindow(platform::Platform& p);

}  // namespace vantary::windows
