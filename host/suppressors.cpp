// Clicking away the host's idle palette and idle modals, hiding, moving and closing the
// host windows that get in the way of an unattended session, and upchat and unupchat.
#include "host/host.h"
#include "host/host_windows.h"
#include "platform/messages.h"
#include "text/text_ops.h"

namespace vantary::host {
namespace {

namespace msg = platform::msg;
using text::Contains;

// The file-transfer modal's size, kept when it is moved away and back.
constexpr int kUploadModalWidth = 370;
constexpr int kUploadModalHeight = 172;
// Where unupchat puts the file-transfer modal back.
constexpr int kUploadModalHomeX = 90;
constexpr int kUploadModalHomeY = 90;

// How long one modal gets to go after it was told to close. A host on a slow machine
// closes a modal in well under a second; one that has not gone by then ignores WM_CLOSE.
constexpr std::uint32_t kModalCloseWaitMs = 2000;
// CloseModals gives up after this many closes (a host that opens a new modal for every
// one closed would keep it busy for ever) or after this much time in all. What is still
// standing then stays; the next call tries again.
constexpr int kCloseModalsMaxRounds = 32;
constexpr std::uint32_t kCloseModalsLimitMs = 8000;
// How long CycleAboutBox waits for the About box and its icon after running the menu
// item. The host builds the box, with its pictures, within a second or two even on a
// slow machine; after that nothing is clicked.
constexpr std::uint32_t kAboutBoxWaitMs = 10000;

}  // namespace

void Host::KillIdleTimer() {
  auto& ws = p_.windows;
  const Window palette = ws.findWindow(kPaletteClass, "America Online Timer");
  const Window icon = ws.firstChild(palette, kIconClass);
  if (icon) ws.postClick(icon);
}

void Host::KillIdleModal() {
  auto& ws = p_.windows;
  const Window modal = ws.findWindow(kModalClass, std::nullopt);
  const Window icon = ws.firstChild(modal, kIconClass);
  const Window status = ws.firstChild(modal, kStaticClass);
  // Only the idle warning ("You have been idle for ...") is answered: the first icon of
  // another modal could be anything, "Sign Off" among them.
  if (Contains(GetText(status), "idle") && modal && icon) ws.postClick(icon);
}

void Host::ClickPaletteAndModalIcons() {
  auto& ws = p_.windows;
  const Window palette = ws.findWindow(kPaletteClass, std::nullopt);
  const Window modal = ws.findWindow(kModalClass, std::nullopt);
  const Window paletteIcon = ws.firstChild(palette, kIconClass);
  const Window modalIcon = ws.firstChild(modal, kIconClass);
  if (paletteIcon) ws.sendClick(paletteIcon);
  if (modalIcon) ws.sendClick(modalIcon);
}

void Host::HideUploadModal() {
  const Window modal = FindActiveUploadModal();
  if (modal) p_.windows.show(modal, msg::kSwHide);
}

void Host::HideWindow(Window window) {
  if (window) p_.windows.show(window, msg::kSwHide);
}

void Host::HideHost() {
  const Window frame = p_.windows.findWindow(kFrameClass, std::nullopt);
  if (frame) p_.windows.show(frame, msg::kSwHide);
}

// Shown, minimized and restored, with the host's events let run between the steps, so
// the frame comes back in front at its former size.
void Host::ShowHost() {
  auto& ws = p_.windows;
  const auto frame = [&] { return ws.findWindow(kFrameClass, std::nullopt); };
  if (!frame()) return;
  ws.show(frame(), msg::kSwShow);
  p_.loop.pump();
  if (const Window f = frame()) ws.show(f, msg::kSwMinimize);
  p_.loop.pump();
  if (const Window f = frame()) ws.show(f, msg::kSwRestore);
}

Window Host::HideWelcome() {
  const Window welcome =
      FirstHostChild([&](Window child) { return text::StartsWith(GetCaption(child), "Welcome, "); });
  if (welcome) p_.windows.show(welcome, msg::kSwHide);
  return welcome;
}

void Host::CloseGlyph() {
  auto& ws = p_.windows;
  const Window frame = ws.findWindow(kFrameClass, "America  Online");
  const Window toolbar = ws.firstChild(frame, kToolbarFrameClass);
  const Window bar = ws.firstChild(toolbar, kToolbarClass);
  const Window glyph = ws.firstChild(bar, kGlyphClass);
  if (glyph) CloseWindow(glyph);
}

// Closes the front modal and waits for it to go, until none is left. The host handles
// the close in its own time, so the program's events run while it waits.
void Host::CloseModals() {
  auto& ws = p_.windows;
  const platform::Deadline overall(p_.loop, kCloseModalsLimitMs);
  for (int round = 0; round < kCloseModalsMaxRounds; ++round) {
    const Window modal = ws.findWindow(kModalClass, std::nullopt);
    if (!modal) return;
    CloseWindow(modal);
    if (overall.passed()) return;
    p_.loop.waitUntil([&] { return ws.findWindow(kModalClass, std::nullopt) != modal; }, kModalCloseWaitMs,
                      overall);
  }
}

void Host::CycleAboutBox() {
  auto& ws = p_.windows;
  RunMenuItem("&About America Online");
  // The box and its icon are looked up afresh at every turn: the box may be replaced or
  // closed while the program waits.
  const Window icon = p_.loop.waitForWindow(
      [&] { return ws.firstChild(ws.findWindow(kModalClass, std::nullopt), kIconClass); }, kAboutBoxWaitMs);
  if (icon) ws.postClick(icon);
}

void Host::DetachUploadModal() {
  auto& ws = p_.windows;
  const Window frame = ws.findWindow(kFrameClass, std::nullopt);
  const Window modal = ws.findWindow(kModalClass, std::nullopt);
  if (!Contains(GetText(modal), "File Trans")) return;
  // The screen's size in twips taken as pixels: far beyond the lower-right corner.
  const platform::Size screen = p_.screen.size();
  const int x = screen.width * p_.screen.twipsPerPixelX();
  const int y = screen.height * p_.screen.twipsPerPixelY();
  ws.move(modal, platform::Rect{x, y, x + kUploadModalWidth, y + kUploadModalHeight}, true);
  ws.enable(frame, true);
  ws.enable(modal, false);
}

void Host::RestoreUploadModal() {
  auto& ws = p_.windows;
  const Window frame = ws.findWindow(kFrameClass, std::nullopt);
  const Window modal = ws.findWindow(kModalClass, std::nullopt);
  if (!Contains(GetText(modal), "File Trans")) return;
  ws.move(modal,
          platform::Rect{kUploadModalHomeX, kUploadModalHomeY, kUploadModalHomeX + kUploadModalWidth,
                         kUploadModalHomeY + kUploadModalHeight},
          true);
  ws.enable(frame, false);
  ws.enable(modal, true);
  ws.show(modal, msg::kSwHide);
  ws.show(modal, msg::kSwRestore);
}

// On generation 95 the file-transfer modal is moved off the screen and the frame enabled;
// on the others the front modal is hidden and minimized.
void Host::Upchat() {
  const long long generation = text::NumericInt(GetHostVersionText());
  if (generation != 95) {
    const Window modal = p_.windows.findWindow(kModalClass, std::nullopt);
    HideUploadModal();
    if (modal) {
      p_.windows.show(modal, msg::kSwHide);
      p_.windows.show(modal, msg::kSwMinimize);
    }
    return;
  }
  DetachUploadModal();
}

void Host::Unupchat() { RestoreUploadModal(); }

}  // namespace vantary::host
