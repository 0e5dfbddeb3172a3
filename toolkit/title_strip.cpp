// The title strip of the program's borderless windows and their hover help.
#include "toolkit/title_strip.h"

#include "toolkit/window_utils.h"

namespace vantary::toolkit {

void UseTitleStrip(Form& form, const TitleStrip& strip) {
  Platform& p = form.platform();
  for (const Text& label : strip.dragLabels) {
    form.onMouseDown(label, [&form, &p](Point) { DragAndKeepOnScreen(p, form.window()); });
  }
  if (!strip.minimizeLabel.empty()) form.onClick(strip.minimizeLabel, [&form] { form.minimize(); });
  if (!strip.statusLabel.empty()) {
    const Text status = strip.statusLabel;
    for (const HoverText& h : strip.hover) {
      // The label is set only when its text changes, so moving within one element does
      // not repaint it at every step.
      form.onMouseMove(h.element, [&form, status, text = h.text](Point) {
        if (form.text(status) != text) form.setText(status, text);
      });
    }
  }
  if (strip.closeHides) form.onCloseRequest([&form] { HideWindow(form); });
  StayOnTop(p, form.window());
}

void HideWindow(Form& form) {
  // A window hidden while minimized would come back minimized when shown.
  if (form.platform().windows.isMinimized(form.window())) form.restore();
  form.hide();
}

void ShowRestored(Form& form) {
  if (form.platform().windows.isMinimized(form.window())) form.restore();
  form.show();
}

}  // namespace vantary::toolkit
