// A picture held in memory: pixels read from a Windows bitmap file, for picture boxes
// and for shaping a window to a picture.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "platform/types.h"

namespace vantary::platform {

class Picture {
 public:
  Picture() = default;
  // A picture of one colour.
  Picture(int width, int height, Color fill);

  // Reads an uncompressed 24- or 32-bit, or an 8-bit palette, Windows bitmap file
  // (BITMAPFILEHEADER and BITMAPINFOHEADER). nullopt for anything else or a damaged file.
  static std::optional<Picture> fromBmp(std::string_view bytes);
  // The same picture as a 24-bit Windows bitmap file.
  std::string toBmp() const;

  int width() const { return width_; }
  int height() const { return height_; }
  bool empty() const { return width_ <= 0 || height_ <= 0; }
  // 0x00BBGGRR; pixels outside the picture read as 0xFFFFFFFF (CLR_INVALID).
  Color pixel(int x, int y) const;
  void setPixel(int x, int y, Color color);

  friend bool operator==(const Picture&, const Picture&) = default;

 private:
  int width_ = 0;
  int height_ = 0;
  std::vector<Color> pixels_;  // row by row, top row first
};

inline constexpr Color kInvalidColor = 0xFFFFFFFF;

}  // namespace vantary::platform
