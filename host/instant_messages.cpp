// Instant messages through whichever window the host generation offers, the buddy list's
// privacy settings behind ghost mode, and ignoring or unignoring a member of the room.
#include <algorithm>
#include <cstdint>
#include <initializer_list>

#include "host/host.h"
#include "host/host_windows.h"
#include "platform/messages.h"
#include "text/text_ops.h"

namespace vantary::host {
namespace {

namespace msg = platform::msg;
using platform::WindowSystem;
using text::operator""_ansi;
using text::RemoveSpaces;
using text::ToLower;

constexpr std::string_view kImWindowCaption = "Send Instant Message";
constexpr std::string_view kImKeyword = "aol://9293:";
constexpr std::size_t kImMaxChars = 512;
// The host's answer when it cannot deliver a message, and its confirmations.
constexpr std::string_view kDialogCaption = "America Online";
// The buddy list and the privacy settings are looked up under the frame by its caption
// as well, two blanks and all.
constexpr std::string_view kFrameCaption = "America  Online";

// How long the host may take to open its instant message window. Addressed by keyword,
// the host may first ask its servers about the recipient; over a slow line that takes
// seconds. Running out sends nothing.
constexpr std::uint32_t kImWindowLimitMs = 20000;

// How long the host may take to send a message: it closes the window once the servers
// took it, or answers with its dialog. Running out closes the window all the same, so
// that a window hidden for the message does not stay behind where the user cannot see
// it.
constexpr std::uint32_t kImAnswerLimitMs = 30000;

// How long the host may take to confirm with its dialog, after a save that goes to its
// servers. Running out leaves the dialog to the user if it comes later.
constexpr std::uint32_t kHostDialogLimitMs = 30000;

// How long each step of a privacy change may wait for the buddy list, the privacy
// settings window and their controls. The buddy list comes from the servers on its first
// opening. Running out ends the change; the buddy list windows are still closed.
constexpr std::uint32_t kPrivacyStepLimitMs = 20000;

// How long the host may take to open a member's information window after the double
// click; it fetches the member's details from its servers first. Running out leaves the
// member as they were, and the room is not told.
constexpr std::uint32_t kMemberInfoLimitMs = 20000;

// How long the ignore box is clicked until it shows the wanted state. The host changes
// it at once on a click; a few seconds cover a host too busy to take the first ones.
constexpr std::uint32_t kCheckBoxClickLimitMs = 10000;
// The wait after the first click before another, doubled after each up to the longest.
constexpr std::uint32_t kCheckBoxFirstGapMs = 100;
constexpr std::uint32_t kCheckBoxLongestGapMs = 2000;

// Pauses that let the buddy list and the privacy settings settle before they are used.
constexpr double kPrivacySettleSeconds = 0.5;
// The pause before the room is told about an unignored member.
constexpr double kUnignoreSeconds = 2.0;

// The first child of `parent` of the class with exactly this caption; none without a
// parent (a parent of 0 would walk the top-level windows instead).
Window ChildCaptioned(WindowSystem& ws, Window parent, std::string_view className, std::string_view caption) {
  return parent ? ws.findChild(parent, Window{}, className, caption) : Window{};
}

Window FindImWindow(Host& host) {
  return ChildCaptioned(host.platform().windows, host.FindMdiClient(), kChildClass, kImWindowCaption);
}

Window FindHostDialog(WindowSystem& ws) { return ws.findWindow(kDialogClass, kDialogCaption); }

// Waits for the host's answer to a sent message: its dialog, which is dismissed together
// with the message window, or the message window going away once the message went.
void AwaitImAnswer(Host& host) {
  auto& ws = host.platform().windows;
  const bool answered = host.platform().loop.waitUntil(
      [&] { return FindHostDialog(ws) || !FindImWindow(host); }, kImAnswerLimitMs);
  // Found again: no events ran since the look that ended the wait.
  if (const Window dialog = FindHostDialog(ws)) {
    ws.postKey(ws.firstChild(dialog, kSystemButtonClass), msg::kVkSpace);
    host.CloseWindow(FindImWindow(host));
  } else if (!answered) {
    host.CloseWindow(FindImWindow(host));
  }
}

// The buddy list and privacy settings windows, under the frame captioned "America  Online".
Window FindFramedChild(Host& host, std::string_view caption) {
  auto& ws = host.platform().windows;
  const Window frame = ws.findWindow(kFrameClass, kFrameCaption);
  return ChildCaptioned(ws, ws.firstChild(frame, kMdiClass), kChildClass, caption);
}

// Checks the privacy settings' check boxes at `boxes` (from 1) and saves them: through
// the buddy list's 5th icon to the privacy settings window, its 4th icon saves, and the
// host confirms with its dialog. The buddy list windows are closed at the end, also
// when a step ran out.
void ChangePrivacy(Host& host, std::initializer_list<int> boxes) {
  auto& ws = host.platform().windows;
  auto& loop = host.platform().loop;
  const Text name = host.GetScreenName();
  const Text list = name + "'s Buddy List";
  const Text lists = name + "'s Buddy Lists";
  const auto buddyList = [&] {
    const Window w = FindFramedChild(host, list);
    return w ? w : FindFramedChild(host, lists);
  };
  const auto privacy = [&] { return FindFramedChild(host, "Privacy Preferences"); };
  const auto waitFor = [&](const std::function<Window()>& find) {
    return loop.waitForWindow(find, kPrivacyStepLimitMs);
  };

  host.RunKeyword("Buddy");
  [&] {
    if (!waitFor(buddyList)) return;
    loop.pause(kPrivacySettleSeconds);
    const Window icon = waitFor([&] { return ws.nthChild(buddyList(), kIconClass, 5); });
    if (!icon) return;
    ws.postClick(icon);
    if (!waitFor(privacy)) return;
    loop.pause(kPrivacySettleSeconds);
    const bool controls = loop.waitUntil(
        [&] {
          for (int box : boxes) {
            if (!ws.nthChild(privacy(), kCheckBoxClass, box)) return false;
          }
          return true;
        },
        kPrivacyStepLimitMs);
    if (!controls) return;
    // Every bit set: the check box takes it as checked.
    for (int box : boxes) ws.setCheck(ws.nthChild(privacy(), kCheckBoxClass, box), msg::kBstAllBits);
    const Window save = waitFor([&] { return ws.nthChild(privacy(), kIconClass, 4); });
    if (!save) return;
    ws.postClick(save);
    host.ConfirmHostDialog();
    loop.pause(kPrivacySettleSeconds);
  }();
  host.CloseWindow(FindFramedChild(host, list));
  host.CloseWindow(FindFramedChild(host, lists));
}

// Opens the information window of the member at `index` of the rich room's people list
// and clicks its ignore box until it shows `ignore`; closes the window. True when the box
// ended in that state.
bool SetMemberIgnored(Host& host, int index, bool ignore) {
  auto& ws = host.platform().windows;
  auto& loop = host.platform().loop;
  const Window people = ws.firstChild(host.FindRichChatRoom(), kListBoxClass);
  const std::optional<platform::LResult> count = ws.listCount(people);
  // Rows run from 0 to count-1: any other index would select nothing, and no window
  // would ever open.
  if (!count || *count <= 0 || index < 0 || index >= *count) return false;
  ws.listSelect(people, index);
  ws.postDoubleClick(people);

  const auto ignoreBox = [&] { return ws.firstChild(host.FindMemberInfoWindow(), kCheckBoxClass); };
  if (!loop.waitForWindow(ignoreBox, kMemberInfoLimitMs)) return false;
  // Each round looks at the box and clicks it unless it shows `ignore`, finding it afresh
  // for each half of the click; the rounds end when it shows `ignore`, or when it did not
  // answer (the window went, or its host hangs: no click would reach it).
  // A click toggles the box: one that a busy host has not shown yet must not be undone by
  // the next, so the clicks come further apart each time (the box is looked at meanwhile).
  bool reached = false;
  bool answered = true;
  std::uint64_t nextClickMs = 0;
  std::uint32_t gapMs = kCheckBoxFirstGapMs;
  loop.repeatUntil(
      [&] {
        const std::optional<platform::LResult> state = ws.checkState(ignoreBox());
        answered = state.has_value();
        reached = answered && (*state == static_cast<platform::LResult>(msg::kBstChecked)) == ignore;
        if (!answered || reached || loop.nowMs() < nextClickMs) return;
        loop.pump();
        ws.sendMouseDown(ignoreBox());
        loop.pump();
        ws.sendMouseUp(ignoreBox());
        nextClickMs = loop.nowMs() + gapMs;
        gapMs = std::min(gapMs * 2, kCheckBoxLongestGapMs);
      },
      [&] { return reached || !answered; }, kCheckBoxClickLimitMs);
  host.CloseWindow(host.FindMemberInfoWindow());
  return reached;
}

}  // namespace

void Host::SendInstantMessage(std::string_view recipient, std::string_view message) {
  auto& ws = p_.windows;
  const int generation = GetHostVersion();
  if (message.size() > kImMaxChars) message = message.substr(0, kImMaxChars);
  // The message window once it has every control in `ready`.
  const auto waitForImWindow = [&](const std::function<bool(Window)>& ready) {
    return p_.loop.waitForWindow(
        [&] {
          const Window im = FindImWindow(*this);
          return ready(im) ? im : Window{};
        },
        kImWindowLimitMs);
  };

  if (generation == kGeneration5 || generation == kGeneration4) {
    // The host fills the recipient in from the keyword.
    RunKeyword(Text(kImKeyword) + Text(recipient));
    const Window im = waitForImWindow(
        [&](Window w) { return ws.firstChild(w, kRichTextClass) && ws.nthChild(w, kIconClass, 9); });
    if (!im) return;
    // Hidden before anything is typed, so the user does not see it.
    ws.show(im, msg::kSwHide);
    ws.setText(ws.firstChild(im, kRichTextClass), message);
    ws.sendClick(ws.nthChild(im, kIconClass, 9));
  } else if (generation == kGeneration95) {
    RunMenuItem("Send An Instant Message");
    const auto ready = [&](Window im) {
      return ws.firstChild(im, kEditClass) && ws.firstChild(im, kRichTextClass) &&
             ws.nthChild(im, kIconClass, 9);
    };
    if (!waitForImWindow(ready)) return;
    // Found again after every turn of events: the user may close the window meanwhile.
    ws.setText(ws.firstChild(FindImWindow(*this), kEditClass), recipient);
    p_.loop.pump();
    ws.setText(ws.firstChild(FindImWindow(*this), kRichTextClass), message);
    p_.loop.pump();
    ws.postMouseDown(ws.nthChild(FindImWindow(*this), kIconClass, 9));
    p_.loop.pump();
    ws.postMouseUp(ws.nthChild(FindImWindow(*this), kIconClass, 9));
  } else {
    RunMenuItem("Send An Instant Message");
    const auto ready = [&](Window im) {
      return ws.nthChild(im, kEditClass, 2) && ws.firstChild(im, kButtonClass);
    };
    if (!waitForImWindow(ready)) return;
    ws.setText(ws.firstChild(FindImWindow(*this), kEditClass), recipient);
    p_.loop.pump();
    ws.setText(ws.nthChild(FindImWindow(*this), kEditClass, 2), message);
    p_.loop.pump();
    ws.sendKey(ws.firstChild(FindImWindow(*this), kButtonClass), msg::kVkSpace);
  }
  AwaitImAnswer(*this);
}

void Host::ConfirmHostDialog() {
  auto& ws = p_.windows;
  const Window ok = p_.loop.waitForWindow(
      [&] { return ChildCaptioned(ws, FindHostDialog(ws), kSystemButtonClass, "OK"); }, kHostDialogLimitMs);
  if (ok) ws.sendKey(ok, msg::kVkSpace);
}

// Ghost mode: "block all members" (5th) and "hide me from buddy lists" (7th).
void Host::GhostOn() { ChangePrivacy(*this, {5, 7}); }

// Out of ghost mode: "allow all members" (1st).
void Host::GhostOff() { ChangePrivacy(*this, {1}); }

void Host::IgnoreMemberAt(int index) { SetMemberIgnored(*this, index, true); }

void Host::UnignoreMemberAt(int index) { SetMemberIgnored(*this, index, false); }

// The room is told only when the member's ignore box ended as asked.
void Host::IgnoreMember(std::string_view namePart) {
  const std::optional<RoomMember> member = FindRoomMember(namePart);
  if (!member || !SetMemberIgnored(*this, member->index, true)) return;
  const ChatStyle s = style();
  SendChatLine(StatusPrefix(s, s.ascii1) + Text("> vantarý³ · ignore'd <i>(</i> "_ansi) +
               RemoveSpaces(ToLower(member->name)) + Text("<i> )</i> ·"_ansi));
}

void Host::UnignoreMember(std::string_view namePart) {
  const std::optional<RoomMember> member = FindRoomMember(namePart);
  if (!member || !SetMemberIgnored(*this, member->index, false)) return;
  p_.loop.pause(kUnignoreSeconds);
  const ChatStyle s = style();
  SendChatLine(StatusPrefix(s, s.ascii1) + Text("> vantarý³ · unignore'd <i>(</i> "_ansi) +
               RemoveSpaces(ToLower(member->name)) + Text(" <i>)</i> ·"_ansi));
}

}  // namespace vantary::host
