// The intro window: the program's start-up window. It plays its sound, slides its label,
// runs a short animation of its pictures, scatters and centres itself, then hands over
// to the rest of the program and unloads itself.
#pragma once

#include <functional>

#include "platform/picture.h"
#include "toolkit/form.h"

namespace vantary::windows {

using platform::Platform;
using platform::Point;
using toolkit::Form;

// The four still pictures the animation shows, made by the program itself.
platform::Picture IntroPicture(int index);

class Intro {
 public:
  // `done` runs once, at the end of the animation, before the intro unloads: it loads the
  // hidden main window and shows the console face. An intro closed from outside before its
  // end (Alt+F4, another program's WM_CLOSE) hands over at once.
  Intro(Platform& platform, std::function<void()> done);

  Form& form() { return form_; }
  bool finished() const { return finished_; }

 private:
  void slide();
  void animate();
  // Runs `done` and unloads the intro, once.
  void finish();

  Form form_;
  std::function<void()> done_;
  bool animating_ = false;
  bool finished_ = false;
};

}  // namespace vantary::windows
