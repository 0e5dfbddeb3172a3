// The host's command language: parsing a line, running it on the host, and the demo's
// chatter.
#include "hostsim/script.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <ostream>
#include <span>

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

constexpr std::uint64_t kMaxU32 = std::numeric_limits<std::uint32_t>::max();

// The first word and what follows it, blanks between them skipped.
std::pair<std::string_view, std::string_view> SplitWord(std::string_view s) {
  s = text::TrimLeft(s);
  const std::size_t end = std::min(s.find_first_of(text::kBlanks), s.size());
  return {s.substr(0, end), text::TrimLeft(s.substr(end))};
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
  if (transcript.empty()) return lines;  // an empty control holds no line
  for (std::string_view l :
       text::SplitLines(transcript, text::LineBreak::kCrLf, text::FinalBreak::kStartsLine)) {
    Text line(l);
    if (line.find_first_of("\r\n") != Text::npos) {
      line = text::ReplaceText(text::ReplaceText(line, "\r", "\\r"), "\n", "\\n");
    }
    lines.push_back(std::move(line));
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

// Records the exception being handled as the host's fault, naming the line that ran into it.
void NoteLineFault(HostSim& host, std::string_view line) noexcept {
  try {
    host.noteFault("script line \"" + EncodeEscapes(line) + "\"");
  } catch (...) {
    host.noteFault("a script line");
  }
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
    : host_(host), platform_(platform), chatter_(platform.loop, kDefaultChatterMs, [this] {
        try {
          chatterTick();
        } catch (...) {
          host_.noteFault("chatter");
        }
      }) {}

HostScript::~HostScript() = default;

ScriptResult HostScript::run(std::string_view line) {
  const bool utf8 = utf8_;
  ScriptResult result;
  try {
    result = utf8 ? execute(text::FromUtf8(line)) : execute(line);
  } catch (...) {
    // Commands fail by their results; an exception is a fault of the host's own code (or
    // memory running out). The host records it, and the line fails without ending the
    // program that runs the script.
    NoteLineFault(host_, line);
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
  text::LineReader lines(script, text::LineBreak::kLf, text::FinalBreak::kEndsLine);
  while (!quit_) {
    const std::optional<std::string_view> line = lines.next();
    if (!line) break;
    ++number;
    const ScriptResult r = run(*line);
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

// One command line as its handler sees it, with the failures every command may give.
struct HostScript::Line {
  std::string_view name;   // the command's name, as the table has it
  std::string_view usage;  // how the command is written, as its failures quote it
  std::string_view args;   // the rest of the line as written, blanks before it skipped
  const Text& rest;        // the same with its escapes decoded: the command's texts
  Text text;               // `rest` without blanks around it: a name, a caption
  Window room;             // the current room, 0 when none is open

  // The usage, or the usage and why the line does not fit it.
  ScriptResult wrong(std::string_view why = {}) const { return Fail(Text(usage) + Text(why)); }
  std::optional<ScriptResult> unwantedArguments() const {
    if (!args.empty()) return Fail(Text(name) + " takes no arguments");
    return std::nullopt;
  }
  std::optional<ScriptResult> noRoom() const {
    if (!room) return Fail("no room is open");
    return std::nullopt;
  }
};

struct HostScript::Command {
  std::string_view name;
  std::string_view usage;
  ScriptResult (*run)(HostScript& script, const Line& line);
};

// The commands in the order the README's table lists them. A handler's failures that are
// the line's own fault are results, never exceptions.
std::span<const HostScript::Command> HostScript::Commands() {
  static const Command kCommands[] = {
      {"encoding", "encoding ansi|utf8",
       [](HostScript& s, const Line& l) {
         if (text::EqualsNoCase(l.args, "ansi")) {
           s.utf8_ = false;
         } else if (text::EqualsNoCase(l.args, "utf8") || text::EqualsNoCase(l.args, "utf-8")) {
           s.utf8_ = true;
         } else {
           return l.wrong();
         }
         return Done();
       }},
      {"sign-on", "sign-on NAME",
       [](HostScript& s, const Line& l) {
         if (l.text.empty()) return l.wrong(": a screen name is needed");
         s.host_.signOn(l.text);
         return Done();
       }},
      {"sign-off", "sign-off",
       [](HostScript& s, const Line& l) {
         if (auto e = l.unwantedArguments()) return *e;
         s.host_.signOff();
         return Done();
       }},
      {"generation", "generation 5|4|95|25",
       [](HostScript& s, const Line& l) {
         const std::optional<Generation> g = ParseGeneration(l.args);
         if (!g) return l.wrong();
         s.host_.setGeneration(*g);
         return Done();
       }},
      {"open-room", "open-room rich|plain NAME",
       [](HostScript& s, const Line& l) {
         const auto [layoutWord, roomWords] = SplitWord(l.rest);
         const std::optional<RoomLayout> layout = ParseLayout(layoutWord);
         const Text roomName(text::Trim(roomWords));
         if (!layout || roomName.empty()) return l.wrong();
         if (!s.host_.openRoom(roomName, *layout)) return Fail("the room could not be opened");
         return Done();
       }},
      {"close-room", "close-room",
       [](HostScript& s, const Line& l) {
         if (auto e = l.unwantedArguments()) return *e;
         if (auto e = l.noRoom()) return *e;
         s.host_.closeRoom(l.room);
         return Done();
       }},
      {"private-rooms", "private-rooms rich|plain",
       [](HostScript& s, const Line& l) {
         const std::optional<RoomLayout> layout = ParseLayout(l.args);
         if (!layout) return l.wrong();
         s.host_.setPrivateRoomLayout(*layout);
         return Done();
       }},
      {"join", "join NAME",
       [](HostScript& s, const Line& l) {
         if (l.text.empty()) return l.wrong(": a member's name is needed");
         if (auto e = l.noRoom()) return *e;
         s.host_.join(l.room, l.text);
         return Done();
       }},
      {"leave", "leave NAME",
       [](HostScript& s, const Line& l) {
         if (l.text.empty()) return l.wrong(": a member's name is needed");
         if (auto e = l.noRoom()) return *e;
         s.host_.leave(l.room, l.text);
         return Done();
       }},
      {"say", "say NAME: TEXT",
       [](HostScript& s, const Line& l) {
         // The name ends at the first colon; one blank after it separates the text.
         const std::size_t colon = l.rest.find(':');
         if (colon == Text::npos) return l.wrong();
         const Text sender(text::Trim(std::string_view(l.rest).substr(0, colon)));
         std::string_view said = std::string_view(l.rest).substr(colon + 1);
         if (!said.empty() && said.front() == ' ') said.remove_prefix(1);
         if (sender.empty()) return l.wrong(": a sender is needed");
         if (auto e = l.noRoom()) return *e;
         s.host_.say(l.room, sender, Text(said));
         return Done();
       }},
      {"room-full", "room-full NAME",
       [](HostScript& s, const Line& l) {
         if (l.text.empty()) return l.wrong(": a room name is needed");
         s.host_.setRoomFull(l.text, true);
         return Done();
       }},
      {"room-not-full", "room-not-full NAME",
       [](HostScript& s, const Line& l) {
         if (l.text.empty()) return l.wrong(": a room name is needed");
         s.host_.setRoomFull(l.text, false);
         return Done();
       }},
      {"rate-limit", "rate-limit LINES PER_MS",
       [](HostScript& s, const Line& l) {
         const auto [linesWord, perWord] = SplitWord(l.args);
         const std::optional<std::uint64_t> lines = ParseNumber(linesWord, std::numeric_limits<int>::max());
         const std::optional<std::uint64_t> per =
             perWord.empty() && lines == 0u ? std::optional<std::uint64_t>(0) : ParseNumber(perWord, kMaxU32);
         if (!lines || !per || (*lines > 0 && *per == 0)) return l.wrong();
         s.host_.setChatRateLimit(static_cast<int>(*lines), static_cast<std::uint32_t>(*per));
         return Done();
       }},
      {"transcript-limit", "transcript-limit LINES",
       [](HostScript& s, const Line& l) {
         const std::optional<std::uint64_t> lines = ParseNumber(l.args, 1000000);
         if (!lines) return l.wrong(" (0 to 1000000)");
         s.host_.setTranscriptLimit(static_cast<std::size_t>(*lines));
         return Done();
       }},
      {"start-transfer", "start-transfer download|upload MS FILE",
       [](HostScript& s, const Line& l) {
         const auto [kindWord, afterKind] = SplitWord(l.rest);
         const auto [msWord, fileRest] = SplitWord(afterKind);
         std::optional<TransferKind> kind;
         if (text::EqualsNoCase(kindWord, "download")) kind = TransferKind::kDownload;
         if (text::EqualsNoCase(kindWord, "upload")) kind = TransferKind::kUpload;
         const std::optional<std::uint64_t> ms = ParseNumber(msWord, kMaxU32);
         const Text file(text::Trim(fileRest));
         if (!kind || !ms || file.empty()) return l.wrong();
         const int id = s.host_.startTransfer(*kind, file, static_cast<std::uint32_t>(*ms));
         if (id == 0) return Fail("transfers need a signed-on host");
         s.transfers_[id] = TransferInfo{*kind, file};
         return Answer({"transfer " + std::to_string(id)});
       }},
      {"finish-transfer", "finish-transfer ID",
       [](HostScript& s, const Line& l) {
         const std::optional<std::uint64_t> id = ParseNumber(l.args, std::numeric_limits<int>::max());
         if (!id) return l.wrong();
         if (!s.host_.transferRunning(static_cast<int>(*id)))
           return Fail("transfer " + std::to_string(*id) + " is not running");
         s.host_.finishTransfer(static_cast<int>(*id));
         return Done();
       }},
      {"browser-dialog", "browser-dialog CAPTION",
       [](HostScript& s, const Line& l) {
         if (l.text.empty()) return l.wrong();
         if (!s.host_.openBrowserDownload(l.rest)) return Fail("the browser dialog could not be opened");
         return Done();
       }},
      {"close-browser-dialog", "close-browser-dialog",
       [](HostScript& s, const Line& l) {
         if (auto e = l.unwantedArguments()) return *e;
         s.host_.closeBrowserDownload();
         return Done();
       }},
      {"raise-idle", "raise-idle",
       [](HostScript& s, const Line& l) {
         if (auto e = l.unwantedArguments()) return *e;
         if (!s.host_.signedOn()) return Fail("the idle windows need a signed-on host");
         s.host_.raiseIdleWindows();
         return Done();
       }},
      {"idle-limits", "idle-limits IDLE_AFTER_MS STAND_MS",
       [](HostScript& s, const Line& l) {
         const auto [afterWord, standWord] = SplitWord(l.args);
         const std::optional<std::uint64_t> after = ParseNumber(afterWord, kMaxU32);
         const std::optional<std::uint64_t> stand = ParseNumber(standWord, kMaxU32);
         if (!after || !stand) return l.wrong();
         s.host_.setIdleLimits(static_cast<std::uint32_t>(*after), static_cast<std::uint32_t>(*stand));
         return Done();
       }},
      {"im-dialog", "im-dialog on|off",
       [](HostScript& s, const Line& l) {
         const std::optional<bool> on = ParseSwitch(l.args);
         if (!on) return l.wrong();
         s.host_.setAnswerInstantMessagesWithDialog(*on);
         return Done();
       }},
      {"chatter", "chatter on [MS] | chatter off",
       [](HostScript& s, const Line& l) {
         const auto [switchWord, msWord] = SplitWord(l.args);
         const std::optional<bool> on = ParseSwitch(switchWord);
         std::optional<std::uint64_t> every = std::uint64_t{kDefaultChatterMs};
         if (!msWord.empty()) every = ParseNumber(msWord, kMaxU32 / 2);
         if (!on || !every || *every == 0 || (!*on && !msWord.empty())) return l.wrong();
         s.setChatter(*on, static_cast<std::uint32_t>(*every));
         return Done();
       }},
      {"wait", "wait MS",
       [](HostScript& s, const Line& l) {
         const std::optional<std::uint64_t> ms = ParseNumber(l.args, kLongestWaitMs);
         if (!ms) return l.wrong(" (at most " + std::to_string(kLongestWaitMs) + ")");
         s.platform_.loop.pause(static_cast<double>(*ms) / 1000.0);
         return Done();
       }},
      {"quit", "quit",
       [](HostScript& s, const Line& l) {
         if (auto e = l.unwantedArguments()) return *e;
         s.quit_ = true;
         return Done();
       }},
      // ---- queries ----
      {"transcript", "transcript",
       [](HostScript& s, const Line& l) {
         if (auto e = l.unwantedArguments()) return *e;
         if (auto e = l.noRoom()) return *e;
         return Answer(TranscriptLines(s.host_.transcript(l.room)));
       }},
      {"transcript-since", "transcript-since N",
       [](HostScript& s, const Line& l) {
         const std::optional<std::uint64_t> after =
             ParseNumber(l.args, std::numeric_limits<std::uint64_t>::max());
         if (!after) return l.wrong();
         if (auto e = l.noRoom()) return *e;
         const std::vector<Text> lines = TranscriptLines(s.host_.transcript(l.room));
         const std::uint64_t newest = s.host_.transcriptLineCount(l.room);
         // The newest line is number `newest`; the lines before it count down from there.
         const std::uint64_t first = newest >= lines.size() ? newest - lines.size() + 1 : 1;
         std::vector<Text> answer = {"room " + EncodeEscapes(s.host_.roomName(l.room))};
         for (std::size_t i = 0; i < lines.size(); ++i) {
           const std::uint64_t number = first + i;
           if (number > *after) answer.push_back(std::to_string(number) + " " + lines[i]);
         }
         return Answer(std::move(answer));
       }},
      {"members", "members",
       [](HostScript& s, const Line& l) {
         if (auto e = l.unwantedArguments()) return *e;
         if (auto e = l.noRoom()) return *e;
         std::vector<Text> answer;
         for (const Text& m : s.host_.members(l.room)) answer.push_back(EncodeEscapes(m));
         return Answer(std::move(answer));
       }},
      {"state", "state",
       [](HostScript& s, const Line& l) {
         if (auto e = l.unwantedArguments()) return *e;
         return Answer(s.state());
       }},
  };
  return kCommands;
}

std::vector<std::string_view> HostScript::CommandUsages() {
  std::vector<std::string_view> usages;
  for (const Command& c : Commands()) usages.push_back(c.usage);
  return usages;
}

ScriptResult HostScript::execute(std::string_view rawLine) {
  std::string_view line = rawLine;
  if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
  const auto [command, args] = SplitWord(line);
  if (command.empty() || command.front() == '#') return Done();

  // The texts of a command: the rest of the line with its escapes decoded.
  const std::optional<Text> rest = DecodeEscapes(args);
  if (!rest) return Fail("a backslash must start \\t, \\r, \\n or \\\\");
  const Text name = text::ToLower(command);
  for (const Command& c : Commands()) {
    if (c.name != name) continue;
    const Line l{c.name, c.usage, args, *rest, Text(text::Trim(*rest)), host_.currentRoom()};
    return c.run(*this, l);
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
