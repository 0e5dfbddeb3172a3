// Window `customs`: the four custom lines Text1..Text4.
#pragma once

#include <memory>
#include <string_view>

#include "toolkit/form.h"

namespace vantary::windows {

// The custom lines, filled from "cus1".."cus4" of the data file at `dataFile` when the
// window loads; only the first shows at first.
std::unique_ptr<toolkit::Form> MakeCustomsWindow(platform::Platform& p, std::string_view dataFile);

}  // namespace vantary::windows
