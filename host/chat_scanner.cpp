// The chat-scanning control: reads the room's transcript, tells the lines that are new
// from those seen before, and raises one event per new message.
#include "host/chat_scanner.h"

#include <algorithm>
#include <optional>
#include <utility>

#include "host/host_windows.h"
#include "text/text_ops.h"

namespace vantary::host {
namespace {

constexpr std::string_view kHead = ":\t";

// The room's transcript: the first "RICHCNTL" of a rich room, the "_AOL_View" of a plain
// one. A window with both is taken as a rich room, as the room finder takes it.
Window TranscriptOf(platform::WindowSystem& ws, Window room) {
  const bool rich = ws.firstChild(room, kRichTextClass) && ws.firstChild(room, kListBoxClass) &&
                    ws.firstChild(room, kComboBoxClass) && ws.firstChild(room, kIconClass) &&
                    ws.firstChild(room, kStaticClass);
  return ws.firstChild(room, rich ? kRichTextClass : kViewClass);
}

}  // namespace

std::vector<ChatLine> ParseChatLines(const std::vector<std::string_view>& lines) {
  std::vector<ChatLine> messages;
  bool open = false;  // the last message may take continuation lines
  for (std::string_view line : lines) {
    const std::size_t head = line.find(kHead);
    if (head != std::string_view::npos && head > 0) {
      messages.push_back(ChatLine{Text(line.substr(0, head)), Text(line.substr(head + kHead.size()))});
      open = true;
      continue;
    }
    if (!open || line.empty()) continue;
    Text& text = messages.back().text;
    if (!text.empty()) text += ' ';
    text += line;
  }
  return messages;
}

ChatScanner::ChatScanner(Host& host, ChatLineHandler onChatLine, std::size_t readLimit)
    : host_(host),
      onChatLine_(std::move(onChatLine)),
      readLimit_(readLimit),
      timer_(host.platform().loop, kChatPollMs, [this] { poll(); }) {}

ChatScanner::~ChatScanner() { *alive_ = false; }

void ChatScanner::start() {
  if (running()) return;
  timer_.setEnabled(true);
  // The first look takes what the room already shows as history, if it can read it.
  poll();
}

void ChatScanner::stop() { timer_.setEnabled(false); }

void ChatScanner::poll() {
  if (polling_) return;
  if (host_.platform().loop.nowMs() < resumeAtMs_) return;
  polling_ = true;
  // An event handler may destroy the scanner; the token outlives it.
  const std::shared_ptr<bool> alive = alive_;
  look();
  if (*alive) polling_ = false;
}

// Splits at CR LF, and at a lone CR or LF as well: the host joins its lines with CR LF,
// but a line break must never hide inside a line. Spans rather than views, so the lines
// stay valid when the transcript they came from is moved into place.
std::vector<ChatScanner::LineSpan> ChatScanner::SplitLines(std::string_view transcript) {
  std::vector<LineSpan> spans;
  for (const std::string_view line : text::SplitLines(transcript)) {
    spans.push_back(LineSpan{static_cast<std::size_t>(line.data() - transcript.data()), line.size()});
  }
  return spans;
}

// What a look has to do, found with the fewest questions to the host. Windows that come
// up go on top of the host's others, so while the top window is the one the last whole
// look saw, the room it found (or that there was none) still holds, and the transcript's
// length tells whether anything was said. Every kChatWholeLookEvery-th look reads the
// transcript all the same, for what a length cannot show.
ChatScanner::Need ChatScanner::need() {
  if (!settled_) return Need::kWhole;
  auto& ws = host_.platform().windows;
  const std::size_t every =
      std::max<std::size_t>(kChatWholeLookEvery, transcript_.size() / kChatWholeLookBytes);
  const bool due = ++looksSinceWhole_ >= every;
  if (mdi_ && ws.findChild(mdi_, Window{}, kChildClass) != top_) return Need::kWhole;
  if (!transcriptWindow_) return due ? Need::kWhole : Need::kNothing;
  if (due) return Need::kRead;
  const std::optional<platform::LResult> length = ws.wideTextLength(transcriptWindow_);
  if (!length) return Need::kWhole;
  if (*length == lengthBeforeRead_) {
    ++stats_.quick;
    return Need::kNothing;
  }
  return Need::kRead;
}

void ChatScanner::look() {
  auto& loop = host_.platform().loop;
  auto& ws = host_.platform().windows;
  ++stats_.looks;
  const std::uint64_t started = loop.nowMs();
  const auto unanswered = [&] {
    const std::uint64_t now = loop.nowMs();
    if (now - started < kChatSlowLookMs) return false;
    resumeAtMs_ = now + kChatUnansweredBackoffMs;
    return true;
  };

  const Need needed = need();
  if (unanswered() || needed == Need::kNothing) return;
  looksSinceWhole_ = 0;
  // Until a look ends with a whole read or with no room found, every look is a whole one.
  settled_ = false;
  if (needed == Need::kRead) {
    // The room the last whole look found: read from the control it found, unless the
    // room has a new caption (re-opened in the same window), which makes it a new room.
    const Text caption = host_.GetCaption(room_);
    if (unanswered()) return;
    if (caption == caption_) {
      const std::optional<platform::LResult> length = ws.wideTextLength(transcriptWindow_);
      std::optional<Text> read = ws.readText(transcriptWindow_, readLimit_);
      ++stats_.reads;
      if (unanswered() || !length || !read) return;
      lengthBeforeRead_ = *length;
      settled_ = true;
      take(room_, caption, std::move(*read));
      return;
    }
  }

  // A whole look: the room found afresh and its transcript read. The top window is taken
  // before the room is looked for, so one that comes up meanwhile makes the next look a
  // whole one.
  ++stats_.wholeLooks;
  transcriptWindow_ = Window{};
  mdi_ = host_.FindMdiClient();
  top_ = mdi_ ? ws.findChild(mdi_, Window{}, kChildClass) : Window{};
  const Window room = host_.FindChatRoom();
  if (unanswered()) return;
  if (!room) {
    settled_ = true;
    // The room may only be hidden (the user's buddy list lies on top of it): it is kept
    // while its window stands, so lines said meanwhile are raised when it comes back.
    if (room_ && !ws.exists(room_)) {
      room_ = Window{};
      transcript_.clear();
      lines_.clear();
    }
    return;
  }
  const Text caption = host_.GetCaption(room);
  // A read that is not whole (no answer, a transcript over the limit, or one the host
  // changed during every try) is no view of the room: neither history nor new lines.
  const Window transcriptWindow = TranscriptOf(ws, room);
  const std::optional<platform::LResult> length = ws.wideTextLength(transcriptWindow);
  std::optional<Text> read = ws.readText(transcriptWindow, readLimit_);
  ++stats_.reads;
  if (unanswered() || !length || !read) return;
  transcriptWindow_ = transcriptWindow;
  lengthBeforeRead_ = *length;
  settled_ = true;
  take(room, caption, std::move(*read));
}

// Raises the messages of `transcript`, a whole read of `room` under `caption`, that are
// new since the room was last read.
void ChatScanner::take(Window room, const Text& caption, Text transcript) {
  if (room != room_ || caption != caption_) {
    // A room seen for the first time: what it shows was said before the program looked.
    room_ = room;
    caption_ = caption;
    transcript_ = std::move(transcript);
    lines_ = SplitLines(transcript_);
    ++stats_.parses;
    return;
  }
  // Nothing new (the common case) costs one comparison. A room's transcript never empties
  // while the room stands (the host drops its oldest lines only to make room), so an empty
  // one is a control being rebuilt, never a reason to forget what was seen: taking it as
  // the transcript would replay the whole room once the lines are back.
  if (transcript.empty() || transcript == transcript_) return;
  ++stats_.parses;

  // The host appends lines at the end and drops the oldest, so the lines seen before
  // reappear, minus some at their head, at the head of the new transcript. The smallest
  // number of dropped lines that makes them match is taken: where the transcript is so
  // repetitive that it is ambiguous, fewer lines are taken as new, so no message is ever
  // raised twice. Lines without any match are all new (more came than the host keeps).
  const std::vector<LineSpan> lines = SplitLines(transcript);
  const auto oldLine = [&](std::size_t i) {
    return std::string_view(transcript_).substr(lines_[i].offset, lines_[i].length);
  };
  const auto newLine = [&](std::size_t i) {
    return std::string_view(transcript).substr(lines[i].offset, lines[i].length);
  };
  std::size_t firstNew = 0;
  for (std::size_t dropped = 0; dropped < lines_.size(); ++dropped) {
    const std::size_t kept = lines_.size() - dropped;
    if (kept > lines.size()) continue;
    bool same = true;
    for (std::size_t i = 0; i < kept && same; ++i) same = oldLine(dropped + i) == newLine(i);
    if (same) {
      firstNew = kept;
      break;
    }
  }
  std::vector<std::string_view> fresh;
  fresh.reserve(lines.size() - firstNew);
  for (std::size_t i = firstNew; i < lines.size(); ++i) fresh.push_back(newLine(i));
  // Continuation lines at the head of the new ones belong to a message raised before.
  std::vector<ChatLine> messages = ParseChatLines(fresh);

  // What was seen is stored before any event runs: a handler may pump and look again.
  transcript_ = std::move(transcript);
  lines_ = lines;
  const std::shared_ptr<bool> alive = alive_;
  const ChatLineHandler handler = onChatLine_;
  for (const ChatLine& message : messages) {
    if (!*alive) return;
    ++stats_.events;
    if (handler) handler(message.sender, message.text);
  }
}

}  // namespace vantary::host
