// The settings store: INI keys and list files as they stand on disk and come back.
#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "platform/sim/sim_world.h"
#include "settings/settings_store.h"
#include "tests/sim_root.h"
#include "text/ansi.h"

namespace vantary::settings {
namespace {

using text::operator""_ansi;

// Files in memory; paths are matched without regard to case, as the file system does.
class MemoryFiles : public platform::Files {
 public:
  std::map<std::string, std::string> files;
  std::set<std::string> unreadable;
  bool failWrites = false;
  int writes = 0;

  Text programFolder() override { return "C:\\vantary"; }
  Text windowsFolder() override { return "C:\\windows"; }
  bool fileExists(std::string_view path) override { return files.contains(Key(path)); }
  std::optional<std::string> readFile(std::string_view path) override {
    auto it = files.find(Key(path));
    if (it == files.end() || unreadable.contains(Key(path))) return std::nullopt;
    return it->second;
  }
  bool writeFileAtomic(std::string_view path, std::string_view contents) override {
    if (failWrites) return false;
    ++writes;
    files[Key(path)] = std::string(contents);
    return true;
  }
  bool removeFile(std::string_view path) override { return files.erase(Key(path)) > 0; }

  std::string& at(std::string_view path) { return files[Key(path)]; }

 private:
  static std::string Key(std::string_view path) { return text::ToLower(path); }
};

constexpr std::string_view kCfg = "C:\\vantary\\etr.cfj";
constexpr std::string_view kList = "c:\\windows\\vantary123.ini";

TEST(SettingsStore, KeysAndSectionsMatchWithoutRegardToCase) {
  MemoryFiles f;
  f.at(kCfg) = "[VANTARI]\r\nTRIG=.\r\n[Été]\r\nÀLA=1\r\n"_ansi;
  EXPECT_EQ(ReadSetting(f, "vantari", "trig", kCfg), ".");
  EXPECT_EQ(ReadSetting(f, "vantari", "TRIG", "c:\\VANTARY\\ETR.CFJ"), ".");
  EXPECT_EQ(ReadSetting(f, "été"_ansi, "àla"_ansi, kCfg), "1");
}

TEST(SettingsStore, MissingFileSectionOrKeyReadsEmpty) {
  MemoryFiles f;
  f.at(kCfg) = "[vantari]\r\ntrig=.\r\nbare\r\n";
  EXPECT_EQ(ReadSetting(f, "vantari", "trig", "c:\\missing.cfj"), "");
  EXPECT_EQ(ReadSetting(f, "other", "trig", kCfg), "");
  EXPECT_EQ(ReadSetting(f, "vantari", "int", kCfg), "");
  EXPECT_EQ(ReadSetting(f, "vantari", "bare", kCfg), "");
  EXPECT_EQ(ReadSetting(f, "vantari", "", kCfg), "");
  EXPECT_EQ(ReadSetting(f, "", "trig", kCfg), "");
  EXPECT_EQ(ReadSetting(f, "vantari", "trig", ""), "");
}

TEST(SettingsStore, WrittenKeysStandInUpperCaseOnCrLfLines) {
  MemoryFiles f;
  ASSERT_TRUE(WriteSetting(f, "vantari", "trig", ".", kCfg));
  ASSERT_TRUE(WriteSetting(f, "vantari", "int", "5", kCfg));
  ASSERT_TRUE(WriteSetting(f, "vantari", "trig", "!", kCfg));
  ASSERT_TRUE(WriteSetting(f, "vantari", "ÿes"_ansi, "1", kCfg));
  EXPECT_EQ(f.at(kCfg), "[vantari]\r\nTRIG=!\r\nINT=5\r\nŸES=1\r\n"_ansi);
  EXPECT_EQ(ReadSetting(f, "vantari", "trig", kCfg), "!");
  const int writes = f.writes;
  EXPECT_TRUE(WriteSetting(f, "vantari", "int", "5", kCfg));
  EXPECT_EQ(f.writes, writes) << "an unchanged value does not rewrite the file";
}

TEST(SettingsStore, RewriteKeepsOtherLinesAndAppendsNewKeysAndSections) {
  MemoryFiles f;
  f.at(kCfg) = "; mine\n[vantari]\n  trig = . \njunk\n\n[other]\nx=1";
  ASSERT_TRUE(WriteSetting(f, "vantari", "int", "3", kCfg));
  ASSERT_TRUE(WriteSetting(f, "vantari", "trig", "!", kCfg));
  ASSERT_TRUE(WriteSetting(f, "new", "k", "v", kCfg));
  EXPECT_EQ(f.at(kCfg),
            "; mine\r\n[vantari]\r\ntrig=!\r\njunk\r\nINT=3\r\n\r\n[other]\r\nx=1\r\n\r\n[new]\r\nK=v\r\n");
}

TEST(SettingsStore, EveryLineEndReadsAndARewriteEndsEachLineWithCrLf) {
  // The same file as editors leave it: CR LF, LF, a lone CR, a mix, no end on the last
  // line, and blank lines kept where they stood.
  const std::string_view files[] = {
      "[vantari]\r\ntrig=.\r\n\r\nint=3\r\n",
      "[vantari]\ntrig=.\n\nint=3\n",
      "[vantari]\rtrig=.\r\rint=3\r",
      "[vantari]\r\ntrig=.\n\rint=3",
  };
  for (std::string_view contents : files) {
    SCOPED_TRACE(::testing::PrintToString(std::string(contents)));
    MemoryFiles f;
    f.at(kCfg) = std::string(contents);
    EXPECT_EQ(ReadSetting(f, "vantari", "trig", kCfg), ".");
    EXPECT_EQ(ReadSetting(f, "vantari", "int", kCfg), "3");
    ASSERT_TRUE(WriteSetting(f, "vantari", "int", "4", kCfg));
    EXPECT_EQ(f.at(kCfg), "[vantari]\r\ntrig=.\r\n\r\nint=4\r\n");  // the key keeps its spelling
  }
}

TEST(SettingsStore, FirstSectionAndFirstKeyWin) {
  MemoryFiles f;
  f.at(kCfg) = "trig=top\r\n[vantari]\r\ntrig=1\r\ntrig=2\r\n[vantari]\r\ntrig=3\r\nint=4\r\n";
  EXPECT_EQ(ReadSetting(f, "vantari", "trig", kCfg), "1");
  EXPECT_EQ(ReadSetting(f, "vantari", "int", kCfg), "");
}

TEST(SettingsStore, ValueWithLineBreaksStaysOnItsLine) {
  MemoryFiles f;
  ASSERT_TRUE(WriteSetting(f, "vantari", "reason", "x", kCfg));
  ASSERT_TRUE(WriteSetting(f, "vantari", "trig", ".", kCfg));
  ASSERT_TRUE(WriteSetting(f, "vantari", "reason", "away\r\n[vantari]\ntrig=evil\rend", kCfg));
  EXPECT_EQ(f.at(kCfg), "[vantari]\r\nREASON=away [vantari] trig=evil end\r\nTRIG=.\r\n");
  EXPECT_EQ(ReadSetting(f, "vantari", "trig", kCfg), ".");
}

TEST(SettingsStore, FreeTextsComeBackAsWritten) {
  for (std::string value :
       {" away ", "\"quoted\"", "'x'", "\"", "'", "\"a", "tab\t", "a = b", ";x", "[x]", ""}) {
    MemoryFiles f;
    ASSERT_TRUE(WriteSetting(f, "vantari", "reason", value, kCfg));
    EXPECT_EQ(ReadSetting(f, "vantari", "reason", kCfg), value) << f.at(kCfg);
  }
  MemoryFiles f;
  f.at(kCfg) = "[vantari]\r\na = \"hi there\" \r\nb='x'\r\nc=\"\r\nd=\"x'\r\n";
  EXPECT_EQ(ReadSetting(f, "vantari", "a", kCfg), "hi there");
  EXPECT_EQ(ReadSetting(f, "vantari", "b", kCfg), "x");
  EXPECT_EQ(ReadSetting(f, "vantari", "c", kCfg), "\"");
  EXPECT_EQ(ReadSetting(f, "vantari", "d", kCfg), "\"x'");
}

TEST(SettingsStore, LongValuesComeBackCutTo749Characters) {
  MemoryFiles f;
  const std::string value(1000, 'v');
  ASSERT_TRUE(WriteSetting(f, "vantari", "cus1", value, kCfg));
  EXPECT_EQ(ReadSetting(f, "vantari", "cus1", kCfg), value.substr(0, 749));
}

TEST(SettingsStore, FailedOrUnsafeWriteLeavesTheOldFile) {
  MemoryFiles f;
  const std::string old = "[vantari]\r\nTRIG=.\r\n";
  f.at(kCfg) = old;
  f.failWrites = true;
  EXPECT_FALSE(WriteSetting(f, "vantari", "trig", "!", kCfg));
  EXPECT_EQ(f.at(kCfg), old);
  f.failWrites = false;
  f.unreadable.insert(text::ToLower(kCfg));
  EXPECT_FALSE(WriteSetting(f, "vantari", "int", "1", kCfg));
  EXPECT_EQ(f.at(kCfg), old);
  f.unreadable.clear();
  EXPECT_FALSE(WriteSetting(f, "vantari", "a=b", "1", kCfg));
  EXPECT_FALSE(WriteSetting(f, "vantari", "", "1", kCfg));
  EXPECT_FALSE(WriteSetting(f, "", "trig", "1", kCfg));
  EXPECT_FALSE(WriteSetting(f, "a\r\nb", "trig", "1", kCfg));
  EXPECT_EQ(f.at(kCfg), old);
}

TEST(SettingsStore, DamagedFilesReadWithoutHarm) {
  std::string garbage;
  for (int i = 0; i < 4096; ++i) garbage += static_cast<char>((i * 7919) & 0xFF);
  const std::string longLine(100000, 'x');
  constexpr char kNul[] = "[vantari]\r\ntr\0ig=1\r\ntrig=2\0tail\r\n";
  const std::string nul(kNul, sizeof kNul - 1);
  for (const std::string& contents : {garbage, longLine, std::string("trig=1\r\nno sections\r\n"), nul,
                                      "[vantari]\r\ntrig=" + longLine + "\r\n"}) {
    MemoryFiles f;
    f.at(kCfg) = contents;
    const Text value = ReadSetting(f, "vantari", "trig", kCfg);
    EXPECT_LE(value.size(), kSettingValueLimit);
    ASSERT_TRUE(WriteSetting(f, "vantari", "int", "5", kCfg));
    EXPECT_EQ(ReadSetting(f, "vantari", "int", kCfg), "5");
    EXPECT_EQ(ReadSetting(f, "vantari", "trig", kCfg), value) << "other keys survive";
  }
  MemoryFiles f;
  f.at(kCfg) = nul;
  EXPECT_EQ(ReadSetting(f, "vantari", "trig", kCfg), "2") << "a value ends at a NUL";
  f.at(kCfg) = "[s]\rk=v\r";  // lone CR line ends
  EXPECT_EQ(ReadSetting(f, "s", "k", kCfg), "v");
}

// Bytes of a text as editors save it with a byte-order mark.
std::string Utf16Le(std::u16string_view s) {
  std::string out = "\xFF\xFE";
  for (char16_t u : s) out += {static_cast<char>(u & 0xFF), static_cast<char>(u >> 8)};
  return out;
}
std::string Utf16Be(std::u16string_view s) {
  std::string out = "\xFE\xFF";
  for (char16_t u : s) out += {static_cast<char>(u >> 8), static_cast<char>(u & 0xFF)};
  return out;
}
std::string Utf8Marked(std::u16string_view s) {
  std::string out = "\xEF\xBB\xBF";
  for (std::size_t i = 0; i < s.size(); ++i) {
    char32_t c = s[i];
    if (c >= 0xD800 && c < 0xDC00 && i + 1 < s.size()) c = 0x10000 + ((c - 0xD800) << 10) + (s[++i] - 0xDC00);
    const auto b = [](char32_t v) { return static_cast<char>(v); };
    if (c < 0x80) {
      out += b(c);
    } else if (c < 0x800) {
      out += {b(0xC0 | (c >> 6)), b(0x80 | (c & 0x3F))};
    } else if (c < 0x10000) {
      out += {b(0xE0 | (c >> 12)), b(0x80 | ((c >> 6) & 0x3F)), b(0x80 | (c & 0x3F))};
    } else {
      out += {b(0xF0 | (c >> 18)), b(0x80 | ((c >> 12) & 0x3F)), b(0x80 | ((c >> 6) & 0x3F)),
              b(0x80 | (c & 0x3F))};
    }
  }
  return out;
}

// A file saved with a mark reads as Windows-1252 (other characters as '?'), and a rewrite
// keeps its encoding, its mark and every character of the lines it did not change.
TEST(SettingsStore, MarkedUnicodeFilesReadAndKeepTheirEncoding) {
  const std::u16string_view stored = u"; Привет \U0001F600\n[vantari]\ntrig=!\nreason=café ☕ €\n";
  const std::u16string_view rewritten =
      u"; Привет \U0001F600\r\n[vantari]\r\ntrig=é\r\nreason=café ☕ €\r\nINT=5\r\n";
  const struct {
    const char* name;
    std::string (*encode)(std::u16string_view);
  } cases[] = {{"UTF-16 LE", Utf16Le}, {"UTF-16 BE", Utf16Be}, {"UTF-8", Utf8Marked}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    MemoryFiles f;
    f.at(kCfg) = c.encode(stored);
    EXPECT_EQ(ReadSetting(f, "vantari", "trig", kCfg), "!");
    EXPECT_EQ(ReadSetting(f, "vantari", "reason", kCfg), "café ? €"_ansi);
    EXPECT_TRUE(WriteSetting(f, "vantari", "trig", "!", kCfg));
    EXPECT_EQ(f.writes, 0) << "an unchanged value does not rewrite the file";
    ASSERT_TRUE(WriteSetting(f, "vantari", "trig", "é"_ansi, kCfg));
    ASSERT_TRUE(WriteSetting(f, "vantari", "int", "5", kCfg));
    EXPECT_EQ(f.at(kCfg), c.encode(rewritten));
    EXPECT_EQ(ReadSetting(f, "vantari", "trig", kCfg), "é"_ansi);
  }
}

// A file another program holds, or one marked read-only, is never replaced, and the store
// says so.
TEST(SettingsStore, RefusedWriteIsReportedAndLeavesTheFile) {
  platform::sim::SimWorld world(vantary::testing::FreshRoot());
  platform::Files& f = world.addProcess("vantary").platform().files;
  const Text cfg = f.programFolder() + "\\etr.cfj";
  const Text list = f.programFolder() + "\\ran.cfj";
  const std::string old = "[vantari]\r\nTRIG=.\r\n";
  for (const bool held : {true, false}) {
    SCOPED_TRACE(held ? "held" : "read-only");
    ASSERT_TRUE(f.writeFileAtomic(cfg, old));
    ASSERT_TRUE(f.writeFileAtomic(list, "brb\r\n"));
    for (const Text& file : {cfg, list})
      held ? world.setFileLocked(file, true) : world.setFileReadOnly(file, true);
    EXPECT_FALSE(WriteSetting(f, "vantari", "trig", "!", cfg));
    const Text entries[] = {"food"};
    EXPECT_FALSE(SaveList(f, list, entries));
    for (const Text& file : {cfg, list})
      held ? world.setFileLocked(file, false) : world.setFileReadOnly(file, false);
    EXPECT_EQ(f.readFile(cfg), old);
    EXPECT_EQ(f.readFile(list), std::string("brb\r\n"));
  }
}

TEST(SettingsStore, ListMarkerCreatesAFileReadAsOneEntry) {
  MemoryFiles f;
  EXPECT_FALSE(FileExists(f, kList));
  ASSERT_TRUE(WriteSetting(f, "", "", "›"_ansi, kList));
  EXPECT_TRUE(FileExists(f, kList));
  EXPECT_EQ(ReadListFile(f.at(kList)), std::vector<Text>{Text("›"_ansi)});
  f.at(kList) = "kept\r\n";
  EXPECT_TRUE(WriteSetting(f, "", "", "›"_ansi, kList));
  EXPECT_EQ(f.at(kList), "kept\r\n");
  EXPECT_FALSE(FileExists(f, ""));
}

TEST(ListFile, ReadsCommaSeparatedFields) {
  const struct {
    std::string contents;
    std::vector<Text> entries;
  } cases[] = {
      {"brb, food\r\n", {"brb", "food"}},
      {"\"a, b\",c\r\n", {"a, b", "c"}},
      {"  lead\r\ntrail \t\r\n", {"lead", "trail"}},
      {"\r\n\r\n  \r\nx", {"x"}},
      {"a,,b\nc,\nd", {"a", "", "b", "c", "d"}},
      {"one\rtwo", {"one", "two"}},
      {"\"open, ended", {"open, ended"}},
      {"\"a\" b,c", {"a", "b", "c"}},
      {"say \"hi\"", {"say \"hi\""}},
      {"\"\"\r\n", {""}},
      {"", {}},
  };
  for (const auto& c : cases) EXPECT_EQ(ReadListFile(c.contents), c.entries) << c.contents;
}

TEST(ListFile, SavedEntriesComeBackWhole) {
  MemoryFiles f;
  const std::vector<Text> entries = {"brb",        "back soon, eating", " lead",   "trail ", "",
                                     "say \"hi\"", "\"q\" x",           "x,\"y\"", "a\r\nb"};
  ASSERT_TRUE(SaveList(f, "C:\\vantary\\ran.cfj", entries));
  EXPECT_EQ(f.at("C:\\vantary\\ran.cfj"),
            "brb\r\n\"back soon, eating\"\r\n\" lead\"\r\n\"trail \"\r\n\"\"\r\nsay \"hi\"\r\n"
            "\"'q' x\"\r\n\"x,'y'\"\r\na b\r\n");
  const std::vector<Text> expected = {
      "brb", "back soon, eating", " lead", "trail ", "", "say \"hi\"", "'q' x", "x,'y'", "a b"};
  EXPECT_EQ(ReadListFile(f.at("C:\\vantary\\ran.cfj")), expected);
  f.failWrites = true;
  EXPECT_FALSE(SaveList(f, "C:\\vantary\\ran.cfj", entries));
}

std::vector<Text> Rows(platform::WindowSystem& ws, platform::Window list, bool combo) {
  namespace msg = platform::msg;
  std::vector<Text> rows;
  const auto count = ws.send(list, combo ? msg::kCbGetCount : msg::kLbGetCount);
  for (platform::LResult i = 0; count && i < *count; ++i) {
    const auto index = static_cast<platform::WParam>(i);
    const auto length = ws.send(list, combo ? msg::kCbGetLbTextLen : msg::kLbGetTextLen, index);
    std::string buffer(static_cast<std::size_t>(length.value_or(0)) + 1, '\0');
    ws.send(list, combo ? msg::kCbGetLbText : msg::kLbGetText, index,
            reinterpret_cast<platform::LParam>(buffer.data()));
    rows.push_back(buffer.substr(0, buffer.size() - 1));
  }
  return rows;
}

TEST(ListFile, LoadListFillsListBoxesAndComboBoxes) {
  const auto folder =
      std::filesystem::temp_directory_path() / ("vantary-settings-" + std::to_string(::getpid()));
  {
    platform::sim::SimWorld world(folder);
    platform::Platform& p = world.addProcess("vantary").platform();
    platform::ClassSpec combo;
    combo.name = "ThunderComboBox";
    combo.base = platform::BaseKind::kComboBox;
    ASSERT_TRUE(p.windows.registerClass(combo));
    platform::WindowSpec desc;
    desc.className = "#32770";
    const platform::Window form = p.windows.create(desc);
    desc.parent = form;
    desc.style.child = true;
    const Text path = p.files.programFolder() + "\\ran.cfj";
    ASSERT_TRUE(p.files.writeFileAtomic(path, "brb, food\r\n\"a, b\"\r\n"));
    const std::vector<Text> expected = {"brb", "food", "a, b"};
    for (const char* cls : {"ListBox", "COMBOBOX", "ThunderComboBox"}) {
      desc.className = cls;
      const platform::Window list = p.windows.create(desc);
      ASSERT_TRUE(list) << cls;
      LoadList(p, path, list);
      LoadList(p, p.files.programFolder() + "\\missing.cfj", list);
      EXPECT_EQ(Rows(p.windows, list, Text(cls) != "ListBox"), expected) << cls;
    }
  }
  std::error_code ec;
  std::filesystem::remove_all(folder, ec);
}

}  // namespace
}  // namespace vantary::settings
