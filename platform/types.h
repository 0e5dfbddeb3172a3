// Value types shared by every platform service: handles, geometry, regions, messages.
#pragma once

#include <compare>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "text/ansi.h"

namespace vantary::platform {

using text::Text;

// A window of any process. 0 means "no window"; the value is the 32-bit handle the
// window system gives out, so it survives being passed to another process.
struct Window {
  std::uint32_t value = 0;

  constexpr explicit operator bool() const { return value != 0; }
  friend constexpr bool operator==(Window, Window) = default;
  friend constexpr auto operator<=>(Window, Window) = default;
};

// A menu or pop-up menu. 0 means "no menu".
struct Menu {
  std::uint32_t value = 0;

  constexpr explicit operator bool() const { return value != 0; }
  friend constexpr bool operator==(Menu, Menu) = default;
};

using ProcessId = std::uint32_t;

struct Point {
  int x = 0;
  int y = 0;
  friend constexpr bool operator==(Point, Point) = default;
};

struct Size {
  int width = 0;
  int height = 0;
  friend constexpr bool operator==(Size, Size) = default;
};

// Left/top inclusive, right/bottom exclusive, as the window system counts them.
struct Rect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;

  constexpr int width() const { return right - left; }
  constexpr int height() const { return bottom - top; }
  constexpr bool empty() const { return right <= left || bottom <= top; }
  friend constexpr bool operator==(Rect, Rect) = default;
};

// A window region as a set of rectangles (their union). The backend turns it into
// the system's own region object when it is applied to a window.
struct Region {
  std::vector<Rect> rects;

  bool empty() const { return rects.empty(); }
  bool contains(Point p) const {
    for (const Rect& r : rects) {
      if (p.x >= r.left && p.x < r.right && p.y >= r.top && p.y < r.bottom) return true;
    }
    return false;
  }
  friend bool operator==(const Region&, const Region&) = default;
};

// An RGB colour as the window system stores it: 0x00BBGGRR.
using Color = std::uint32_t;
constexpr Color Rgb(int r, int g, int b) {
  return static_cast<Color>((r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16));
}

using WParam = std::uintptr_t;
using LParam = std::intptr_t;
using LResult = std::intptr_t;

// A window message with the numbers of the real window system (see messages.h).
struct Message {
  std::uint32_t id = 0;
  WParam wParam = 0;
  LParam lParam = 0;
  friend constexpr bool operator==(const Message&, const Message&) = default;
};

// Packs two 16-bit values the way MAKELPARAM does.
constexpr LParam MakeLParam(int low, int high) {
  return static_cast<LParam>(static_cast<std::int32_t>((static_cast<std::uint32_t>(low) & 0xFFFF) |
                                                       ((static_cast<std::uint32_t>(high) & 0xFFFF) << 16)));
}
constexpr int LowWord(std::uintptr_t v) { return static_cast<int>(v & 0xFFFF); }
constexpr int HighWord(std::uintptr_t v) { return static_cast<int>((v >> 16) & 0xFFFF); }

}  // namespace vantary::platform
