// Window `auto`: the three decoration lines Combo1..Combo3 the status lines are built
// with.
#pragma once

#include <memory>
#include <string_view>

#include "toolkit/form.h"

namespace vantary::windows {

using text::operator""_ansi;

// The first decoration lines the program starts with on a machine without stored ones.
inline constexpr std::string_view kAscii1Design = "°›"_ansi;
inline constexpr std::string_view kAscii2Design = "‹°"_ansi;
inline constexpr std::string_view kAscii3Design = "°`·–›"_ansi;

// Combo1..Combo3 with the design decoration lines, in their frames, with save and exit.
std::unique_ptr<toolkit::Form> MakeAsciiWindow(platform::Platform& p);

}  // namespace vantary::windows
