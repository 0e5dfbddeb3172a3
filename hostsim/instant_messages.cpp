// Instant message windows of each generation, the buddy list and its privacy preferences.
#include "hostsim/host_impl.h"
#include "text/text_ops.h"

namespace vantary::hostsim {
namespace {

// The recipients that switch the user's own instant messages off and on.
constexpr std::string_view kImOff = "$im_off";
constexpr std::string_view kImOn = "$im_on";
constexpr int kPrivacyBoxes = 7;
// The first five privacy boxes say who may reach the user: one choice among them.
constexpr int kPrivacyChoiceBoxes = 5;
// How long after its window an instant message window's buttons and icons come.
constexpr std::uint32_t kImControlsMs = 50;

}  // namespace

// The window comes at once with its recipient and message boxes; the host adds its
// buttons and icons a moment later, once it has loaded their pictures.
void HostSim::Impl::openInstantMessage(const Text& recipient) {
  if (!signedOn) return;
  const Window w = makeChild("Send Instant Message", Rect{160, 60, 560, 330}, WindowRole::kInstantMessage);
  if (!w) return;
  InstantMessageWindow im;
  im.window = w;
  platform::WindowStyle multiline;
  multiline.multiline = true;
  const bool plain = generation == Generation::k2;
  // The recipient box (filled in when the window was opened for somebody) and the
  // message box: an edit on generation 2, a rich box under the font box on the others.
  makeControl(w, "_AOL_Static", "To:", Rect{10, 10, 40, 30});
  im.recipient = makeControl(w, "_AOL_Edit", recipient, Rect{45, 10, 380, 30});
  if (plain) {
    im.message = makeControl(w, "_AOL_Edit", "", Rect{10, 40, 380, 200}, multiline);
  } else {
    makeControl(w, "_AOL_Combobox", "Arial", Rect{10, 40, 150, 60});
    im.message = makeControl(w, "RICHCNTL", "", Rect{10, 90, 380, 200}, multiline);
  }
  imWindows[w] = im;
  after(w, kImControlsMs, "instant message window", [this, w, plain] {
    Window send;
    if (plain) {
      // A send button and another one.
      send = makeControl(w, "_AOL_Button", "Send", Rect{10, 210, 90, 235});
      makeControl(w, "_AOL_Button", "Available?", Rect{100, 210, 200, 235});
    } else {
      // Eight formatting icons, then Send and Available.
      int x = 10;
      for (const char* name :
           {"Text Color", "Background Color", "Smaller", "Normal", "Larger", "Bold", "Italic", "Underline"}) {
        makeControl(w, "_AOL_Icon", name, Rect{x, 64, x + 22, 86});
        x += 24;
      }
      send = makeControl(w, "_AOL_Icon", "Send", Rect{300, 210, 380, 250});
      makeControl(w, "_AOL_Icon", "Available?", Rect{200, 210, 290, 250});
    }
    setClick(send, w, [this, w] { sendInstantMessage(w); });
  });
}

void HostSim::Impl::sendInstantMessage(Window window) {
  const auto it = imWindows.find(window);
  if (it == imWindows.end()) return;
  const InstantMessageWindow im = it->second;
  const Text recipient(text::Trim(ws.text(im.recipient), " "));
  const Text message = ws.text(im.message);
  if (recipient.empty()) {
    showHostDialog("You must enter the screen name of the member you want to send an Instant Message to.");
    return;
  }
  if (message.empty()) {
    showHostDialog("You must type a message before you can send it.");
    return;
  }
  sent.push_back(SentInstantMessage{recipient, message});
  const Text key = NameKey(recipient);
  const bool reserved = key == kImOff || key == kImOn;
  if (key == kImOff) imOn = false;
  if (key == kImOn) imOn = true;
  if (!reserved && answerWithDialog) {
    // The host keeps the window open and says why the message did not go.
    showHostDialog(recipient + " is not currently signed on.");
    return;
  }
  if (ws.exists(window)) ws.destroy(window);
}

// The buddy list and the privacy preferences come from the host's servers: each window
// shows at once, and its controls answer once its contents have arrived.
void HostSim::Impl::openBuddyList() {
  if (const Window existing = firstWithRole(WindowRole::kBuddyList)) {
    bringToTop(existing);
    return;
  }
  const bool newer = generation == Generation::k4 || generation == Generation::k5;
  const Text caption = screenName + (newer ? "'s Buddy List" : "'s Buddy Lists");
  const Window w = makeChild(caption, Rect{560, 10, 780, 420}, WindowRole::kBuddyList);
  if (!w) return;
  makeControl(w, "_AOL_Static", "Buddies Online", Rect{10, 10, 200, 30});
  const Window list = makeControl(w, "_AOL_Listbox", "", Rect{10, 34, 200, 300});
  for (const char* group : {"Buddies (0/0)", "Family (0/0)", "Co-Workers (0/0)"}) {
    ws.send(list, msg::kLbAddString, 0, reinterpret_cast<platform::LParam>(group));
  }
  // The fifth icon opens the privacy preferences.
  int y = 310;
  Window privacy;
  for (const char* name : {"Locate", "IM", "Buddy Chat", "Setup", "Privacy Preferences", "Buddy Info"}) {
    const Window icon = makeControl(w, "_AOL_Icon", name, Rect{10, y, 200, y + 14});
    if (Text(name) == "Privacy Preferences") privacy = icon;
    y += 15;
  }
  setClick(privacy, w, [this] { openPrivacy(); });
  waitingForServers.insert(w);
  after(w, kServerAnswerMs, "buddy list", [this, w] { waitingForServers.erase(w); });
}

void HostSim::Impl::openPrivacy() {
  if (const Window existing = firstWithRole(WindowRole::kPrivacy)) {
    bringToTop(existing);
    return;
  }
  const Window w = makeChild("Privacy Preferences", Rect{200, 40, 600, 420}, WindowRole::kPrivacy);
  if (!w) return;
  makeControl(w, "_AOL_Static", "Choose who may contact you and see you online", Rect{10, 10, 390, 30});
  static constexpr const char* kBoxes[kPrivacyBoxes] = {"Allow all members to contact me",
                                                        "Allow only AOL members to contact me",
                                                        "Allow only people on my Buddy List",
                                                        "Block only the people listed below",
                                                        "Block all members",
                                                        "Apply to Buddy List and Instant Messages",
                                                        "Hide me from other members' Buddy Lists"};
  platform::WindowStyle box;
  box.checkBox = true;
  for (int i = 0; i < kPrivacyBoxes; ++i) {
    const Window b = makeControl(w, "_AOL_Checkbox", kBoxes[i], Rect{10, 40 + 24 * i, 390, 60 + 24 * i}, box);
    if (privacySaved[static_cast<std::size_t>(i)]) {
      ws.callDefault(b, Message{msg::kBmSetCheck, msg::kBstChecked, 0});
    }
    Control c;
    c.owner = w;
    c.role = ControlRole::kPrivacyBox;
    c.index = i;
    setControl(b, c);
  }
  // The fourth icon saves.
  int x = 10;
  for (const char* name : {"Help", "Edit", "Remove", "Save", "Cancel"}) {
    const Window icon = makeControl(w, "_AOL_Icon", name, Rect{x, 320, x + 70, 360});
    if (Text(name) == "Save") setClick(icon, w, [this, w] { savePrivacy(w); });
    if (Text(name) == "Cancel") setClick(icon, w, [this, w] { closeLater(w); });
    x += 76;
  }
  waitingForServers.insert(w);
  after(w, kServerAnswerMs, "privacy preferences", [this, w] { waitingForServers.erase(w); });
}

void HostSim::Impl::privacyBoxChanged(Window box, bool checked) {
  const auto it = controls.find(box);
  if (it == controls.end() || !checked || it->second.index >= kPrivacyChoiceBoxes) return;
  const Window owner = it->second.owner;
  for (const auto& [other, c] : controls) {
    if (other != box && c.owner == owner && c.role == ControlRole::kPrivacyBox &&
        c.index < kPrivacyChoiceBoxes) {
      ws.callDefault(other, Message{msg::kBmSetCheck, msg::kBstUnchecked, 0});
    }
  }
}

// Save sends the preferences to the host's servers. While they are on their way the host
// shows its dialog with a Cancel button, which drops the save; once the servers have them
// that dialog goes, and the host confirms with its dialog and OK.
void HostSim::Impl::savePrivacy(Window window) {
  if (!ws.exists(window)) return;
  std::vector<bool> saving = privacySaved;
  for (const auto& [box, c] : controls) {
    if (c.owner == window && c.role == ControlRole::kPrivacyBox && c.index >= 0 && c.index < kPrivacyBoxes) {
      saving[static_cast<std::size_t>(c.index)] =
          ws.callDefault(box, Message{msg::kBmGetCheck, 0, 0}) == msg::kBstChecked;
    }
  }
  ws.destroy(window);
  const Window progress = makeDialog("Saving your Privacy Preferences...", "Cancel", msg::kIdCancel);
  after(progress, kServerAnswerMs, "privacy save", [this, progress, saving] {
    privacySaved = saving;
    if (ws.exists(progress)) ws.destroy(progress);
    showHostDialog("Your Privacy Preferences have been saved.");
  });
}

}  // namespace vantary::hostsim
