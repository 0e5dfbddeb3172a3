// Running host keywords from the toolbar's keyword box and from the Keyword window,
// entering a private room (with numbered retries while it is full), and signing off.
#include <charconv>
#include <cstdint>
#include <string>

#include "host/host.h"
#include "host/host_windows.h"
#include "platform/messages.h"
#include "text/text_ops.h"

namespace vantary::host {
namespace {

namespace msg = platform::msg;
using text::operator""_ansi;
using text::RemoveSpaces;
using text::ToLower;

constexpr std::string_view kPrivateRoomKeyword = "aol://2719:2-2-";

// How long one room-entry try waits for the host to show the room or its "room is full"
// dialog. Entering a room is a round trip to the host's servers, which over a slow line
// to a busy server takes ten seconds and more. A host that shows neither within this
// time will not answer further tries either, so running out ends the entry (the plain
// entry says so in the room with its stop line) instead of counting as a full room: 25
// tries of a silent host would otherwise hold the program for a quarter of an hour.
constexpr std::uint32_t kRoomTryLimitMs = 30000;

// How long the host may take to open its Keyword window. The window is the host's own,
// built without a server round trip, but an old machine busy swapping takes seconds.
// Running out leaves the keyword unrun.
constexpr std::uint32_t kKeywordWindowLimitMs = 15000;

// How long generation 2 may take to ask whether to sign off. Its question is a local
// modal that comes up at once on a healthy host. Running out leaves the host as it is.
constexpr std::uint32_t kSignOffQuestionLimitMs = 15000;

// The pause after a try, so the host can take the dialog's button or settle in the room
// before the next step.
constexpr double kAfterTrySeconds = 0.1;

constexpr int kEntryTries = 10;
constexpr int kPersistentTries = 25;

enum class TryResult { kJoined, kFull, kNoAnswer };

// For try number n from 2 on the room name gets " n"; the first try uses the name alone.
Text TrySuffix(int n) {
  if (n < 2) return Text{};
  char digits[12];
  const std::to_chars_result written = std::to_chars(digits, digits + sizeof digits, n);
  Text suffix = " ";
  suffix.append(digits, written.ptr);
  return suffix;
}

// One try at a room: runs its keyword and waits for the room or the "room is full"
// dialog, whose first button is pressed. The wait lets pending events run, as every
// other wait of the program does: the host must be able to answer, and on the stand-in
// host it answers only while events run.
TryResult TryRoom(Host& host, const Text& tried) {
  auto& ws = host.platform().windows;
  auto& loop = host.platform().loop;
  loop.pump();
  host.RunKeyword(Text(kPrivateRoomKeyword) + tried);
  const auto fullButton = [&] {
    return ws.firstChild(ws.findWindow(kDialogClass, "America Online"), kSystemButtonClass);
  };
  const auto joined = [&] {
    // The host shows the room's name in its own case and spacing.
    const Text room = RemoveSpaces(ToLower(host.GetText(host.FindChatRoom())));
    return !room.empty() && room == RemoveSpaces(ToLower(tried));
  };
  const bool answered = loop.waitUntil([&] { return fullButton() || joined(); }, kRoomTryLimitMs);
  // The dialog's button is looked up again (no events ran since the look that ended the
  // wait); without it, an answer was the room.
  if (const Window button = fullButton()) {
    ws.sendKey(button, msg::kVkSpace);
    loop.pause(kAfterTrySeconds);
    return TryResult::kFull;
  }
  return answered ? TryResult::kJoined : TryResult::kNoAnswer;
}

}  // namespace

void Host::RunKeyword(std::string_view keyword) {
  auto& ws = p_.windows;
  const Window frame = ws.findWindow(kFrameClass, std::nullopt);
  const Window bar = ws.firstChild(ws.firstChild(frame, kToolbarFrameClass), kToolbarClass);
  const Window box = ws.firstChild(ws.firstChild(bar, kComboBoxClass), kSystemEditClass);
  if (!box) return;
  ws.setText(box, "");
  ws.setText(box, keyword);
  ws.sendChar(box, ' ');
  ws.sendChar(box, 13);
}

void Host::RunKeywordWindow(std::string_view keyword) {
  auto& ws = p_.windows;
  RunMenuItem("Keyword...");
  const auto keywordWindow = [&] {
    const Window mdi = FindMdiClient();
    return mdi ? ws.findChild(mdi, Window{}, kChildClass, "Keyword") : Window{};
  };
  const Window open = p_.loop.waitForWindow(
      [&] {
        const Window w = keywordWindow();
        return ws.firstChild(w, kEditClass) && ws.firstChild(w, kIconClass) ? w : Window{};
      },
      kKeywordWindowLimitMs);
  if (!open) return;
  ws.setText(ws.firstChild(open, kEditClass), keyword);
  p_.loop.pump();
  // Found again: the window may have closed while events ran.
  ws.postClick(ws.firstChild(keywordWindow(), kIconClass));
}

void Host::EnterPrivateRoom(std::string_view room) {
  for (int n = 1; n <= kEntryTries; ++n) {
    const Text tried = Text(room) + TrySuffix(n);
    const TryResult result = TryRoom(*this, tried);
    if (result == TryResult::kJoined) {
      const ChatStyle s = style();
      SendChatLine(StatusPrefix(s, s.ascii1) + Text("> vantarý³ · enter'd . "_ansi) +
                   RemoveSpaces(ToLower(tried)));
      p_.loop.pause(kAfterTrySeconds);
      return;
    }
    if (result == TryResult::kNoAnswer) break;
  }
  const ChatStyle s = style();
  SendChatLineEx(StatusPrefix(s, s.ascii1) + Text(">vantarý³ · room run stop'ed."_ansi), false, false);
}

void Host::EnterPrivateRoomPersistent(std::string_view room) {
  // Only success is announced: a room still full after the last try, or a host that
  // does not answer, ends the entry without a word.
  for (int n = 1; n <= kPersistentTries; ++n) {
    const TryResult result = TryRoom(*this, Text(room) + TrySuffix(n));
    if (result == TryResult::kNoAnswer) return;
    if (result == TryResult::kJoined) {
      p_.loop.pause(kAfterTrySeconds);
      const ChatStyle s = style();
      SendChatLine(StatusPrefix(s, s.ascii1) + Text("> vantarý³ · enter'd . "_ansi) + ToLower(room) +
                   TrySuffix(n));
      return;
    }
  }
}

void Host::SignOff() {
  auto& ws = p_.windows;
  RunMenuItem("Sign Off");
  if (GetHostVersion() != kGeneration25) return;
  // Generation 2 asks first; its question is a modal whose first button says yes.
  const Window yes = p_.loop.waitForWindow(
      [&] { return ws.firstChild(ws.findWindow(kModalClass, std::nullopt), kButtonClass); },
      kSignOffQuestionLimitMs);
  if (yes) ws.postClick(yes);
}

}  // namespace vantary::host
