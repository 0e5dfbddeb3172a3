// The host's command language: parsing a line, running it on the host, and the demo's
// chatter.
#include "hostsim/script.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <ostream>

#include "text/ansi.h"
#include "text/text_ops.h"

namespace vantary::hostsim {
namespace {

// What members say when they chatter: everyday room talk, a little of it with the
// markup the host strips.
constexpr std::array<std::string_view, 24> kChatterLines = {
    "hi all",
    "anyone here from the coast?",
    "brb, coffee",
    "lol",
    "<b>good morning</b> room!",
    "wb",
    "how is everybody today?",
    "it is raining again here",
    "did anyone see the game last night?",
    "<i>waves</i>",
    "afk a sec",
    "that is so true",
    "who wants to play trivia later?",
    "my modem keeps dropping :(",
    "back",
    "<font color=#336699>hello hello</font>",
    "what's everyone having for dinner?",
    "haha",
    "just got a new computer",
    "quiet in here tonight",
    "ok gotta go soon",
    "thanks!",
    "anyone know a good recipe for chili?",
    "<u>room</u> is lively today",
};

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view TrimLeft(std::string_view s) {
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  return s;
}

std::string_view Trim(std::string_view s) {
  s = TrimLeft(s);
  while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
  return s;
}

// The first word and what follows it, blanks between them skipped.
std::pair<std::string_view, std::string_view> SplitWord(std::string_view s) {
  s = TrimLeft(s);
  std::size_t end = 0;
  while (end < s.size() && !IsBlank(s[end])) ++end;
  return {s.substr(0, end), TrimLeft(s.substr(end))};
}

// A whole decimal number without sign, at most `max`.
std::optional<std::uint64_t> ParseNumber(std::string_view s, std::uint64_t max) {
  if (s.empty() || s.size() > 20) return std::nullopt;
  std::uint64_t value = 0;
  for (char c : s) {
    if (c < '0' || c > '9') return std::nullopt;
    const auto digit = static_cast<std::uint64_t>(c - '0');
    if (value > (max - digit) / 10) return std::nullopt;
    value = value * 10 + digit;
  }
  return value;
}

Text SameName(std::string_view name) { return text::ToLower(text::RemoveSpaces(name)); }

// The lines of a transcript control's text. The host joins lines with CR LF and never
// writes another line break; one that is there anyway is shown escaped.
std::vector<Text> TranscriptLines(const Text& transcript) {
  std::vector<Text> lines;
  if (transcript.empty()) return lines;
  std::size_t start = 0;
  for (;;) {
    const std::size_t end = transcript.find("\r\n", start);
    Text line = transcript.substr(start, end == Text::npos ? Text::npos : end - start);
    if (line.find_first_of("\r\n") != Text::npos) {
      line = text::ReplaceText(text::ReplaceText(line, "\r", "\\r"), "\n", "\\n");
    }
    lines.push_back(std::move(line));
    if (end == Text::npos) break;
    start = end + 2;
  }
  return lines;
}

std::optional<bool> ParseSwitch(std::string_view s) {
  if (text::EqualsNoCase(s, "on")) return true;
  if (text::EqualsNoCase(s, "off")) return false;
  return std::nullopt;
}

const char* KindName(TransferKind kind) { return kind == TransferKind::kDownload ? "download" : "upload"; }

ScriptResult Fail(Text message) {
  ScriptResult r;
  r.error = std::move(message);
  return r;
}

ScriptResult Done() { return ScriptResult{}; }

ScriptResult Answer(std::vector<Text> lines) {
  ScriptResult r;
  r.answer = std::move(lines);
  return r;
}

const char* YesNo(bool b) { return b ? "yes" : "no"; }
const char* OnOff(bool b) { return b ? "on" : "off"; }

}  // namespace

std::optional<Generation> ParseGeneration(std::string_view s) {
  if (s == "5") return Generation::k5;
  if (s == "4") return Generation::k4;
  if (s == "95") return Generation::k3;
  if (s == "25") return Generation::k2;
  return std::nullopt;
}

std::optional<RoomLayout> ParseLayout(std::string_view s) {
  if (text::EqualsNoCase(s, "rich")) return RoomLayout::kRich;
  if (text::EqualsNoCase(s, "plain")) return RoomLayout::kPlain;
  return std::nullopt;
}

std::optional<Text> DecodeEscapes(std::string_view s) {
  Text out;
  out.reserve(s.size());
  for (std::size_t i = 0; i < s.size(); ++i) {
    if (s[i] != '\\') {
      out.push_back(s[i]);
      continue;
    }
    if (++i == s.size()) return std::nullopt;
    switch (s[i]) {
      case 't':
        out.push_back('\t');
        break;
      case 'r':
        out.push_back('\r');
        break;
      case 'n':
        out.push_back('\n');
        break;
      case '\\':
        out.push_back('\\');
        break;
      default:
        return std::nullopt;
    }
  }
  return out;
}

Text EncodeEscapes(std::string_view s) {
  Text out;
  out.reserve(s.size());
  for (char c : s) {
    switch (c) {
      case '\t':
        out += "\\t";
        break;
      case '\r':
        out += "\\r";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\\':
        out += "\\\\";
        break;
      default:
        out.push_back(c);
    }
  }
  return out;
}

HostScript::HostScript(HostSim& host, platform::Platform& platform)
    : host_(host),
      platform_(platform),
      chatter_(platform.loop, kDefaultChatterMs, [this] { chatterTick(); }) {}

HostScript::~HostScript() = default;

ScriptResult HostScript::run(std::string_view line) {
  const bool utf8 = utf8_;
  ScriptResult result;
  try {
    result = utf8 ? execute(text::FromUtf8(line)) : execute(line);
  } catch (...) {
    // A command the host could not carry out (out of memory, say) is this line's failure,
    // never the end of the program that runs the script.
    result = Fail("the host could not run this line");
  }
  if (utf8) {
    for (Text& l : result.answer) l = text::ToUtf8(l);
    if (result.error) result.error = text::ToUtf8(*result.error);
  }
  return result;
}

int HostScript::runAll(std::string_view script, std::ostream& answers, std::ostream& errors) {
  int failed = 0;
  int number = 0;
  std::size_t start = 0;
  while (start < script.size() && !quit_) {
    std::size_t end = script.find('\n', start);
    if (end == std::string_view::npos) end = script.size();
    std::string_view line = script.substr(start, end - start);
    start = end + 1;
    ++number;
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    const ScriptResult r = run(line);
    for (const Text& a : r.answer) answers << a << '\n';
    if (r.error) {
      ++failed;
      errors << "line " << number << ": " << *r.error << '\n';
    }
  }
  answers.flush();
  errors.flush();
  return failed;
}

ScriptResult HostScript::execute(std::string_view rawLine) {
  std::string_view line = rawLine;
  if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
  const auto split = SplitWord(line);
  const std::string_view command = split.first;
  const std::string_view args = split.second;
  if (command.empty() || command.front() == '#') return Done();
  const Text cmd = text::ToLower(command);

  // The texts of a command: the rest of the line with its escapes decoded.
  const std::optional<Text> decoded = DecodeEscapes(args);
  if (!decoded) return Fail("a backslash must start \\t, \\r, \\n or \\\\");
  const Text& rest = *decoded;
  const Text name(Trim(rest));
  const auto noArgs = [&]() -> std::optional<ScriptResult> {
    if (!args.empty()) return Fail(cmd + " takes no arguments");
    return std::nullopt;
  };
  const Window room = host_.currentRoom();
  const auto needRoom = [&]() -> std::optional<ScriptResult> {
    if (!room) return Fail("no room is open");
    return std::nullopt;
  };
  constexpr std::uint64_t kMaxU32 = std::numeric_limits<std::uint32_t>::max();

  if (cmd == "encoding") {
    if (text::EqualsNoCase(args, "ansi")) {
      utf8_ = false;
    } else if (text::EqualsNoCase(args, "utf8") || text::EqualsNoCase(args, "utf-8")) {
      utf8_ = true;
    } else {
      return Fail("encoding ansi|utf8");
    }
    return Done();
  }
  if (cmd == "sign-on") {
    if (name.empty()) return Fail("sign-on NAME: a screen name is needed");
    host_.signOn(name);
    return Done();
  }
  if (cmd == "sign-off") {
    if (auto e = noArgs()) return *e;
    host_.signOff();
    return Done();
  }
  if (cmd == "generation") {
    const std::optional<Generation> g = ParseGeneration(args);
    if (!g) return Fail("generation 5|4|95|25");
    host_.setGeneration(*g);
    return Done();
  }
  if (cmd == "open-room") {
    const auto [layoutWord, roomWords] = SplitWord(rest);
    const std::optional<RoomLayout> layout = ParseLayout(layoutWord);
    const Text roomName(Trim(roomWords));
    if (!layout || roomName.empty()) return Fail("open-room rich|plain NAME");
    if (!host_.openRoom(roomName, *layout)) return Fail("the room could not be opened");
    return Done();
  }
  if (cmd == "close-room") {
    if (auto e = noArgs()) return *e;
    if (auto e = needRoom()) return *e;
    host_.closeRoom(room);
    return Done();
  }
  if (cmd == "private-rooms") {
    const std::optional<RoomLayout> layout = ParseLayout(args);
    if (!layout) return Fail("private-rooms rich|plain");
    host_.setPrivateRoomLayout(*layout);
    return Done();
  }
  if (cmd == "join" || cmd == "leave") {
    if (name.empty()) return Fail(cmd + " NAME: a member's name is needed");
    if (auto e = needRoom()) return *e;
    if (cmd == "join") {
      host_.join(room, name);
    } else {
      host_.leave(room, name);
    }
    return Done();
  }
  if (cmd == "say") {
    // The name ends at the first colon; one blank after it separates the text.
    const std::size_t colon = rest.find(':');
    if (colon == Text::npos) return Fail("say NAME: TEXT");
    const Text sender(Trim(std::string_view(rest).substr(0, colon)));
    std::string_view said = std::string_view(rest).substr(colon + 1);
    if (!said.empty() && said.front() == ' ') said.remove_prefix(1);
    if (sender.empty()) return Fail("say NAME: TEXT: a sender is needed");
    if (auto e = needRoom()) return *e;
    host_.say(room, sender, Text(said));
    return Done();
  }
  if (cmd == "room-full" || cmd == "room-not-full") {
    if (name.empty()) return Fail(cmd + " NAME: a room name is needed");
    host_.setRoomFull(name, cmd == "room-full");
    return Done();
  }
  if (cmd == "rate-limit") {
    const auto [linesWord, perWord] = SplitWord(args);
    const std::optional<std::uint64_t> lines = ParseNumber(linesWord, std::numeric_limits<int>::max());
    const std::optional<std::uint64_t> per =
        perWord.empty() && lines == 0u ? std::optional<std::uint64_t>(0) : ParseNumber(perWord, kMaxU32);
    if (!lines || !per || (*lines > 0 && *per == 0)) return Fail("rate-limit LINES PER_MS");
    host_.setChatRateLimit(static_cast<int>(*lines), static_cast<std::uint32_t>(*per));
    return Done();
  }
  if (cmd == "transcript-limit") {
    const std::optional<std::uint64_t> lines = ParseNumber(args, 1000000);
    if (!lines) return Fail("transcript-limit LINES (0 to 1000000)");
    host_.setTranscriptLimit(static_cast<std::size_t>(*lines));
    return Done();
  }
  if (cmd == "start-transfer") {
    const auto [kindWord, afterKind] = SplitWord(rest);
    const auto [msWord, fileRest] = SplitWord(afterKind);
    std::optional<TransferKind> kind;
    if (text::EqualsNoCase(kindWord, "download")) kind = TransferKind::kDownload;
    if (text::EqualsNoCase(kindWord, "upload")) kind = TransferKind::kUpload;
    const std::optional<std::uint64_t> ms = ParseNumber(msWord, kMaxU32);
    const Text file(Trim(fileRest));
    if (!kind || !ms || file.empty()) return Fail("start-transfer download|upload MS FILE");
    const int id = host_.startTransfer(*kind, file, static_cast<std::uint32_t>(*ms));
    if (id == 0) return Fail("transfers need a signed-on host");
    transfers_[id] = TransferInfo{*kind, file};
    return Answer({"transfer " + std::to_string(id)});
  }
  if (cmd == "finish-transfer") {
    const std::optional<std::uint64_t> id = ParseNumber(args, std::numeric_limits<int>::max());
    if (!id) return Fail("finish-transfer ID");
    if (!host_.transferRunning(static_cast<int>(*id)))
      return Fail("transfer " + std::to_string(*id) + " is not running");
    host_.finishTransfer(static_cast<int>(*id));
    return Done();
  }
  if (cmd == "browser-dialog") {
    if (name.empty()) return Fail("browser-dialog CAPTION");
    if (!host_.openBrowserDownload(rest)) return Fail("the browser dialog could not be opened");
    return Done();
  }
  if (cmd == "close-browser-dialog") {
    if (auto e = noArgs()) return *e;
    host_.closeBrowserDownload();
    return Done();
  }
  if (cmd == "raise-idle") {
    if (auto e = noArgs()) return *e;
    if (!host_.signedOn()) return Fail("the idle windows need a signed-on host");
    host_.raiseIdleWindows();
    return Done();
  }
  if (cmd == "idle-limits") {
    const auto [afterWord, standWord] = SplitWord(args);
    const std::optional<std::uint64_t> after = ParseNumber(afterWord, kMaxU32);
    const std::optional<std::uint64_t> stand = ParseNumber(standWord, kMaxU32);
    if (!after || !stand) return Fail("idle-limits IDLE_AFTER_MS STAND_MS");
    host_.setIdleLimits(static_cast<std::uint32_t>(*after), static_cast<std::uint32_t>(*stand));
    return Done();
  }
  if (cmd == "im-dialog") {
    const std::optional<bool> on = ParseSwitch(args);
    if (!on) return Fail("im-dialog on|off");
    host_.setAnswerInstantMessagesWithDialog(*on);
    return Done();
  }
  if (cmd == "chatter") {
    const auto [switchWord, msWord] = SplitWord(args);
    const std::optional<bool> on = ParseSwitch(switchWord);
    std::optional<std::uint64_t> every = std::uint64_t{kDefaultChatterMs};
    if (!msWord.empty()) every = ParseNumber(msWord, kMaxU32 / 2);
    if (!on || !every || *every == 0 || (!*on && !msWord.empty()))
      return Fail("chatter on [MS] | chatter off");
    setChatter(*on, static_cast<std::uint32_t>(*every));
    return Done();
  }
  if (cmd == "wait") {
    const std::optional<std::uint64_t> ms = ParseNumber(args, kLongestWaitMs);
    if (!ms) return Fail("wait MS (at most " + std::to_string(kLongestWaitMs) + ")");
    platform_.loop.pause(static_cast<double>(*ms) / 1000.0);
    return Done();
  }
  if (cmd == "quit") {
    if (auto e = noArgs()) return *e;
    quit_ = true;
    return Done();
  }

  // ---- queries ----
  if (cmd == "transcript") {
    if (auto e = noArgs()) return *e;
    if (auto e = needRoom()) return *e;
    return Answer(TranscriptLines(host_.transcript(room)));
  }
  if (cmd == "transcript-since") {
    const std::optional<std::uint64_t> after = ParseNumber(args, std::numeric_limits<std::uint64_t>::max());
    if (!after) return Fail("transcript-since N");
    if (auto e = needRoom()) return *e;
    const std::vector<Text> lines = TranscriptLines(host_.transcript(room));
    const std::uint64_t newest = host_.transcriptLineCount(room);
    // The newest line is number `newest`; the lines before it count down from there.
    const std::uint64_t first = newest >= lines.size() ? newest - lines.size() + 1 : 1;
    std::vector<Text> answer = {"room " + EncodeEscapes(host_.roomName(room))};
    for (std::size_t i = 0; i < lines.size(); ++i) {
      const std::uint64_t number = first + i;
      if (number > *after) answer.push_back(std::to_string(number) + " " + lines[i]);
    }
    return Answer(std::move(answer));
  }
  if (cmd == "members") {
    if (auto e = noArgs()) return *e;
    if (auto e = needRoom()) return *e;
    std::vector<Text> answer;
    for (const Text& m : host_.members(room)) answer.push_back(EncodeEscapes(m));
    return Answer(std::move(answer));
  }
  if (cmd == "state") {
    if (auto e = noArgs()) return *e;
    return Answer(state());
  }
  return Fail("unknown command \"" + EncodeEscapes(command) + "\"");
}

std::vector<Text> HostScript::state() const {
  const Window room = host_.currentRoom();
  std::vector<Text> lines = {
      Text("signed-on ") + YesNo(host_.signedOn()),
      "screen-name " + EncodeEscapes(host_.screenName()),
      "generation " + GenerationText(host_.generation()),
      "room " + (room ? EncodeEscapes(host_.roomName(room)) : Text()),
      Text("instant-messages ") + OnOff(host_.instantMessagesOn()),
      Text("ghost ") + OnOff(host_.ghost()),
      "sign-offs " + std::to_string(host_.signOffCount()),
      Text("idle-windows ") + YesNo(host_.idleWindowsShown()),
      "about-boxes " + std::to_string(host_.aboutBoxesShown()),
      "chat-lines-refused " + std::to_string(host_.chatLinesRefused()),
  };
  for (const Text& m : host_.ignoredMembers()) lines.push_back("ignored " + EncodeEscapes(m));
  for (const Text& k : host_.keywordsRun()) lines.push_back("keyword " + EncodeEscapes(k));
  for (const ShownDialog& d : host_.dialogsShown()) lines.push_back("dialog " + EncodeEscapes(d.message));
  for (const auto& [id, t] : transfers_) {
    Text line = "transfer " + std::to_string(id) + " " + KindName(t.kind) + " " + EncodeEscapes(t.file) + " ";
    line += host_.transferRunning(id) ? std::to_string(host_.transferPercent(id)) + "%" : Text("finished");
    lines.push_back(std::move(line));
  }
  return lines;
}

void HostScript::setChatter(bool on, std::uint32_t everyMs) {
  chatterEveryMs_ = std::max<std::uint32_t>(everyMs, 1);
  chatter_.setEnabled(false);
  if (!on) return;
  chatter_.setInterval(chatterEveryMs_);
  chatter_.setEnabled(true);
}

void HostScript::chatterTick() {
  // The next line comes after a random stretch, so the room does not talk like a clock.
  const double spread = 0.5 + platform_.random.nextFraction();
  chatter_.setInterval(std::max<std::uint32_t>(
      static_cast<std::uint32_t>(std::lround(static_cast<double>(chatterEveryMs_) * spread)), 1));

  const Window room = host_.currentRoom();
  if (!room) return;
  const Text user = SameName(host_.screenName());
  std::vector<Text> talkers;
  for (const Text& m : host_.members(room)) {
    if (SameName(m) != user) talkers.push_back(m);
  }
  if (talkers.empty()) return;
  const auto pick = [this](std::size_t count) {
    const auto i = static_cast<std::size_t>(platform_.random.nextFraction() * static_cast<double>(count));
    return std::min(i, count - 1);
  };
  const Text& who = talkers[pick(talkers.size())];
  // Lines follow the list's order from a random start, so one member seldom repeats.
  chatterLine_ = (chatterLine_ + 1 + pick(kChatterLines.size() - 1)) % kChatterLines.size();
  host_.say(room, who, Text(kChatterLines[chatterLine_]));
}

}  // namespace vantary::hostsim
