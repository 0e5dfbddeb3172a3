// The screen: its size, the twips-per-pixel factors, the mouse cursor.
#pragma once

#include "platform/types.h"

namespace vantary::platform {

class Screen {
 public:
  virtual ~Screen() = default;
  virtual Size size() = 0;  // pixels
  // Twips (1/1440 inch) per pixel, normally 15 at 96 dots per inch.
  virtual int twipsPerPixelX() = 0;
  virtual int twipsPerPixelY() = 0;
  virtual Point cursor() = 0;  // screen pixels
};

}  // namespace vantary::platform
