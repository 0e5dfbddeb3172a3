// Random numbers for the program's few uses of chance (the scatter of a window).
#pragma once

namespace vantary::platform {

class Random {
 public:
  virtual ~Random() = default;
  // A fraction in [0, 1).
  virtual double nextFraction() = 0;
};

}  // namespace vantary::platform
