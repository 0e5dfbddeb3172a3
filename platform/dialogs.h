// Message boxes and input boxes: ordinary dialogs (class "#32770") captioned with their
// title; an input box has one edit control and OK and Cancel buttons.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "platform/types.h"

namespace vantary::platform {

class Dialogs {
 public:
  virtual ~Dialogs() = default;
  // MessageBoxA with msg::kMb* style bits; returns the button pressed (msg::kId*).
  virtual int messageBox(Window owner, std::string_view text, std::string_view title,
                         std::uint32_t style) = 0;
  // Asks for a line of text. nullopt when the user cancelled.
  virtual std::optional<Text> inputBox(std::string_view prompt, std::string_view title,
                                       std::string_view initial = {}) = 0;
};

}  // namespace vantary::platform
