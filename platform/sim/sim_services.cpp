// The sim's other services: dialogs answered from a queue, files under the world's root
// folder, and sound, tray, shell, screen and chance recorded or fixed for tests.
#include <fstream>
#include <random>
#include <sstream>

#include "platform/sim/sim_internal.h"
#include "text/text_ops.h"

namespace vantary::platform::sim {

namespace {

namespace fs = std::filesystem;

// Characters no Windows file name may hold.
bool ValidNameChar(char c) {
  const auto u = static_cast<unsigned char>(c);
  if (u < 0x20) return false;
  switch (c) {
    case '<':
    case '>':
    case ':':
    case '"':
    case '|':
    case '?':
    case '*':
      return false;
    default:
      return true;
  }
}

class SimDialogs final : public Dialogs {
 public:
  SimDialogs(SimWorld::Impl& world, ProcessId process) : w_(world), process_(process) {}

  int messageBox(Window /*owner*/, std::string_view text, std::string_view title,
                 std::uint32_t style) override {
    w_.dialogs.push_back(
        DialogRecord{DialogRecord::Kind::kMessageBox, Text(text), Text(title), style, process_});
    if (w_.dialogAnswers.empty()) {
      ++w_.unanswered;
      return msg::kIdCancel;
    }
    const DialogAnswer answer = w_.dialogAnswers.front();
    w_.dialogAnswers.pop_front();
    stand(answer.standsMs);
    return answer.button;
  }

  std::optional<Text> inputBox(std::string_view prompt, std::string_view title,
                               std::string_view /*initial*/) override {
    w_.dialogs.push_back(DialogRecord{DialogRecord::Kind::kInputBox, Text(prompt), Text(title), 0, process_});
    if (w_.dialogAnswers.empty()) {
      ++w_.unanswered;
      return std::nullopt;
    }
    const DialogAnswer answer = w_.dialogAnswers.front();
    w_.dialogAnswers.pop_front();
    stand(answer.standsMs);
    return answer.input;
  }

 private:
  // The box's modal loop: events run until the answer comes.
  void stand(std::uint32_t ms) {
    const std::uint64_t until = w_.now + ms;
    while (w_.now < until) {
      w_.pump();
      if (w_.now < until) w_.waitForEvents(static_cast<std::uint32_t>(until - w_.now));
    }
  }

  SimWorld::Impl& w_;
  ProcessId process_;
};

class SimFiles final : public Files {
 public:
  SimFiles(SimWorld::Impl& world, Text programFolder) : w_(world), programFolder_(std::move(programFolder)) {}

  Text programFolder() override { return "C:\\" + programFolder_; }
  Text windowsFolder() override { return "C:\\WINDOWS"; }

  bool fileExists(std::string_view path) override { return w_.fileExists(path); }

  std::optional<std::string> readFile(std::string_view path) override {
    if (!w_.fileExists(path) || w_.fileLocked(path)) return std::nullopt;
    std::ifstream in(w_.hostPath(path), std::ios::binary);
    if (!in) return std::nullopt;
    std::ostringstream contents;
    contents << in.rdbuf();
    if (in.bad()) return std::nullopt;
    return std::move(contents).str();
  }

  bool writeFileAtomic(std::string_view path, std::string_view contents) override {
    const fs::path target = w_.hostPath(path);
    if (target.empty()) return false;
    std::error_code ec;
    if (fs::is_directory(target, ec)) return false;
    // The rename cannot replace a file another program holds or one marked read-only, and
    // nothing is made in a folder the user may not write.
    if (w_.fileLocked(path) || w_.fileReadOnly(path) || w_.inProtectedFolder(path)) return false;
    fs::create_directories(target.parent_path(), ec);
    if (ec) return false;
    const fs::path temp =
        target.parent_path() / (target.filename().string() + ".tmp" + std::to_string(++w_.tempCounter));
    {
      std::ofstream out(temp, std::ios::binary | std::ios::trunc);
      out.write(contents.data(), static_cast<std::streamsize>(contents.size()));
      out.flush();
      if (!out) {
        out.close();
        fs::remove(temp, ec);
        return false;
      }
    }
    fs::rename(temp, target, ec);
    if (ec) {
      std::error_code ignored;
      fs::remove(temp, ignored);
      return false;
    }
    return true;
  }

  bool removeFile(std::string_view path) override {
    if (!w_.fileExists(path) || w_.fileLocked(path) || w_.fileReadOnly(path) || w_.inProtectedFolder(path)) {
      return false;
    }
    std::error_code ec;
    return fs::remove(w_.hostPath(path), ec) && !ec;
  }

  Text userDataFolder() override { return "C:\\Documents and Settings\\user\\Application Data"; }

  bool folderWritable(std::string_view folder) override {
    const fs::path target = w_.hostPath(folder);
    if (target.empty() || w_.folderProtected(folder)) return false;
    std::error_code ec;
    fs::create_directories(target, ec);
    return !ec && fs::is_directory(target, ec);
  }

 private:
  SimWorld::Impl& w_;
  Text programFolder_;
};

class SimSound final : public Sound {
 public:
  explicit SimSound(SimWorld::Impl& world) : w_(world) {}

  bool playWave(std::string_view path, std::uint32_t flags) override {
    w_.sounds.push_back(SoundRecord{SoundRecord::Kind::kWave, Text(path), flags});
    // Without SND_NODEFAULT's fallback a missing file plays nothing and fails.
    return w_.fileExists(path);
  }

  bool mciCommand(std::string_view command) override {
    w_.sounds.push_back(SoundRecord{SoundRecord::Kind::kMci, Text(command), 0});
    // "open <file> ..." fails when the file is missing; other commands succeed.
    const Text folded = text::ToLower(command);
    if (folded.rfind("open ", 0) != 0) return true;
    std::string_view rest = text::TrimLeft(command.substr(5), " ");
    std::string_view file;
    if (!rest.empty() && rest.front() == '"') {
      const std::size_t end = rest.find('"', 1);
      file = rest.substr(1, end == std::string_view::npos ? std::string_view::npos : end - 1);
    } else {
      file = rest.substr(0, rest.find(' '));
    }
    const bool looksLikeFile =
        file.find('\\') != std::string_view::npos || file.find('.') != std::string_view::npos;
    return !looksLikeFile || w_.fileExists(file);
  }

 private:
  SimWorld::Impl& w_;
};

class SimTray final : public Tray {
 public:
  explicit SimTray(SimWorld::Impl& world) : w_(world) {}

  bool addIcon(const TrayIcon& icon) override {
    w_.trayEvents.push_back(TrayRecord{true, icon});
    if (w_.trayRefuses) return false;
    // NIM_ADD fails for an icon that is already there.
    return w_.trayIcons.insert({icon.owner.value, icon.id}).second;
  }

  bool deleteIcon(const TrayIcon& icon) override {
    w_.trayEvents.push_back(TrayRecord{false, icon});
    return w_.trayIcons.erase({icon.owner.value, icon.id}) != 0;
  }

  std::uint32_t taskbarCreatedMessage() override { return kSimTaskbarCreated; }

 private:
  SimWorld::Impl& w_;
};

class SimShell final : public Shell {
 public:
  SimShell(SimWorld::Impl& world, ProcessId process) : w_(world), process_(process) {}

  bool startProgram(std::string_view path, int showCommand) override {
    w_.shellEvents.push_back(ShellRecord{ShellRecord::Kind::kStart, Text(path), showCommand, 0});
    return w_.startProgramResult.value_or(w_.fileExists(path));
  }

  bool exitWindows(std::uint32_t flags) override {
    w_.shellEvents.push_back(ShellRecord{ShellRecord::Kind::kExitWindows, Text{}, 0, flags});
    return true;
  }

  std::unique_ptr<InstanceClaim> claimInstance(std::string_view name) override {
    const Text folded = text::ToLower(name);
    if (!w_.claims.insert(folded).second) return nullptr;
    return std::make_unique<Claim>(w_, folded);
  }

  bool writeOutputLine(std::string_view line) override {
    w_.output[process_].emplace_back(line);
    return true;
  }

 private:
  // Given back with the object: a test ends a process's program by destroying it.
  class Claim final : public InstanceClaim {
   public:
    Claim(SimWorld::Impl& world, Text name) : w_(world), name_(std::move(name)) {}
    ~Claim() override { w_.claims.erase(name_); }
    Claim(const Claim&) = delete;
    Claim& operator=(const Claim&) = delete;

   private:
    SimWorld::Impl& w_;
    Text name_;
  };

  SimWorld::Impl& w_;
  ProcessId process_;
};

class SimScreen final : public Screen {
 public:
  explicit SimScreen(SimWorld::Impl& world) : w_(world) {}
  Size size() override { return w_.screenSize; }
  int twipsPerPixelX() override { return 15; }
  int twipsPerPixelY() override { return 15; }
  Point cursor() override { return w_.cursor; }

 private:
  SimWorld::Impl& w_;
};

// A fixed seed per process: the same run gives the same chances.
class SimRandom final : public Random {
 public:
  explicit SimRandom(ProcessId process) : engine_(0x5EED0000u + process) {}
  double nextFraction() override {
    // 53 random bits make a double in [0, 1) on every platform alike.
    return static_cast<double>(engine_() >> 11) * 0x1.0p-53;
  }

 private:
  std::mt19937_64 engine_;
};

}  // namespace

fs::path SimWorld::Impl::hostPath(std::string_view programPath) const {
  // Windows paths are case-insensitive: the whole path is lower-cased, the drive becomes
  // a folder under the root, and "." and ".." are resolved without leaving the drive.
  // A name with a character Windows forbids maps to no file (an empty path).
  const Text folded = text::ToLower(programPath);
  std::string_view rest(folded);
  Text drive = "c";
  if (rest.size() >= 2 && rest[1] == ':' && rest[0] >= 'a' && rest[0] <= 'z') {
    drive = Text(1, rest[0]);
    rest.remove_prefix(2);
  }
  std::vector<Text> parts;
  std::size_t pos = 0;
  while (pos <= rest.size()) {
    std::size_t end = rest.find_first_of("\\/", pos);
    if (end == std::string_view::npos) end = rest.size();
    Text part(rest.substr(pos, end - pos));
    if (part == "..") {
      if (!parts.empty()) parts.pop_back();
    } else {
      // The system drops trailing dots and blanks of a name ("a.txt." is "a.txt").
      while (!part.empty() && (part.back() == '.' || part.back() == ' ')) part.pop_back();
      for (char c : part) {
        if (!ValidNameChar(c)) return {};  // no such file can exist
      }
      if (!part.empty()) parts.push_back(std::move(part));
    }
    pos = end + 1;
  }
  fs::path result = root / drive;
  for (const Text& part : parts) result /= part;
  return result;
}

bool SimWorld::Impl::fileExists(std::string_view programPath) const {
  if (programPath.empty()) return false;
  std::error_code ec;
  return fs::is_regular_file(hostPath(programPath), ec);
}

bool SimWorld::Impl::fileLocked(std::string_view programPath) const {
  return !lockedFiles.empty() && lockedFiles.contains(hostPath(programPath));
}

bool SimWorld::Impl::fileReadOnly(std::string_view programPath) const {
  return !readOnlyFiles.empty() && readOnlyFiles.contains(hostPath(programPath));
}

bool SimWorld::Impl::folderProtected(std::string_view programFolder) const {
  return !protectedFolders.empty() && protectedFolders.contains(hostPath(programFolder));
}

bool SimWorld::Impl::inProtectedFolder(std::string_view programPath) const {
  return !protectedFolders.empty() && protectedFolders.contains(hostPath(programPath).parent_path());
}

void SimWorld::setFolderWriteProtected(std::string_view programFolder, bool writeProtected) {
  if (writeProtected) {
    impl_->protectedFolders.insert(impl_->hostPath(programFolder));
  } else {
    impl_->protectedFolders.erase(impl_->hostPath(programFolder));
  }
}

void SimWorld::setFileLocked(std::string_view programPath, bool locked) {
  if (locked) {
    impl_->lockedFiles.insert(impl_->hostPath(programPath));
  } else {
    impl_->lockedFiles.erase(impl_->hostPath(programPath));
  }
}

void SimWorld::setFileReadOnly(std::string_view programPath, bool readOnly) {
  if (readOnly) {
    impl_->readOnlyFiles.insert(impl_->hostPath(programPath));
  } else {
    impl_->readOnlyFiles.erase(impl_->hostPath(programPath));
  }
}

std::unique_ptr<Dialogs> MakeDialogs(SimWorld::Impl& world, ProcessId process) {
  return std::make_unique<SimDialogs>(world, process);
}
std::unique_ptr<Files> MakeFiles(SimWorld::Impl& world, Text programFolder) {
  return std::make_unique<SimFiles>(world, std::move(programFolder));
}
std::unique_ptr<Sound> MakeSound(SimWorld::Impl& world) { return std::make_unique<SimSound>(world); }
std::unique_ptr<Tray> MakeTray(SimWorld::Impl& world) { return std::make_unique<SimTray>(world); }
std::unique_ptr<Shell> MakeShell(SimWorld::Impl& world, ProcessId process) {
  return std::make_unique<SimShell>(world, process);
}
std::unique_ptr<Screen> MakeScreen(SimWorld::Impl& world) { return std::make_unique<SimScreen>(world); }
std::unique_ptr<Random> MakeRandom(ProcessId process) { return std::make_unique<SimRandom>(process); }

}  // namespace vantary::platform::sim
