// The host's control channel: numbered command lines from a file, answers to its
// companion file.
#include "hostsim/control_channel.h"

#include "text/text_ops.h"

namespace vantary::hostsim {
namespace {

// The command's number: the leading digits (after any blanks), followed by a blank or the
// end of the line.
bool SplitNumber(std::string_view line, std::uint32_t& number, std::string_view& command) {
  line = text::TrimLeft(line);
  std::size_t i = 0;
  std::uint64_t value = 0;
  while (i < line.size() && line[i] >= '0' && line[i] <= '9') {
    value = value * 10 + static_cast<std::uint64_t>(line[i] - '0');
    if (value > 0xFFFFFFFFu) return false;
    ++i;
  }
  if (i == 0 || (i < line.size() && line[i] != ' ' && line[i] != '\t')) return false;
  number = static_cast<std::uint32_t>(value);
  command = line.substr(i);
  return true;
}

}  // namespace

ControlChannel::ControlChannel(HostScript& script, platform::Platform& platform, Text path)
    : script_(script),
      platform_(platform),
      path_(std::move(path)),
      outPath_(path_ + ".out"),
      timer_(platform.loop, kControlPollMs, [this] {
        try {
          poll();
        } catch (...) {
          polling_ = false;
          script_.host().noteFault("control channel");
        }
      }) {
  // A fresh answers file says the host is listening.
  writeAnswers();
  timer_.setEnabled(true);
}

ControlChannel::~ControlChannel() = default;

void ControlChannel::poll() {
  // A command that waits pumps events, and with them this poll's timer: the lines after
  // it run when it is done, in order.
  if (polling_) return;
  polling_ = true;
  if (dirty_) writeAnswers();
  const std::optional<std::string> contents = platform_.files.readFile(path_);
  if (contents) {
    if (contents->size() < consumed_) {
      consumed_ = 0;
      commands_ = 0;
      answers_.clear();
      dirty_ = true;
    }
    const std::size_t start = consumed_;
    text::LineReader lines(std::string_view(*contents).substr(start), text::LineBreak::kLf);
    while (const std::optional<std::string_view> line = lines.next()) {
      if (!lines.lineEnded()) break;  // still being written
      consumed_ = start + lines.consumed();
      if (text::Trim(*line).empty()) continue;
      runLine(*line);
      // Each command's answer goes out before the next one runs, which may wait.
      writeAnswers();
    }
  }
  if (dirty_) writeAnswers();
  polling_ = false;
}

void ControlChannel::runLine(std::string_view line) {
  std::uint32_t number = 0;
  std::string_view command;
  const bool numbered = SplitNumber(line, number, command);
  const Text tag = std::to_string(number);
  ++commands_;
  if (!numbered) {
    answers_ += "error 0 a control line starts with its number\n";
  } else {
    const ScriptResult r = script_.run(command);
    // An answer line holds no line break (the script escapes them); one that did would
    // break the block apart, so it is cut there.
    const auto oneLine = [](const Text& t) { return t.substr(0, t.find_first_of("\r\n")); };
    for (const Text& a : r.answer) answers_ += tag + " " + oneLine(a) + "\n";
    if (r.error) answers_ += "error " + tag + " " + oneLine(*r.error) + "\n";
  }
  answers_ += "done " + tag + "\n";
  dirty_ = true;
}

void ControlChannel::writeAnswers() { dirty_ = !platform_.files.writeFileAtomic(outPath_, answers_); }

}  // namespace vantary::hostsim
