// Saying lines in the host's chat room without losing what the user had typed there, and
// reading the names of the people in the room out of the host's memory.
#include <algorithm>
#include <array>
#include <cstdint>
#include <memory>
#include <optional>

#include "host/host.h"
#include "host/host_windows.h"
#include "platform/messages.h"

namespace vantary::host {
namespace {

// Counts a line of the program's the host has not taken yet, for as long as it waits.
class Waiting {
 public:
  explicit Waiting(int& count) : count_(count) { ++count_; }
  ~Waiting() { --count_; }
  Waiting(const Waiting&) = delete;
  Waiting& operator=(const Waiting&) = delete;

 private:
  int& count_;
};

namespace msg = platform::msg;
using platform::LParam;
using platform::LResult;
using platform::WindowSystem;
using platform::WParam;
using text::ToLower;

// How long a send presses Enter before it gives the line up. The host empties its input
// box only when it has taken the line; a host that limits how fast a member may talk
// keeps the line for as long as the member is over the limit, which on a busy server is
// several seconds per line, and a burst of six status lines waits behind each other.
// Thirty seconds is well past any such wait and still short enough that a host that will
// never take the line does not hold the room's input box hostage. When the time is up the
// line is given up: the box gets the user's own text back.
constexpr std::uint32_t kEnterLimitMs = 30000;

// While the host keeps the line, Enter is pressed again after a pause that starts short
// and doubles up to a second: a host whose flood control lifts in a moment gets the line
// at once, and one that holds it for the whole send gets a few dozen presses rather than
// one every poll (a press and the look at the box after it are up to four messages into the
// host's process). The box only empties on a press, so nothing is asked of the host
// between presses.
constexpr std::uint32_t kEnterFirstPauseMs = 10;
constexpr std::uint32_t kEnterLongestPauseMs = 1000;

// How long putting the user's text back may wait for a host that does not answer, as
// one that hangs for a moment while it keeps the line does. The user's text is worth a
// short wait; a host hung for longer is beyond saving it.
constexpr std::uint32_t kPutBackLimitMs = 10000;

// The longest text read back from an input box; a reported length is not trusted further.
constexpr std::size_t kBoxTextLimit = 1 << 20;

// A room never holds more people than this; a bogus count from a damaged list does not
// make the member scan run for ever.
constexpr LResult kMemberRowsLimit = 1000;
// How long the member scan may take in all. Each row is one message into the host's
// process, which a healthy host answers in well under a millisecond (a thousand rows in a
// fraction of a second); a busy one may take up to kForeignSendLimitMs over each, and a
// full room read at that pace would hold the program for over half an hour. A member not
// reached by then counts as not found: the command that looked for them does nothing.
constexpr std::uint32_t kMemberScanLimitMs = 5000;

// Where the host keeps a member's name: the 32-bit address of the name block at this
// offset of the member record (the list row's item data), the name at this offset of the
// name block, in at most this many bytes, ended by a zero byte when shorter.
constexpr std::uint32_t kRecordNameBlockOffset = 24;
constexpr std::uint32_t kNameOffset = 6;
constexpr std::size_t kNameBytes = 16;

// The filler line of the "clear" command: gray Symbol-font 'ÿ' characters, as many as
// fit on a line of the room.
constexpr std::size_t kClearLineChars = 92;
// The longest line SendChatLineEx sends when asked to clip.
constexpr std::size_t kClipChars = 92;

// The box's text, telling a box that did not answer (gone, or its process hangs) from an
// empty one: "" from a box that did not answer would pass for a taken line, or wipe the
// user's text when put back.
std::optional<Text> ReadBox(WindowSystem& ws, Window box) { return ws.readText(box, kBoxTextLimit); }

// Presses Enter in `box` until `taken` says the host has taken the line, letting pending
// events run between presses (first press at once when `pressFirst`, before any event
// runs), pausing longer after each refused one (kEnterFirstPauseMs doubling up to
// kEnterLongestPauseMs). The box is kept by handle, not found again after a pump: another
// room's box found instead would hold the user's own unsent text, and Enter there would
// send it. Ends when the box is gone, or after kEnterLimitMs. True when the line was taken.
template <typename Taken>
bool PressEnterUntilTaken(Platform& p, Window box, bool pressFirst, Taken taken) {
  auto& ws = p.windows;
  const auto press = [&] { ws.sendChar(box, 13); };
  const auto over = [&] {
    const std::optional<bool> done = taken();
    if (done.has_value()) return *done;
    // No answer: a box that is gone ends the send; a host that hangs is waited out.
    return !ws.exists(box);
  };
  // A box that answered "taken" stands; one that ended the presses by going does not.
  if (pressFirst) {
    press();
    if (over()) return ws.exists(box);
  }
  const platform::Deadline limit(p.loop, kEnterLimitMs);
  std::uint32_t pause = kEnterFirstPauseMs;
  for (;;) {
    p.loop.pump();
    press();
    if (over()) return ws.exists(box);
    if (limit.passed() || p.loop.quitRequested()) return false;
    // Only the box going is watched meanwhile, which asks nothing of the host.
    p.loop.waitUntil([&] { return !ws.exists(box); }, limit.left(pause));
    pause = std::min(pause * 2, kEnterLongestPauseMs);
  }
}

// Puts the user's text back into the box, trying again a little while for a host that
// does not answer at once.
void PutBack(Platform& p, Window box, const Text& saved) {
  auto& ws = p.windows;
  bool put = ws.setText(box, saved);
  const auto over = [&] { return put || !ws.exists(box); };
  if (!over()) p.loop.repeatUntil([&] { put = ws.setText(box, saved); }, over, kPutBackLimitMs);
}

}  // namespace

Text CutChatLine(std::string_view line) {
  if (line.size() <= kChatLineLimit) return Text(line);
  std::string_view head = line.substr(0, kChatLineLimit);
  // A tag cut in two would swallow the rest of the room's line: it goes whole or not at all.
  const std::size_t open = head.rfind('<');
  if (open != std::string_view::npos && head.find('>', open) == std::string_view::npos)
    head = head.substr(0, open);
  return Text(head);
}

void Host::SendChatLine(std::string_view whole) {
  const Text line = CutChatLine(whole);
  auto& ws = p_.windows;
  const Window input = ws.nthChild(FindChatRoom(), kRichTextClass, 2);
  if (!input) return;
  // A box that does not answer is left alone: nothing could be put back into it.
  const std::optional<Text> saved = ReadBox(ws, input);
  if (!saved) return;
  // The box is emptied before the line goes in, unless it was empty: a text set over
  // another joins its formatting. Each set costs the host a redraw of the box.
  if (!saved->empty()) ws.setText(input, "");
  ws.setText(input, line);
  ownLines_.said(line, p_.loop.nowMs());
  const Waiting waiting(linesWaiting_);
  const bool taken = PressEnterUntilTaken(p_, input, false, [&]() -> std::optional<bool> {
    const std::optional<Text> now = ReadBox(ws, input);
    if (!now) return std::nullopt;
    return now->empty();
  });
  // A box the host emptied already holds what an empty box is put back as.
  if (!taken || !saved->empty()) PutBack(p_, input, *saved);
}

void Host::SendChatLineEx(std::string_view whole, bool addFont, bool clip) {
  const Text cut = CutChatLine(whole);
  std::string_view line = cut;
  auto& ws = p_.windows;
  const Window room = FindChatRoom();
  const Window rich1 = ws.firstChild(room, kRichTextClass);
  const Window rich2 = rich1 ? ws.findChild(room, rich1, kRichTextClass) : Window{};
  const Window edit = ws.firstChild(room, kEditClass);
  if (line.empty() || !room) return;
  if (clip && line.size() >= kClipChars) line = line.substr(0, kClipChars);

  Window input = edit;
  Text text(line);
  if (rich1 && rich2) {
    input = rich2;
    if (addFont) text = "</b></i></u><font face=arial>" + text;
  }
  if (!input) return;
  const std::optional<Text> saved = ReadBox(ws, input);
  if (!saved) return;
  if (input == rich2 && !saved->empty()) ws.setText(input, "");
  ws.setText(input, text);
  ownLines_.said(text, p_.loop.nowMs());
  const Waiting waiting(linesWaiting_);
  PressEnterUntilTaken(p_, input, false, [&]() -> std::optional<bool> {
    const std::optional<LResult> length = ws.textLength(input);
    if (!length) return std::nullopt;
    return *length == 0;
  });
  if (!saved->empty()) PutBack(p_, input, *saved);
}

void Host::SendPlainChatLine(std::string_view whole) {
  const Text line = CutChatLine(whole);
  if (line.empty()) return;
  auto& ws = p_.windows;
  const Window input = ws.firstChild(FindPlainChatRoom(), kEditClass);
  if (!input) return;
  const std::optional<Text> saved = ReadBox(ws, input);
  if (!saved) return;
  ws.setText(input, line);
  ownLines_.said(line, p_.loop.nowMs());
  const Waiting waiting(linesWaiting_);
  // The plain room's box is pressed once before any event runs.
  PressEnterUntilTaken(p_, input, true, [&]() -> std::optional<bool> {
    const std::optional<Text> now = ReadBox(ws, input);
    if (!now) return std::nullopt;
    return now->empty();
  });
  if (!saved->empty()) PutBack(p_, input, *saved);
}

void Host::SendClearLine() {
  Text line = "</b></u><font color=\"#C0C0C0\"><font face=\"Symbol\">";
  line.append(kClearLineChars, static_cast<char>(0xFF));
  SendChatLine(line);
}

std::optional<RoomMember> Host::FindRoomMember(std::string_view lookFor) {
  auto& ws = p_.windows;
  const Window list = ws.firstChild(FindRichChatRoom(), kListBoxClass);
  if (!list) return std::nullopt;
  // Opened once for the whole scan, closed on every way out.
  const std::unique_ptr<platform::ProcessReader> host = ws.openProcess(ws.processOf(list));
  if (!host) return std::nullopt;
  const std::optional<LResult> count = ws.listCount(list);
  if (!count) return std::nullopt;
  const Text own = GetScreenName();
  const Text wanted = ToLower(lookFor);
  const auto rows = static_cast<int>(std::min(*count, kMemberRowsLimit));
  const platform::Deadline overall(p_.loop, kMemberScanLimitMs);
  for (int row = 0; row < rows; ++row) {
    if (overall.passed()) return std::nullopt;
    const std::optional<LResult> data = ws.listItemData(list, row);
    // The list went away or its host hangs: the rows after it cannot be read either.
    if (!data) return std::nullopt;
    // A failed read leaves the name empty, and an empty name never matches.
    Text name;
    std::array<std::uint8_t, 4> pointer{};
    const std::uint64_t recordField =
        static_cast<std::uint64_t>(static_cast<std::uint32_t>(*data)) + kRecordNameBlockOffset;
    if (*data != msg::kLbErr && recordField <= UINT32_MAX &&
        host->read(static_cast<std::uint32_t>(recordField), pointer)) {
      const std::uint32_t block =
          static_cast<std::uint32_t>(pointer[0]) | (static_cast<std::uint32_t>(pointer[1]) << 8) |
          (static_cast<std::uint32_t>(pointer[2]) << 16) | (static_cast<std::uint32_t>(pointer[3]) << 24);
      const std::uint64_t nameField = std::uint64_t{block} + kNameOffset;
      std::array<std::uint8_t, kNameBytes> bytes{};
      // A name of all 16 bytes has no zero byte after it: it is those 16 bytes.
      if (nameField <= UINT32_MAX && host->read(static_cast<std::uint32_t>(nameField), bytes)) {
        const auto end = std::find(bytes.begin(), bytes.end(), std::uint8_t{0});
        name.assign(bytes.begin(), end);
      }
    }
    if (name.empty() || name == own) continue;
    if (ToLower(name).find(wanted) != Text::npos) return RoomMember{row, name};
  }
  return std::nullopt;
}

}  // namespace vantary::host
