// File transfers: download windows and upload modals that progress with time, and the
// web browser's download dialog.
#include <algorithm>

#include "hostsim/host_impl.h"

namespace vantary::hostsim {
namespace {

Text TransferCaption(int percent) { return "File Transfer - " + std::to_string(percent) + "%"; }

Text TimeLeftText(std::uint64_t remainingMs) {
  if (remainingMs < 60000) return "Less than a minute remaining.";
  const std::uint64_t minutes = (remainingMs + 59999) / 60000;
  if (minutes == 1) return "About 1 minute remaining.";
  return "About " + std::to_string(minutes) + " minutes remaining.";
}

// How often a transfer window is brought up to date: every percent, but at least once a
// second and never more than every 50 ms.
std::uint32_t ProgressStepMs(std::uint32_t durationMs) { return std::clamp(durationMs / 100u, 50u, 1000u); }

}  // namespace

int HostSim::Impl::startTransfer(TransferKind kind, const Text& file, std::uint32_t durationMs) {
  if (!signedOn) return 0;
  auto t = std::make_unique<Transfer>();
  t->id = nextTransferId++;
  t->kind = kind;
  t->file = file;
  t->durationMs = std::max<std::uint32_t>(durationMs, 1);
  t->startMs = p.loop.nowMs();
  Window status;  // the upload's first text
  if (kind == TransferKind::kDownload) {
    t->window = makeChild(TransferCaption(0), Rect{100, 120, 470, 292}, WindowRole::kDownload);
    if (!t->window) return 0;
    makeControl(t->window, "_AOL_Static", "Downloading " + file, Rect{10, 10, 360, 30});
    t->timeText = makeControl(t->window, "_AOL_Static", "", Rect{10, 34, 360, 54});
    makeControl(t->window, "_AOL_Static", "", Rect{10, 60, 360, 80});  // the gauge
    const Window later = makeControl(t->window, "_AOL_Icon", "Finish Later", Rect{10, 100, 110, 140});
    const Window cancel = makeControl(t->window, "_AOL_Icon", "Cancel", Rect{120, 100, 220, 140});
    const Window w = t->window;
    setClick(later, w, [this, w] { closeLater(w); });
    setClick(cancel, w, [this, w] { closeLater(w); });
  } else {
    // The upload modal stands in front of the frame, which cannot be used meanwhile. Its
    // controls are buttons, not icons: clicking the first icon of whatever modal is in
    // front never stops an upload. The host makes the modal at once, captioned "File
    // Transfer" with empty texts, and fills its texts in when it next handles its events:
    // a look at the modal that lets no events run first may find it blank.
    t->window = makeTopLevel("_AOL_Modal", "File Transfer", Rect{90, 90, 460, 262}, WindowRole::kUpload);
    if (!t->window) return 0;
    status = makeControl(t->window, "_AOL_Static", "", Rect{10, 10, 360, 30});
    t->timeText = makeControl(t->window, "_AOL_Static", "", Rect{10, 34, 360, 54});
    const Window later = makeControl(t->window, "_AOL_Button", "Finish Later", Rect{10, 100, 110, 125});
    const Window cancel = makeControl(t->window, "_AOL_Button", "Cancel", Rect{120, 100, 220, 125});
    const Window w = t->window;
    setClick(later, w, [this, w] { closeLater(w); });
    setClick(cancel, w, [this, w] { closeLater(w); });
    ws.enable(frame, false);
  }
  const int id = t->id;
  t->timer = std::make_unique<platform::Timer>(
      p.loop, ProgressStepMs(t->durationMs), guarded("transfer timer", [this, id] { advanceTransfer(id); }));
  if (kind == TransferKind::kDownload) {
    showProgress(*t);
  } else {
    defer([this, id, status, file] {
      const auto it = transfers.find(id);
      if (it == transfers.end()) return;
      ws.setText(status, "Now Uploading " + file);
      showProgress(*it->second);
    });
  }
  t->timer->setEnabled(true);
  transfers[id] = std::move(t);
  return id;
}

void HostSim::Impl::showProgress(Transfer& t) {
  const std::uint64_t elapsed = std::min<std::uint64_t>(p.loop.nowMs() - t.startMs, t.durationMs);
  const int percent = static_cast<int>(elapsed * 100 / t.durationMs);
  ws.setText(t.window, TransferCaption(percent));
  ws.setText(t.timeText, TimeLeftText(t.durationMs - elapsed));
}

void HostSim::Impl::advanceTransfer(int id) {
  const auto it = transfers.find(id);
  if (it == transfers.end()) return;
  Transfer& t = *it->second;
  if (p.loop.nowMs() - t.startMs >= t.durationMs) {
    endTransfer(id);
    return;
  }
  showProgress(t);
}

// A transfer ends (done, stopped or its window closed): its window goes, and the frame
// is usable again once no upload stands in front of it.
void HostSim::Impl::endTransfer(int id) {
  const auto it = transfers.find(id);
  if (it == transfers.end()) return;
  std::unique_ptr<Transfer> t = std::move(it->second);
  transfers.erase(it);
  if (t->window && ws.exists(t->window)) ws.destroy(t->window);
  const bool uploadLeft = std::any_of(transfers.begin(), transfers.end(),
                                      [](const auto& e) { return e.second->kind == TransferKind::kUpload; });
  if (t->kind == TransferKind::kUpload && !uploadLeft && !tearingDown) ws.enable(frame, true);
}

// ---- the scripting interface ---------------------------------------------------------------

int HostSim::startTransfer(TransferKind kind, const Text& fileName, std::uint32_t durationMs) {
  return impl_->startTransfer(kind, fileName, durationMs);
}

void HostSim::finishTransfer(int id) { impl_->endTransfer(id); }

bool HostSim::transferRunning(int id) const { return impl_->transfers.count(id) != 0; }

int HostSim::transferPercent(int id) const {
  const auto it = impl_->transfers.find(id);
  if (it == impl_->transfers.end()) return -1;
  const Transfer& t = *it->second;
  const std::uint64_t elapsed = std::min<std::uint64_t>(impl_->p.loop.nowMs() - t.startMs, t.durationMs);
  return static_cast<int>(elapsed * 100 / t.durationMs);
}

Window HostSim::openBrowserDownload(const Text& caption) {
  closeBrowserDownload();
  Impl& h = *impl_;
  h.browser = h.makeTopLevel("#32770", caption, Rect{300, 300, 660, 440}, WindowRole::kBrowserDownload);
  h.makeControl(h.browser, "Static", "Saving:", Rect{10, 10, 340, 30});
  platform::WindowSpec cancel;
  cancel.className = "Button";
  cancel.caption = "Cancel";
  cancel.style.child = true;
  cancel.style.visible = true;
  cancel.parent = h.browser;
  cancel.rect = Rect{260, 100, 340, 124};
  cancel.controlId = msg::kIdCancel;
  h.ws.create(cancel);
  return h.browser;
}

void HostSim::closeBrowserDownload() {
  if (impl_->browser && impl_->ws.exists(impl_->browser)) impl_->ws.destroy(impl_->browser);
  impl_->browser = Window{};
}

}  // namespace vantary::hostsim
