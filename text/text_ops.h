// The small text operations the chat lines are built with.
#pragma once

#include <string_view>

#include "text/ansi.h"

namespace vantary::text {

// The text without any blank.
Text RemoveSpaces(std::string_view s);
// The digits 0 to 9 of the text, in their order.
Text DigitsOnly(std::string_view s);
// Every occurrence of `find` (found without regard to case) replaced; the replacement is
// not searched again, the rest keeps its case. An empty `find` returns the text unchanged.
Text ReplaceText(std::string_view s, std::string_view find, std::string_view replacement);

}  // namespace vantary::text
