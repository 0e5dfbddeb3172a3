// The end-to-end probe that looks at vantary.exe's windows on the real window system: the
// test script starts hostsim.exe (signed on, quiet, --control FILE) and vantary.exe for the
// first time in the custom message mode. The probe waits for each window, takes its picture
// from the screen into OUT_FOLDER (NAME.bmp, turned into PNG by the script) and checks
// simple facts of it: sizes given in twips within two pixels of the screen's conversion,
// the console face shaped with its corners cut away, the captions the user reads, pictures
// that are not blank. The face's dot is clicked with a real mouse press and release (the
// system's input, not a message), which opens the menu; Escape closes it. Prints one line
// per check and ends with "shots-e2e: N passed, M failed".
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <set>
#include <string>
#include <vector>

#include "platform/win32/win32_platform.h"
#include "tests/e2e/e2e_support.h"
#include "text/ansi.h"

namespace {

using vantary::console::MenuCommand;
using vantary::e2e::Channel;
using vantary::e2e::Checks;
using vantary::e2e::kExitLimitMs;
using vantary::e2e::kHostStartLimitMs;

using vantary::e2e::kLinesLimitMs;
using vantary::e2e::kProgramStartLimitMs;
using vantary::e2e::Quoted;

using vantary::platform::Platform;
using vantary::text::operator""_ansi;
using vantary::text::Text;

constexpr std::uint32_t kWindowLimitMs = 10000;
constexpr int kSlackPixels = 2;

struct FormSearch {
  std::string prefix;
  bool visibleOnly;
  HWND found;
};

// EnumWindows' callback, in the system's calling convention (a lambda has the compiler's).
BOOL CALLBACK MatchForm(HWND w, LPARAM lp) {
  auto* s = reinterpret_cast<FormSearch*>(lp);
  char cls[128] = {};
  GetClassNameA(w, cls, sizeof cls);
  if (std::string(cls).rfind(s->prefix, 0) != 0 || (s->visibleOnly && !IsWindowVisible(w))) return TRUE;
  s->found = w;
  return FALSE;
}

// A top-level window of vantary's whose class names the form ("vantary NAME #n").
HWND FindForm(const std::string& name, bool visibleOnly) {
  FormSearch search{"vantary " + name + " #", visibleOnly, nullptr};
  EnumWindows(MatchForm, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

// The window's picture as the screen shows it, as 24-bit rows bottom-up.
struct Shot {
  int width = 0;
  int height = 0;
  std::vector<unsigned char> bgr;  // rows of (width * 3) rounded up to 4 bytes
  int stride() const { return (width * 3 + 3) & ~3; }
  COLORREF at(int x, int y) const {
    const unsigned char* p = &bgr[static_cast<std::size_t>((height - 1 - y) * stride() + x * 3)];
    return RGB(p[2], p[1], p[0]);
  }
  std::size_t colours() const {
    std::set<COLORREF> seen;
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < width; ++x) seen.insert(at(x, y));
    return seen.size();
  }
};

Shot Take(HWND w) {
  RECT r{};
  GetWindowRect(w, &r);
  Shot s;
  s.width = r.right - r.left;
  s.height = r.bottom - r.top;
  if (s.width <= 0 || s.height <= 0) return Shot{};
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, s.width, s.height);
  HGDIOBJ old = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, s.width, s.height, screen, r.left, r.top, SRCCOPY);
  SelectObject(memory, old);
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = s.width;
  info.bmiHeader.biHeight = s.height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 24;
  info.bmiHeader.biCompression = BI_RGB;
  s.bgr.resize(static_cast<std::size_t>(s.stride() * s.height));
  GetDIBits(memory, bitmap, 0, static_cast<UINT>(s.height), s.bgr.data(), &info, DIB_RGB_COLORS);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  return s;
}

bool Save(const Shot& s, const std::string& path) {
  BITMAPFILEHEADER file{};
  BITMAPINFOHEADER info{};
  info.biSize = sizeof info;
  info.biWidth = s.width;
  info.biHeight = s.height;
  info.biPlanes = 1;
  info.biBitCount = 24;
  info.biCompression = BI_RGB;
  file.bfType = 0x4D42;
  file.bfOffBits = sizeof file + sizeof info;
  file.bfSize = static_cast<DWORD>(file.bfOffBits + s.bgr.size());
  FILE* out = std::fopen(path.c_str(), "wb");
  if (out == nullptr) return false;
  const bool ok = std::fwrite(&file, sizeof file, 1, out) == 1 &&
                  std::fwrite(&info, sizeof info, 1, out) == 1 &&
                  std::fwrite(s.bgr.data(), 1, s.bgr.size(), out) == s.bgr.size();
  return std::fclose(out) == 0 && ok;
}

// The captions of a window's children, joined by "|".
std::string ChildTexts(HWND w) {
  std::string all;
  for (HWND c = GetWindow(w, GW_CHILD); c != nullptr; c = GetWindow(c, GW_HWNDNEXT)) {
    char buf[256] = {};
    GetWindowTextA(c, buf, sizeof buf);
    if (buf[0] != '\0') all += std::string(all.empty() ? "" : "|") + buf;
  }
  return all;
}

bool Near(int pixels, int twips, int twipsPerPixel) {
  return std::abs(pixels - (twips + twipsPerPixel / 2) / twipsPerPixel) <= kSlackPixels;
}

// Lets the windows settle for `ms`, this probe's own messages running.
void Settle(Platform& p, std::uint32_t ms) {
  p.loop.waitUntil([] { return false; }, ms);
}

// Waits up to `limitMs` for `done`, letting this probe's own messages run.
template <typename F>
bool WaitFor(Platform& p, F done, std::uint32_t limitMs) {
  return p.loop.waitUntil([&] { return static_cast<bool>(done()); }, limitMs);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: shots_probe.exe CONTROL_FILE MINUTE_MS OUT_FOLDER\n");
    return 2;
  }
  const std::string out = std::string(argv[3]) + "\\";
  vantary::platform::win32::Win32Platform system;
  Platform& p = system.platform();
  Checks c("shots-e2e");
  Channel channel(p, argv[1]);
  if (!c.check("hostsim's control channel answers", channel.hostListening(kHostStartLimitMs)))
    return c.finish();

  HDC screen = GetDC(nullptr);
  const int tppX = 1440 / GetDeviceCaps(screen, LOGPIXELSX);
  const int tppY = 1440 / GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);

  // A window just shown may not be painted yet: its picture is taken again until it is.
  const auto shoot = [&](const char* name, HWND w) {
    Shot s;
    WaitFor(
        p, [&] { return (s = Take(w)).colours() >= 3; }, kWindowLimitMs);
    c.check((std::string(name) + " is pictured and not blank").c_str(),
            s.width > 0 && s.colours() >= 3 && Save(s, out + name + ".bmp"),
            std::to_string(s.width) + "x" + std::to_string(s.height) + ", " + std::to_string(s.colours()) +
                " colours");
    return s;
  };

  // The intro, while a picture of its animation shows: its dark ground is on the screen.
  HWND intro = nullptr;
  WaitFor(
      p, [&] { return intro = FindForm("intro", true); }, kProgramStartLimitMs);
  if (c.check("the intro shows", intro != nullptr)) {
    const auto pictureShown = [&] {
      for (HWND ch = GetWindow(intro, GW_CHILD); ch != nullptr; ch = GetWindow(ch, GW_HWNDNEXT)) {
        char cls[128] = {};
        GetClassNameA(ch, cls, sizeof cls);
        if (IsWindowVisible(ch) && std::string(cls).find("PictureBox") != std::string::npos) return true;
      }
      return false;
    };
    RECT r{};
    GetWindowRect(intro, &r);
    c.check("the intro has its size and stays above other windows",
            r.right - r.left == 240 && r.bottom - r.top == 120 &&
                (GetWindowLongA(intro, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0,
            std::to_string(r.right - r.left) + "x" + std::to_string(r.bottom - r.top));
    // A frame of the animation: the dark ground and the growing bar. The animation runs in
    // vantary's own time, a few seconds in all: a loaded machine may let it end before
    // this probe looks, so a frame is pictured and checked when one is caught.
    Shot s;
    WaitFor(
        p,
        [&] {
          if (!IsWindow(intro) || !IsWindowVisible(intro)) return true;
          return pictureShown() && (s = Take(intro)).width > 0 && s.at(4, 4) == RGB(20, 22, 34) &&
                 s.colours() >= 2;
        },
        kProgramStartLimitMs);
    if (s.width > 0 && s.at(4, 4) == RGB(20, 22, 34)) {
      c.check("a frame of the intro's animation is pictured", s.colours() >= 2 && Save(s, out + "intro.bmp"));
    } else {
      std::printf("info: the intro's animation ended before a frame was pictured\n");
    }
  }

  // The console face: shaped from its skin, its corners cut away.
  HWND face = nullptr;
  WaitFor(
      p, [&] { return face = FindForm("frmSplash", true); }, kProgramStartLimitMs);
  if (!c.check("the console face shows", face != nullptr)) return c.finish();
  Settle(p, 1000);
  const Shot faceShot = shoot("face", face);
  HRGN region = CreateRectRgn(0, 0, 0, 0);
  const int kind = GetWindowRgn(face, region);
  c.check("the face is shaped, its corner outside the shape",
          (kind == SIMPLEREGION || kind == COMPLEXREGION) && !PtInRegion(region, 0, 0) &&
              PtInRegion(region, faceShot.width / 2, faceShot.height / 2),
          "region kind " + std::to_string(kind));
  DeleteObject(region);
  const std::string faceTexts = ChildTexts(face);
  c.check("the face shows its clock", faceTexts.find("0|0") != std::string::npos, Quoted(faceTexts));
  c.check("the face stays above other windows", (GetWindowLongA(face, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0);

  // A real drag of the face by the mouse, past the screen's right edge: the face follows
  // the mouse and, let go, is pulled back inside the screen.
  {
    RECT before{};
    GetWindowRect(face, &before);
    const int screenWidth = GetSystemMetrics(SM_CXSCREEN);
    POINT at{before.left + 3, (before.top + before.bottom) / 2};
    SetCursorPos(at.x, at.y);
    const auto mouse = [](DWORD flags) {
      INPUT in{};
      in.type = INPUT_MOUSE;
      in.mi.dwFlags = flags;
      SendInput(1, &in, sizeof in);
    };
    mouse(MOUSEEVENTF_LEFTDOWN);
    Settle(p, 300);
    const int targetX = screenWidth - 20;
    for (int step = 1; step <= 20; ++step) {
      SetCursorPos(at.x + (targetX - at.x) * step / 20, at.y + 40 * step / 20);
      mouse(MOUSEEVENTF_MOVE);
      Settle(p, 30);
    }
    mouse(MOUSEEVENTF_LEFTUP);
    RECT after{};
    WaitFor(
        p,
        [&] {
          GetWindowRect(face, &after);
          return after.left > before.left + 100 && after.right <= screenWidth;
        },
        kWindowLimitMs);
    c.check("a mouse drag moves the face and it is kept on the screen",
            after.left > before.left + 100 && after.right <= screenWidth && after.top > before.top,
            "from (" + std::to_string(before.left) + "," + std::to_string(before.top) + ") to (" +
                std::to_string(after.left) + "," + std::to_string(after.top) + ")-(" +
                std::to_string(after.right) + ") on a screen " + std::to_string(screenWidth) + " wide");
  }

  const vantary::platform::Window main = p.windows.findWindow("", vantary::e2e::kMainCaption);
  if (!c.check("vantary's main window is there", static_cast<bool>(main))) return c.finish();

  // The menu, opened by a real press and release of the mouse on the face's dot.
  HWND dot = nullptr;
  for (HWND ch = GetWindow(face, GW_CHILD); ch != nullptr && dot == nullptr;
       ch = GetWindow(ch, GW_HWNDNEXT)) {
    char buf[8] = {};
    GetWindowTextA(ch, buf, sizeof buf);
    if (std::string(buf) == std::string("·"_ansi)) dot = ch;
  }
  if (c.check("the face has its dot", dot != nullptr)) {
    RECT r{};
    GetWindowRect(dot, &r);
    SetCursorPos((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    INPUT clicks[2] = {};
    clicks[0].type = clicks[1].type = INPUT_MOUSE;
    clicks[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    clicks[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    SendInput(2, clicks, sizeof(INPUT));
    HWND menu = nullptr;
    WaitFor(
        p, [&] { return (menu = FindWindowA("#32768", nullptr)) != nullptr && IsWindowVisible(menu); },
        kWindowLimitMs);
    if (c.check("a click on the dot opens the menu", menu != nullptr && IsWindowVisible(menu))) {
      Settle(p, 500);
      shoot("menu", menu);
      // An item chosen from it by the keyboard, as a user does: "vie&w", then "ab&out".
      for (const WORD key : {WORD{'W'}, WORD{'O'}}) {
        INPUT press[2] = {};
        press[0].type = press[1].type = INPUT_KEYBOARD;
        press[0].ki.wVk = press[1].ki.wVk = key;
        press[1].ki.dwFlags = KEYEVENTF_KEYUP;
        SendInput(2, press, sizeof(INPUT));
        Settle(p, 300);
      }
      HWND about = nullptr;
      WaitFor(
          p, [&] { return about = FindForm("about1", true); }, kWindowLimitMs);
      c.check("the item chosen from the menu runs: about opens", about != nullptr);
      c.check("the menu closes",
              WaitFor(
                  p, [&] { return !IsWindowVisible(FindWindowA("#32768", nullptr)); }, kWindowLimitMs));
      if (about != nullptr) ShowWindow(about, SW_HIDE);
    }
  }

  // The editors and the help, about and credits windows, opened from the menu as another
  // program may, one at a time.
  struct Editor {
    const char* name;
    std::vector<MenuCommand> commands;
    const char* title;  // the caption of its own title strip
    int widthTwips;     // 0: no size given in twips
    int heightTwips;
  };
  const Editor editors[] = {
      {"customs", {MenuCommand::kEditCus}, " vantary : customs", 3735, 2160},
      {"vantary2", {MenuCommand::kMm, MenuCommand::kEditMul}, " vantary : messages", 0, 0},
      {"auto", {MenuCommand::kEditAscii}, " vantary :  ascii editor", 0, 0},
      {"color", {MenuCommand::kSdaf}, " vantary : color changer", 2400, 1950},
      {"help", {MenuCommand::kHelps}, " vantary : help", 0, 0},
      {"about1", {MenuCommand::kAbout}, " vantary : about", 0, 0},
      {"frmquorle", {MenuCommand::kGreets}, " vantary : greets", 0, 0},
  };
  for (const Editor& e : editors) {
    for (MenuCommand command : e.commands) vantary::e2e::PostCommand(p.windows, main, command);
    HWND w = nullptr;
    WaitFor(
        p, [&] { return w = FindForm(e.name, true); }, kWindowLimitMs);
    if (!c.check((std::string(e.name) + " opens from the menu").c_str(), w != nullptr)) continue;
    Settle(p, 500);
    const Shot s = shoot(e.name, w);
    const std::string texts = ChildTexts(w);
    c.check((std::string(e.name) + " shows its title").c_str(), texts.find(e.title) != std::string::npos,
            Quoted(texts));
    if (e.widthTwips > 0) {
      c.check((std::string(e.name) + " has its size in twips").c_str(),
              Near(s.width, e.widthTwips, tppX) && Near(s.height, e.heightTwips, tppY),
              std::to_string(s.width) + "x" + std::to_string(s.height) + " at " + std::to_string(tppX) +
                  " twips per pixel");
    }
    ShowWindow(w, SW_HIDE);
  }

  // The command list, shown by the user's chat command in the room.
  channel.ask("say " + channel.stateValue("screen-name") + ": .cmds");
  HWND coms = nullptr;
  WaitFor(
      p, [&] { return coms = FindForm("coms", true); }, kWindowLimitMs);
  if (c.check("the command list shows at the user's .cmds", coms != nullptr)) {
    Settle(p, 500);
    const Shot s = shoot("coms", coms);
    c.check("the command list has its width in twips", Near(s.width, 1815, tppX), std::to_string(s.width));
    ShowWindow(coms, SW_HIDE);
  }

  // What was said while away: members name the user in other case and spacing, one says a
  // line naming nobody, a watched member speaks, one repeats the auto-reply's answer. The
  // auto-reply answers each member who named the user once; at idle off the away window
  // lists the kept lines and away.log holds them.
  const Text user = channel.stateValue("screen-name");
  const auto answers = [&] {
    std::size_t n = 0;
    for (const Text& line : channel.ask("transcript").value_or(std::vector<Text>{}))
      n += line.rfind(user + ":\t", 0) == 0 && line.find(": gone: lunch") != Text::npos ? 1 : 0;
    return n;
  };
  const auto roomShows = [&](std::string_view part) {
    for (const Text& line : channel.ask("transcript").value_or(std::vector<Text>{}))
      if (line.find(part) != Text::npos) return true;
    return false;
  };
  vantary::e2e::PostCommand(p.windows, main, MenuCommand::kIdleOn);
  WaitFor(
      p, [&] { return roomShows("vantarý³ · engaged"_ansi); }, kLinesLimitMs);
  const std::vector<std::pair<Text, Text>> said = {
      {"Bob", "hey DEMOUSER are you there"},   {"Bob", "demo user, ping"}, {"Ann", "hello room"},
      {"River Stone", "just passing through"}, {"Bob", "demouser???"},     {"Ann", "hi demouser"},
      {"Cy", "gone: lunch, demouser"},
  };
  for (const auto& [sender, line] : said) channel.ask("say " + sender + ": " + line);
  WaitFor(
      p, [&] { return roomShows("vantarý³ · ann: gone: lunch"_ansi); }, kLinesLimitMs);
  vantary::e2e::PostCommand(p.windows, main, MenuCommand::kIdleOn);
  WaitFor(
      p, [&] { return roomShows("vantarý³ · dis-engaged"_ansi); }, kLinesLimitMs);
  c.check("the auto-reply answered Bob and Ann once each, and not the one repeating it", answers() == 2,
          std::to_string(answers()) + " answers");
  HWND away = nullptr;
  WaitFor(
      p, [&] { return away = FindForm("away", true); }, kWindowLimitMs);
  if (c.check("the away window shows at idle off", away != nullptr)) {
    Settle(p, 500);
    shoot("away", away);
    // The rows as the list answers another process: Wine gives them in UTF-16.
    std::vector<Text> rows;
    for (HWND ch = GetWindow(away, GW_CHILD); ch != nullptr; ch = GetWindow(ch, GW_HWNDNEXT)) {
      const LRESULT count = SendMessageW(ch, LB_GETCOUNT, 0, 0);
      for (LRESULT i = 0; i > LB_ERR && i < count; ++i) {
        wchar_t wide[512] = {};
        if (SendMessageW(ch, LB_GETTEXTLEN, static_cast<WPARAM>(i), 0) >= 512) continue;
        SendMessageW(ch, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(wide));
        char row[1024] = {};
        WideCharToMultiByte(CP_ACP, 0, wide, -1, row, sizeof row, nullptr, nullptr);
        const Text text(row);
        rows.push_back(text.size() > 7 ? text.substr(7) : text);  // without "HH:MM  "
      }
    }
    const std::vector<Text> kept = {"Bob: hey DEMOUSER are you there",
                                    "Bob: demo user, ping",
                                    "River Stone: just passing through",
                                    "Bob: demouser???",
                                    "Ann: hi demouser",
                                    "Cy: gone: lunch, demouser"};
    c.check("it lists exactly the lines that named the user or came from a watched member", rows == kept,
            vantary::e2e::QuotedAll(rows));
    const Text log = p.files.readFile(p.files.windowsFolder() + "\\away.log").value_or("");
    bool logged = true;
    for (const Text& line : kept) logged = logged && log.find("] " + line + "\r\n") != Text::npos;
    c.check("away.log holds them", logged, Quoted(log));
    ShowWindow(away, SW_HIDE);
  }

  vantary::e2e::PostCommand(p.windows, main, MenuCommand::kEnd);
  c.check("vantary closes after end", WaitFor(
                                          p, [&] { return !p.windows.exists(main); }, kWindowLimitMs));
  c.check("the host answers quit", channel.ask("quit").has_value());
  return c.finish();
}
