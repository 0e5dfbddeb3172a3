// Finding the host's download windows and upload modals and the web browser's download
// dialog, and reading the file name, the time left and the percent from them.
#include "host/host.h"
#include "host/host_windows.h"
#include "platform/messages.h"
#include "text/text_ops.h"

namespace vantary::host {
namespace {

namespace msg = platform::msg;
using text::Contains;

constexpr std::string_view kCompleted = " Completed";
constexpr std::string_view kCopied = " Copied";

}  // namespace

Window Host::FindTransferWindow() {
  return FirstHostChild([&](Window child) { return Contains(GetCaption(child), "File Transfer - "); });
}

Window Host::FindDownloadWindow() {
  auto& ws = p_.windows;
  return FirstHostChild([&](Window child) {
    const Window first = ws.firstChild(child, kStaticClass);
    return Contains(GetCaption(child), "File Transfer") && Contains(GetText(first), "Downloading");
  });
}

// Both upload finders test the first modal only: whatever modal stands in front (a
// sign-off question, an idle warning) hides the upload for that moment, and callers read
// the upload texts from the first modal afterwards.
Window Host::FindUploadModal() {
  auto& ws = p_.windows;
  const Window modal = ws.findWindow(kModalClass, std::nullopt);
  if (!modal) return Window{};
  const Window first = ws.firstChild(modal, kStaticClass);
  if (Contains(GetCaption(modal), "File Transfer") && Contains(GetText(first), "Uploading")) return modal;
  return Window{};
}

Window Host::FindActiveUploadModal() {
  auto& ws = p_.windows;
  p_.loop.pump();
  const Window modal = ws.findWindow(kModalClass, std::nullopt);
  if (!modal) return Window{};
  const Window first = ws.firstChild(modal, kStaticClass);
  if (!first) return Window{};
  if (Contains(GetText(modal), "File Transfer - ") && Contains(GetText(first), "Now Uploading "))
    return modal;
  return Window{};
}

void Host::RaiseDownloadWindow() {
  const Window download = FindDownloadWindow();
  if (!download) return;
  p_.windows.setPosition(download, msg::kHwndTopmost, platform::Rect{}, msg::kSwpNoMove | msg::kSwpNoSize);
}

Text Host::GetTransferFileName() {
  const Window transfer = FindTransferWindow();
  if (!transfer) return Text{};
  const Text status = GetText(p_.windows.firstChild(transfer, kStaticClass));
  // "Downloading song.mp3", "Now Uploading song.mp3": the name follows the blank after
  // the "g" that ends the verb. Without a "g" the first character is dropped.
  const std::size_t g = status.find('g');
  const std::size_t start = g == Text::npos ? 1 : g + 2;
  return start < status.size() ? status.substr(start) : Text{};
}

// The second static of a transfer window holds the time left ("About 3 minutes
// remaining.").
Text Host::timeTextOf(Window transfer) {
  if (!transfer) return Text{};
  return GetText(p_.windows.nthChild(transfer, kStaticClass, 2));
}

Text Host::GetTransferTimeText() { return timeTextOf(FindTransferWindow()); }

Text Host::GetDownloadTimeText() { return timeTextOf(FindDownloadWindow()); }

BrowserDownload Host::GetBrowserDownload() {
  const Text caption = GetCaption(p_.windows.findWindow(kDialogClass, std::nullopt));
  BrowserDownload result;
  // "45% of setup.exe Completed": the status is the caption without its ending. Both
  // endings are tested; " Copied" decides when both occur.
  if (const std::size_t at = caption.find(kCompleted); at != Text::npos) {
    result.status = caption.substr(0, caption.size() - kCompleted.size());
    result.found = static_cast<int>(at) + 1;
  }
  if (const std::size_t at = caption.find(kCopied); at != Text::npos) {
    result.status = caption.substr(0, caption.size() - kCopied.size());
    result.found = static_cast<int>(at) + 1;
  }
  return result;
}

// The texts of whatever modal stands first, upload or not: the callers decide whether
// it is an upload before they use them.
UploadTexts Host::ReadUploadTexts() {
  auto& ws = p_.windows;
  const Window modal = ws.findWindow(kModalClass, std::nullopt);
  const Window first = ws.firstChild(modal, kStaticClass);
  const Window second = first ? ws.findChild(modal, first, kStaticClass) : Window{};
  UploadTexts texts;
  texts.file = text::ReplaceText(text::ToLower(GetText(first)), "Now Uploading ", "");
  texts.percent = GetText(modal);
  texts.minutes = GetText(second);
  return texts;
}

}  // namespace vantary::host
