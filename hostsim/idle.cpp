// The host's idle timer: after a stretch without activity of its user it raises the
// timer palette and an idle modal, and signs off when they are left standing.
#include "hostsim/host_impl.h"

namespace vantary::hostsim {

void HostSim::Impl::restartIdleClock() {
  idleTimer.setEnabled(false);
  idleTimer.setInterval(idleAfterMs);
  if (signedOn && idleAfterMs > 0) idleTimer.setEnabled(true);
}

bool HostSim::Impl::idleWindowsStand() const {
  return firstWithRole(WindowRole::kIdlePalette) || firstWithRole(WindowRole::kIdleModal);
}

void HostSim::Impl::raiseIdleWindows() {
  idleTimer.setEnabled(false);
  if (!signedOn) return;
  if (!firstWithRole(WindowRole::kIdlePalette)) {
    const Window palette = makeTopLevel("_AOL_Palette", "America Online Timer", Rect{560, 420, 790, 520},
                                        WindowRole::kIdlePalette);
    makeControl(palette, "_AOL_Static", "Click OK to stay online.", Rect{10, 10, 220, 30});
    const Window ok = makeControl(palette, "_AOL_Icon", "OK", Rect{80, 40, 150, 80});
    setClick(ok, palette, [this, palette] { closeLater(palette); });
  }
  if (!firstWithRole(WindowRole::kIdleModal)) {
    const Window modal =
        makeTopLevel("_AOL_Modal", "America Online", Rect{220, 200, 580, 330}, WindowRole::kIdleModal);
    const Text minutes = std::to_string(idleAfterMs / 60000);
    makeControl(modal, "_AOL_Static",
                "You have been idle for " + minutes + " minutes. Click Stay Online to remain signed on.",
                Rect{10, 10, 350, 50});
    const Window stay = makeControl(modal, "_AOL_Icon", "Stay Online", Rect{40, 70, 140, 110});
    const Window off = makeControl(modal, "_AOL_Icon", "Sign Off", Rect{220, 70, 320, 110});
    setClick(stay, modal, [this, modal] { closeLater(modal); });
    setClick(off, modal, [this] { signOff(); });
  }
  standTimer.setEnabled(false);
  standTimer.setInterval(idleStandMs);
  standTimer.setEnabled(true);
}

// An idle window went (its icon clicked or closed): once neither stands, the user is
// back, and the stretch without activity starts again.
void HostSim::Impl::idleWindowGone() {
  if (tearingDown || !signedOn || idleWindowsStand()) return;
  standTimer.setEnabled(false);
  restartIdleClock();
}

// ---- the scripting interface ---------------------------------------------------------------

void HostSim::setIdleLimits(std::uint32_t idleAfterMs, std::uint32_t standMs) {
  impl_->idleAfterMs = idleAfterMs;
  impl_->idleStandMs = standMs;
  if (!impl_->idleWindowsStand()) impl_->restartIdleClock();
}

void HostSim::raiseIdleWindows() { impl_->raiseIdleWindows(); }

bool HostSim::idleWindowsShown() const { return impl_->idleWindowsStand(); }

}  // namespace vantary::hostsim
