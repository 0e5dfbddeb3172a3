// The console face: the one window the user sees while the program runs. A borderless
// window cut to the shape of its skin, always on top, with the idle clock (days, hours,
// minutes, each behind its leading-zero label) and the dot that opens the command menu.
#pragma once

#include <functional>
#include <memory>

#include "platform/picture.h"
#include "toolkit/form.h"

namespace vantary::windows {

using platform::Platform;
using platform::Point;
using toolkit::Form;

// The skin: a rounded plate on a magenta ground. Pixel (0,0) holds the colour that is
// cut away.
platform::Picture FaceSkin();

class ConsoleFace {
 public:
  // `openMenu` shows the command menu at a screen point.
  ConsoleFace(Platform& platform, std::function<void(Point)> openMenu);

  Form& form() { return form_; }
  // The region the window was cut to at load.
  const platform::Region& region() const { return region_; }

 private:
  void drag();

  Form form_;
  platform::Region region_;
  std::function<void(Point)> openMenu_;
};

}  // namespace vantary::windows
