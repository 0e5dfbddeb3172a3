// Files, sound, the tray icon, the shell, the screen and random numbers on the real system.
#include <windows.h>

#include <mmsystem.h>
#include <shellapi.h>
#include <shlobj.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <random>
#include <string>

#include "platform/win32/win32_handles.h"
#include "platform/win32/win32_services.h"

namespace vantary::platform::win32 {
namespace {

HWND ToHwnd(Window w) { return reinterpret_cast<HWND>(HandleBits(w.value)); }

// A path for an A-function. A path with a zero byte inside would silently name another
// file (the part before the zero), so it names none.
std::optional<std::string> PathArg(std::string_view path) {
  if (path.empty() || path.find('\0') != std::string_view::npos) return std::nullopt;
  return std::string(path);
}

// Windows refuses to replace or delete a read-only file; Wine 8.0 does both. The attribute is
// checked first, so the program sees the refusal on either.
bool ReadOnlyFile(const std::string& path) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY);
}

class Win32Files final : public Files {
 public:
  Text programFolder() override {
    std::string buf(MAX_PATH, '\0');
    for (;;) {
      const DWORD n = GetModuleFileNameA(nullptr, buf.data(), static_cast<DWORD>(buf.size()));
      if (n == 0) return {};
      if (n < buf.size()) {
        buf.resize(n);
        break;
      }
      if (buf.size() >= 32768) return {};
      buf.resize(buf.size() * 2);
    }
    const auto slash = buf.find_last_of("\\/");
    return slash == std::string::npos ? Text{} : buf.substr(0, slash);
  }

  Text windowsFolder() override {
    char buf[MAX_PATH + 1] = {};
    const UINT n = GetWindowsDirectoryA(buf, MAX_PATH);
    if (n == 0 || n > MAX_PATH) return {};
    Text folder(buf, n);
    while (folder.size() > 1 && folder.back() == '\\') folder.pop_back();
    return folder;
  }

  bool fileExists(std::string_view path) override {
    const auto p = PathArg(path);
    if (!p) return false;
    const DWORD attributes = GetFileAttributesA(p->c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
  }

  std::optional<std::string> readFile(std::string_view path) override {
    const auto p = PathArg(path);
    if (!p) return std::nullopt;
    KernelHandle file(CreateFileA(p->c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return std::nullopt;
    std::string contents;
    char chunk[65536];
    for (;;) {
      DWORD got = 0;
      if (!ReadFile(file.get(), chunk, sizeof chunk, &got, nullptr)) return std::nullopt;
      if (got == 0) break;
      contents.append(chunk, got);
    }
    return contents;
  }

  bool writeFileAtomic(std::string_view path, std::string_view contents) override {
    const auto p = PathArg(path);
    if (!p || ReadOnlyFile(*p)) return false;
    // The temporary file sits beside the target so the rename stays on one volume.
    static unsigned counter = 0;
    const std::string temp =
        *p + ".~" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(++counter) + ".tmp";
    {
      KernelHandle file(CreateFileA(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr));
      if (!file) return false;
      bool ok = true;
      std::size_t done = 0;
      while (ok && done < contents.size()) {
        const DWORD want = static_cast<DWORD>(std::min<std::size_t>(contents.size() - done, 1u << 20));
        DWORD wrote = 0;
        ok = WriteFile(file.get(), contents.data() + done, want, &wrote, nullptr) && wrote == want;
        done += wrote;
      }
      ok = ok && FlushFileBuffers(file.get());
      ok = file.reset() && ok;
      if (!ok) {
        DeleteFileA(temp.c_str());
        return false;
      }
    }
    if (!MoveFileExA(temp.c_str(), p->c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
      DeleteFileA(temp.c_str());
      return false;
    }
    return true;
  }

  bool removeFile(std::string_view path) override {
    const auto p = PathArg(path);
    return p && !ReadOnlyFile(*p) && DeleteFileA(p->c_str());
  }

  Text userDataFolder() override {
    char buf[MAX_PATH + 1] = {};
    if (FAILED(SHGetFolderPathA(nullptr, CSIDL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, buf))) return {};
    Text folder(buf);
    while (folder.size() > 1 && folder.back() == '\\') folder.pop_back();
    return folder;
  }

  // Makes the folder when it is missing, then a file in it that goes again when closed:
  // the one sure test of the right to write there (the access lists and the system's
  // redirection of writes by programs without a manifest decide it, not the folder's attributes).
  bool folderWritable(std::string_view folder) override {
    const auto p = PathArg(folder);
    if (!p) return false;
    // Each missing folder of the path is made, the outermost first.
    for (std::size_t at = p->find('\\', 3); at != std::string::npos; at = p->find('\\', at + 1)) {
      CreateDirectoryA(p->substr(0, at).c_str(), nullptr);
    }
    if (!CreateDirectoryA(p->c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS) return false;
    const std::string probe = *p + "\\~vantary-" + std::to_string(GetCurrentProcessId()) + ".tmp";
    KernelHandle file(CreateFileA(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                  FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr));
    return static_cast<bool>(file);
  }
};

class Win32Sound final : public Sound {
 public:
  bool playWave(std::string_view path, std::uint32_t flags) override {
    const auto p = PathArg(path);
    return p && sndPlaySoundA(p->c_str(), flags);
  }

  bool mciCommand(std::string_view command) override {
    if (command.find('\0') != std::string_view::npos) return false;
    const std::string c(command);
    char answer[128] = {};
    return mciSendStringA(c.c_str(), answer, sizeof answer, nullptr) == 0;
  }
};

class Win32Tray final : public Tray {
 public:
  bool addIcon(const TrayIcon& icon) override { return notify(NIM_ADD, icon); }
  bool deleteIcon(const TrayIcon& icon) override { return notify(NIM_DELETE, icon); }
  std::uint32_t taskbarCreatedMessage() override { return RegisterWindowMessageA("TaskbarCreated"); }

 private:
  static bool notify(DWORD action, const TrayIcon& icon) {
    // The first form of the record (88 bytes): every shell since the first tray takes it.
    NOTIFYICONDATAA data{};
    data.cbSize = NOTIFYICONDATAA_V1_SIZE;
    data.hWnd = ToHwnd(icon.owner);
    data.uID = icon.id;
    data.uFlags = icon.flags;
    data.uCallbackMessage = icon.callbackMessage;
    HICON shown = data.hWnd ? reinterpret_cast<HICON>(GetClassLongPtrA(data.hWnd, GCLP_HICON)) : nullptr;
    data.hIcon = shown ? shown : LoadIconA(nullptr, MAKEINTRESOURCEA(32512));  // IDI_APPLICATION
    const std::size_t n = std::min<std::size_t>(icon.tip.size(), 63);
    std::memcpy(data.szTip, icon.tip.data(), n);
    data.szTip[n] = '\0';
    return Shell_NotifyIconA(action, &data) != 0;
  }
};

class Win32Shell final : public Shell {
 public:
  bool startProgram(std::string_view path, int showCommand) override {
    const auto p = PathArg(path);
    if (!p) return false;
    // The program starts in its own folder, as it would from the desktop.
    const auto slash = p->find_last_of("\\/");
    const std::string folder = slash == std::string::npos ? std::string{} : p->substr(0, slash);
    const auto result = reinterpret_cast<INT_PTR>(ShellExecuteA(
        nullptr, "open", p->c_str(), nullptr, folder.empty() ? nullptr : folder.c_str(), showCommand));
    return result > 32;
  }

  bool exitWindows(std::uint32_t flags) override {
    // Shutting down or restarting needs the shutdown privilege, which a process holds but
    // must switch on first.
    HANDLE opened = nullptr;
    if (OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &opened)) {
      const KernelHandle token(opened);
      TOKEN_PRIVILEGES privileges{};
      privileges.PrivilegeCount = 1;
      privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
      if (LookupPrivilegeValueA(nullptr, "SeShutdownPrivilege", &privileges.Privileges[0].Luid)) {
        AdjustTokenPrivileges(token.get(), FALSE, &privileges, 0, nullptr, nullptr);
      }
    }
    return ExitWindowsEx(
               flags, SHTDN_REASON_MAJOR_OTHER | SHTDN_REASON_MINOR_OTHER | SHTDN_REASON_FLAG_PLANNED) != 0;
  }

  // A named mutex in the session's own namespace, named after the window station and the
  // desktop too: one per user desktop. The system closes a dead process's handles, and the
  // mutex goes with the last of them.
  std::unique_ptr<InstanceClaim> claimInstance(std::string_view name) override {
    std::string full = "Local\\" + std::string(name) + "." + ObjectName(GetProcessWindowStation()) + "." +
                       ObjectName(GetThreadDesktop(GetCurrentThreadId()));
    // A backslash would name a namespace of its own.
    std::replace(full.begin() + 6, full.end(), '\\', '.');
    HANDLE mutex = CreateMutexA(nullptr, FALSE, full.c_str());
    const DWORD error = GetLastError();
    if (mutex == nullptr) return nullptr;
    auto claim = std::make_unique<Claim>(mutex);
    if (error == ERROR_ALREADY_EXISTS) return nullptr;
    return claim;
  }

  bool writeOutputLine(std::string_view line) override {
    const std::string bytes = std::string(line) + "\r\n";
    // Output sent to a file or a pipe (redirected by the command line, or the handles a
    // starting program gave) is there already for a program without a console.
    HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
    if (out != nullptr && out != INVALID_HANDLE_VALUE && GetFileType(out) != FILE_TYPE_UNKNOWN) {
      return WriteAll(out, bytes);
    }
    // Else the console of the command line that started the program, when there is one.
    // AttachConsole is looked up, so the program still starts where the system lacks it.
    using AttachConsoleFn = BOOL(WINAPI*)(DWORD);
    const auto attach = reinterpret_cast<AttachConsoleFn>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "AttachConsole")));
    constexpr DWORD kParentProcess = static_cast<DWORD>(-1);  // ATTACH_PARENT_PROCESS
    if (attach == nullptr || !attach(kParentProcess)) return false;
    bool written = false;
    HANDLE console = CreateFileA("CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                 nullptr, OPEN_EXISTING, 0, nullptr);
    if (console != INVALID_HANDLE_VALUE) {
      written = WriteAll(console, bytes);
      CloseHandle(console);
    }
    FreeConsole();
    return written;
  }

 private:
  class Claim final : public InstanceClaim {
   public:
    explicit Claim(HANDLE mutex) : mutex_(mutex) {}
    ~Claim() override { CloseHandle(mutex_); }
    Claim(const Claim&) = delete;
    Claim& operator=(const Claim&) = delete;

   private:
    HANDLE mutex_;
  };

  static std::string ObjectName(HANDLE object) {
    char name[256] = {};
    DWORD needed = 0;
    if (object == nullptr || !GetUserObjectInformationA(object, UOI_NAME, name, sizeof(name) - 1, &needed)) {
      return "default";
    }
    return name;
  }

  static bool WriteAll(HANDLE file, const std::string& bytes) {
    DWORD written = 0;
    return WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
           written == bytes.size();
  }
};

class Win32Screen final : public Screen {
 public:
  Size size() override { return Size{GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)}; }
  int twipsPerPixelX() override { return twipsPerPixel(LOGPIXELSX); }
  int twipsPerPixelY() override { return twipsPerPixel(LOGPIXELSY); }
  Point cursor() override {
    POINT p{};
    if (!GetCursorPos(&p)) return {};
    return Point{p.x, p.y};
  }

 private:
  static int twipsPerPixel(int axis) {
    const WindowDc screen;
    if (!screen) return 15;
    const int dpi = GetDeviceCaps(screen.get(), axis);
    return dpi > 0 ? 1440 / dpi : 15;
  }
};

class Win32Random final : public Random {
 public:
  Win32Random() {
    LARGE_INTEGER counter{};
    QueryPerformanceCounter(&counter);
    std::seed_seq seed{
        static_cast<std::uint32_t>(counter.QuadPart), static_cast<std::uint32_t>(counter.QuadPart >> 32),
        static_cast<std::uint32_t>(GetCurrentProcessId()), static_cast<std::uint32_t>(GetTickCount())};
    engine_.seed(seed);
  }

  double nextFraction() override {
    // 53 random bits over 2^53: every value in [0, 1), never 1.
    return static_cast<double>(engine_() >> 11) * (1.0 / 9007199254740992.0);
  }

 private:
  std::mt19937_64 engine_;
};

}  // namespace

std::unique_ptr<Files> MakeFiles() { return std::make_unique<Win32Files>(); }
std::unique_ptr<Sound> MakeSound() { return std::make_unique<Win32Sound>(); }
std::unique_ptr<Tray> MakeTray() { return std::make_unique<Win32Tray>(); }
std::unique_ptr<Shell> MakeShell() { return std::make_unique<Win32Shell>(); }
std::unique_ptr<Screen> MakeScreen() { return std::make_unique<Win32Screen>(); }
std::unique_ptr<Random> MakeRandom() { return std::make_unique<Win32Random>(); }

}  // namespace vantary::platform::win32
