// Pictures in memory and the Windows bitmap file format they are stored in.
#include "platform/picture.h"

#include <limits>

namespace vantary::platform {
namespace {

// Bitmaps larger than this are refused rather than allocated: no picture of the
// program comes near it, and a damaged header must not ask for gigabytes.
constexpr std::int64_t kMaxPixels = 16 * 1024 * 1024;

std::uint32_t ReadU32(std::string_view b, std::size_t at) {
  std::uint32_t v = 0;
  for (int i = 3; i >= 0; --i) v = (v << 8) | static_cast<unsigned char>(b[at + static_cast<std::size_t>(i)]);
  return v;
}
std::uint16_t ReadU16(std::string_view b, std::size_t at) {
  return static_cast<std::uint16_t>(static_cast<unsigned char>(b[at]) |
                                    (static_cast<unsigned char>(b[at + 1]) << 8));
}
void PutU32(std::string& out, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
}
void PutU16(std::string& out, std::uint16_t v) {
  out.push_back(static_cast<char>(v & 0xFF));
  out.push_back(static_cast<char>(v >> 8));
}

}  // namespace

Picture::Picture(int width, int height, Color fill)
    : width_(width > 0 ? width : 0),
      height_(height > 0 ? height : 0),
      pixels_(static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_), fill) {}

Color Picture::pixel(int x, int y) const {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return kInvalidColor;
  return pixels_[static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) +
                 static_cast<std::size_t>(x)];
}

void Picture::setPixel(int x, int y, Color color) {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
  pixels_[static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) + static_cast<std::size_t>(x)] =
      color;
}

std::optional<Picture> Picture::fromBmp(std::string_view b) {
  constexpr std::size_t kFileHeader = 14;
  if (b.size() < kFileHeader + 40 || b[0] != 'B' || b[1] != 'M') return std::nullopt;
  const std::uint32_t dataOffset = ReadU32(b, 10);
  const std::uint32_t infoSize = ReadU32(b, 14);
  if (infoSize < 40 || kFileHeader + infoSize > b.size()) return std::nullopt;
  const auto width = static_cast<std::int32_t>(ReadU32(b, 18));
  const auto rawHeight = static_cast<std::int32_t>(ReadU32(b, 22));
  const std::uint16_t planes = ReadU16(b, 26);
  const std::uint16_t bits = ReadU16(b, 28);
  const std::uint32_t compression = ReadU32(b, 30);
  std::uint32_t colorsUsed = ReadU32(b, 46);
  // BI_RGB, or BI_BITFIELDS with 32 bits (treated as BGRX, as every writer of such
  // files lays them out).
  if (planes != 1 || !(compression == 0 || (compression == 3 && bits == 32))) return std::nullopt;
  if (bits != 8 && bits != 24 && bits != 32) return std::nullopt;
  if (width <= 0 || rawHeight == 0 || rawHeight == std::numeric_limits<std::int32_t>::min()) {
    return std::nullopt;
  }
  const bool topDown = rawHeight < 0;
  const std::int32_t height = topDown ? -rawHeight : rawHeight;
  if (static_cast<std::int64_t>(width) * height > kMaxPixels) return std::nullopt;

  std::vector<Color> palette;
  if (bits == 8) {
    if (colorsUsed == 0 || colorsUsed > 256) colorsUsed = 256;
    const std::size_t paletteAt = kFileHeader + infoSize;
    if (paletteAt + 4u * colorsUsed > b.size()) return std::nullopt;
    for (std::uint32_t i = 0; i < colorsUsed; ++i) {
      const std::size_t at = paletteAt + 4u * i;
      palette.push_back(Rgb(static_cast<unsigned char>(b[at + 2]), static_cast<unsigned char>(b[at + 1]),
                            static_cast<unsigned char>(b[at])));
    }
  }

  const std::size_t bytesPerPixel = bits / 8u;
  const std::size_t stride = (static_cast<std::size_t>(width) * bytesPerPixel + 3u) & ~std::size_t{3};
  if (dataOffset > b.size() || stride * static_cast<std::size_t>(height) > b.size() - dataOffset) {
    return std::nullopt;
  }

  Picture picture(width, height, 0);
  for (std::int32_t row = 0; row < height; ++row) {
    const std::int32_t y = topDown ? row : height - 1 - row;
    const std::size_t rowAt = dataOffset + stride * static_cast<std::size_t>(row);
    for (std::int32_t x = 0; x < width; ++x) {
      const std::size_t at = rowAt + static_cast<std::size_t>(x) * bytesPerPixel;
      Color c = 0;
      if (bits == 8) {
        const auto index = static_cast<unsigned char>(b[at]);
        c = index < palette.size() ? palette[index] : 0;
      } else {
        c = Rgb(static_cast<unsigned char>(b[at + 2]), static_cast<unsigned char>(b[at + 1]),
                static_cast<unsigned char>(b[at]));
      }
      picture.setPixel(x, y, c);
    }
  }
  return picture;
}

std::string Picture::toBmp() const {
  const std::size_t stride = (static_cast<std::size_t>(width_) * 3u + 3u) & ~std::size_t{3};
  const std::size_t dataSize = stride * static_cast<std::size_t>(height_);
  std::string out;
  out.reserve(54 + dataSize);
  out += "BM";
  PutU32(out, static_cast<std::uint32_t>(54 + dataSize));
  PutU32(out, 0);
  PutU32(out, 54);
  PutU32(out, 40);
  PutU32(out, static_cast<std::uint32_t>(width_));
  PutU32(out, static_cast<std::uint32_t>(height_));  // bottom-up
  PutU16(out, 1);
  PutU16(out, 24);
  PutU32(out, 0);
  PutU32(out, static_cast<std::uint32_t>(dataSize));
  PutU32(out, 3780);  // 96 dots per inch
  PutU32(out, 3780);
  PutU32(out, 0);
  PutU32(out, 0);
  for (int y = height_ - 1; y >= 0; --y) {
    std::size_t written = 0;
    for (int x = 0; x < width_; ++x) {
      const Color c = pixel(x, y);
      out.push_back(static_cast<char>((c >> 16) & 0xFF));
      out.push_back(static_cast<char>((c >> 8) & 0xFF));
      out.push_back(static_cast<char>(c & 0xFF));
      written += 3;
    }
    for (; written < stride; ++written) out.push_back('\0');
  }
  return out;
}

}  // namespace vantary::platform
