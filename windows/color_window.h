// Window `color`: the two chat colours, Text1 (C1) and Text2 (C2), six hexadecimal
// digits each.
#pragma once

#include <memory>
#include <string_view>

#include "toolkit/form.h"

namespace vantary::windows {

// Text1 ("336699") and Text2 ("000000"), six characters each, with save and exit.
std::unique_ptr<toolkit::Form> MakeColorWindow(platform::Platform& p);

}  // namespace vantary::windows
