// The window utilities every window of the program uses.
#include "toolkit/window_utils.h"

#include <cmath>
#include <cstdint>
#include <cstdio>

#include "platform/messages.h"
#include "text/ansi.h"

namespace vantary::toolkit {
namespace {

namespace msg = platform::msg;
using platform::Rect;
using platform::Text;

// Sets a top-level window's left and top, given in twips, keeping its size.
void MoveToTwips(Platform& p, Window window, long long leftTwips, long long topTwips) {
  const Rect r = p.windows.windowRect(window);
  const int tx = p.screen.twipsPerPixelX() > 0 ? p.screen.twipsPerPixelX() : 15;
  const int ty = p.screen.twipsPerPixelY() > 0 ? p.screen.twipsPerPixelY() : 15;
  const int left = static_cast<int>(std::llround(static_cast<double>(leftTwips) / tx));
  const int top = static_cast<int>(std::llround(static_cast<double>(topTwips) / ty));
  if (left == r.left && top == r.top) return;
  p.windows.move(window, Rect{left, top, left + r.width(), top + r.height()}, true);
}

bool FileThere(Platform& p, std::string_view path) { return !path.empty() && p.files.fileExists(path); }

// The name the media interface knows a music file by while it is open: one word, the same
// for the same path however it is spelled in capitals, so that StopMusic finds what
// PlayMusic opened.
Text MusicAlias(std::string_view path) {
  std::uint32_t hash = 2166136261u;  // FNV-1a
  for (const char c : text::ToLower(path)) {
    hash = (hash ^ static_cast<unsigned char>(c)) * 16777619u;
  }
  char hex[9];
  std::snprintf(hex, sizeof hex, "%08x", static_cast<unsigned>(hash));
  return "vantarymusic" + Text(hex);
}

}  // namespace

void DragForm(Platform& p, Window window) { p.windows.dragWithMouse(window); }

void KeepOnScreen(Platform& p, Window window) {
  if (!p.windows.exists(window)) return;
  const long long tx = p.screen.twipsPerPixelX() > 0 ? p.screen.twipsPerPixelX() : 15;
  const long long ty = p.screen.twipsPerPixelY() > 0 ? p.screen.twipsPerPixelY() : 15;

  // No task bar reads as a rectangle of zeros, so the bottom limit is the screen height
  // less 45 twips.
  const Window taskBar = p.windows.findWindow("Shell_TrayWnd", std::nullopt);
  const Rect bar = taskBar ? p.windows.windowRect(taskBar) : Rect{};
  const long long tq = std::llround(std::nearbyint(static_cast<double>(bar.top) / 3.0));

  const platform::Size screen = p.screen.size();
  const long long sw = screen.width * tx;
  const long long limit = screen.height * ty - 2 * tq - 45;

  const Rect r = p.windows.windowRect(window);
  long long left = r.left * tx;
  long long top = r.top * ty;
  const long long width = r.width() * tx;
  const long long height = r.height() * ty;

  if (top + height > limit - kSnapTwips) top = limit - height;
  if (left + width > sw - kSnapTwips) left = sw - width;
  if (left < kSnapTwips) left = 0;
  if (top < kSnapTwips) top = 0;
  MoveToTwips(p, window, left, top);
}

void DragAndKeepOnScreen(Platform& p, Window window) {
  DragForm(p, window);
  KeepOnScreen(p, window);
}

void StayOnTop(Platform& p, Window window) {
  p.windows.setPosition(window, msg::kHwndTopmost, Rect{}, msg::kSwpNoMove | msg::kSwpNoSize);
}

void CenterForm(Platform& p, Window window) {
  if (!p.windows.exists(window)) return;
  const long long tx = p.screen.twipsPerPixelX() > 0 ? p.screen.twipsPerPixelX() : 15;
  const long long ty = p.screen.twipsPerPixelY() > 0 ? p.screen.twipsPerPixelY() : 15;
  const platform::Size screen = p.screen.size();
  const Rect r = p.windows.windowRect(window);
  MoveToTwips(p, window, (screen.width * tx - r.width() * tx) / 2,
              (screen.height * ty - r.height() * ty) / 2);
}

void ScatterForm(Platform& p, Window window) {
  if (!p.windows.exists(window)) return;
  const double sw = static_cast<double>(p.screen.size().width) * p.screen.twipsPerPixelX();
  const double sh = static_cast<double>(p.screen.size().height) * p.screen.twipsPerPixelY();
  for (int i = 0; i < kScatterJumps; ++i) {
    const auto left = static_cast<long long>(p.random.nextFraction() * sw + 0.0001);
    const auto top = static_cast<long long>(p.random.nextFraction() * sh + 0.0001);
    MoveToTwips(p, window, left, top);
  }
}

void Pause(Platform& p, double seconds) { p.loop.pause(seconds); }

void PlayMusic(Platform& p, std::string_view path) {
  if (!FileThere(p, path)) return;
  // The media interface ends a file's name at the first blank unless it is quoted, and
  // "C:\Program Files\..." has one. A file opened already (played before without a stop)
  // starts again from its beginning.
  const Text alias = MusicAlias(path);
  p.sound.mciCommand("open \"" + std::string(path) + "\" alias " + alias);
  p.sound.mciCommand("play " + alias + " from 0");
}

void StopMusic(Platform& p, std::string_view path) {
  if (!FileThere(p, path)) return;
  const Text alias = MusicAlias(path);
  p.sound.mciCommand("stop " + alias);
  p.sound.mciCommand("close " + alias);
}

void PlayWave(Platform& p, std::string_view path) {
  if (!FileThere(p, path)) return;
  constexpr std::uint32_t kAsyncNoDefault = 3;  // SND_ASYNC | SND_NODEFAULT
  p.sound.playWave(path, kAsyncNoDefault);
}

void PlayClick(Platform& p) { PlayWave(p, p.files.programFolder() + "\\click.wav"); }

void EraseLabel(Platform& p, Window label) {
  const platform::Text remembered = p.windows.text(label);
  // Three short steps in which the panel's bevel used to flicker; the pauses keep the
  // rhythm of the animation.
  for (int step = 0; step < 3; ++step) {
    Pause(p, 0.001);
    if (!p.windows.exists(label)) return;
  }
  Pause(p, 0.3);
  const std::size_t n = remembered.size();
  for (std::size_t j = 1; j <= n; ++j) {
    if (!p.windows.exists(label)) return;
    p.windows.setText(label, std::string_view(remembered).substr(0, n - j));
    Pause(p, 0.001);
  }
}

platform::Region BuildWindowRegion(const platform::Picture& picture, long long transparentColor,
                                   platform::Color* usedColor) {
  platform::Color clear =
      transparentColor < 1 ? picture.pixel(0, 0) : static_cast<platform::Color>(transparentColor);
  if (usedColor != nullptr) *usedColor = clear;
  platform::Region region;
  const int w = picture.width();
  const int h = picture.height();
  for (int y = 0; y < h; ++y) {
    int x = 0;
    while (x < w) {
      while (x < w && picture.pixel(x, y) == clear) ++x;
      if (x >= w) break;
      const int start = x;
      while (x < w && picture.pixel(x, y) != clear) ++x;
      region.rects.push_back(Rect{start, y, x, y + 1});
    }
  }
  return region;
}

}  // namespace vantary::toolkit
