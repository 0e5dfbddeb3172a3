// The include rules of the source tree: every folder's files include only the folders the
// README's layout table allows it, and only the Win32 backend and its tests include the
// Windows API. The table is the one place the rules are written down; this test reads it.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace vantary::testing {
namespace {

namespace fs = std::filesystem;

constexpr std::string_view kWindowsApi = "the Windows API";
constexpr std::string_view kEverything = "everything";
// The headers of the Windows API the tree may name.
const std::set<std::string> kWindowsHeaders = {"windows.h", "commctrl.h", "shellapi.h", "mmsystem.h",
                                               "winuser.h", "wingdi.h",   "shlobj.h",   "objbase.h"};

// A folder's row: the folders it may include besides its own, and whether it may include
// the Windows API. `everything` allows every folder and the API.
struct Rule {
  std::set<std::string> mayInclude;
  bool windowsApi = false;
  bool everything = false;
};
using Rules = std::map<std::string, Rule>;  // folder ("platform/sim/") -> rule

std::vector<std::string> Backticked(const std::string& cell) {
  std::vector<std::string> names;
  static const std::regex quoted("`([^`]+)`");
  for (auto it = std::sregex_iterator(cell.begin(), cell.end(), quoted); it != std::sregex_iterator(); ++it) {
    names.push_back((*it)[1]);
  }
  return names;
}

std::vector<std::string> Cells(const std::string& row) {
  std::vector<std::string> cells;
  std::stringstream in(row);
  std::string cell;
  std::getline(in, cell, '|');  // before the first bar
  while (std::getline(in, cell, '|')) cells.push_back(cell);
  if (!cells.empty() && cells.back().find_first_not_of(" \t\r") == std::string::npos) cells.pop_back();
  return cells;
}

// The rows of the table under "## Layout" whose last column is "may include".
Rules ParseLayoutTable(std::istream& readme) {
  Rules rules;
  std::string line;
  bool inSection = false;
  while (std::getline(readme, line)) {
    if (line.rfind("## ", 0) == 0) {
      inSection = line == "## Layout";
      continue;
    }
    if (!inSection || line.rfind("| `", 0) != 0) continue;
    const std::vector<std::string> cells = Cells(line);
    if (cells.size() < 3) continue;
    Rule rule;
    const std::string& allowed = cells.back();
    rule.windowsApi = allowed.find(kWindowsApi) != std::string::npos;
    rule.everything = allowed.find(kEverything) != std::string::npos;
    for (const std::string& folder : Backticked(allowed)) rule.mayInclude.insert(folder);
    for (const std::string& folder : Backticked(cells.front())) rules[folder] = rule;
  }
  return rules;
}

// The deepest folder of the table that holds `path`, or "" for none.
std::string FolderOf(const Rules& rules, const std::string& path) {
  std::string best;
  for (const auto& [folder, rule] : rules) {
    if (path.rfind(folder, 0) == 0 && folder.size() > best.size()) best = folder;
  }
  return best;
}

// The crossings in one file: each include the rules do not allow, as "file: include".
std::vector<std::string> Crossings(const Rules& rules, const std::string& path, std::istream& source) {
  std::vector<std::string> found;
  const std::string folder = FolderOf(rules, path);
  if (folder.empty()) return {path + ": in no folder of the layout table"};
  const Rule& rule = rules.at(folder);
  static const std::regex include(R"(^\s*#\s*include\s*([<"])([^>"]+)[>"])");
  std::string line;
  std::smatch m;
  while (std::getline(source, line)) {
    if (!std::regex_search(line, m, include)) continue;
    const std::string target = m[2];
    if (m[1] == "<") {
      std::string lower = target;
      std::transform(lower.begin(), lower.end(), lower.begin(),
                     [](unsigned char c) { return std::tolower(c); });
      if (kWindowsHeaders.contains(lower) && !rule.windowsApi && !rule.everything) {
        found.push_back(path + ": <" + target + ">");
      }
      continue;
    }
    const std::string to = FolderOf(rules, target);
    if (to == folder || rule.everything || rule.mayInclude.contains(to)) continue;
    found.push_back(path + ": \"" + target + "\"");
  }
  return found;
}

const fs::path kRoot = VANTARY_SOURCE_DIR;

Rules ReadmeRules() {
  std::ifstream readme(kRoot / "README.md");
  return ParseLayoutTable(readme);
}

TEST(Layers, EveryIncludeOfTheTreeStaysWithinItsFoldersRow) {
  const Rules rules = ReadmeRules();
  ASSERT_GE(rules.size(), 10u) << "the README's layout table was not found";
  std::vector<std::string> crossings;
  int files = 0;
  for (auto it = fs::recursive_directory_iterator(kRoot); it != fs::recursive_directory_iterator(); ++it) {
    const std::string name = it->path().filename().string();
    if (it->is_directory() && (name.starts_with(".") || name.starts_with("build"))) {
      it.disable_recursion_pending();
      continue;
    }
    const std::string ext = it->path().extension().string();
    if (!it->is_regular_file() || (ext != ".h" && ext != ".cpp")) continue;
    const std::string path = fs::relative(it->path(), kRoot).generic_string();
    std::ifstream source(it->path());
    for (std::string& c : Crossings(rules, path, source)) crossings.push_back(std::move(c));
    ++files;
  }
  EXPECT_GT(files, 100);
  EXPECT_EQ(crossings, std::vector<std::string>{});
}

// The rules as the README states them catch a crossing: a toolkit file reaching up into
// the console, the host library naming a window of the program, and a console file
// calling the system directly.
TEST(Layers, APlantedCrossingIsFound) {
  const Rules rules = ReadmeRules();
  const struct {
    std::string path;
    std::string source;
    std::vector<std::string> expected;
  } cases[] = {
      {"toolkit/form.cpp",
       "#include \"toolkit/form.h\"\n#include \"console/console.h\"\n",
       {"toolkit/form.cpp: \"console/console.h\""}},
      {"host/chat_room.cpp",
       "  #  include \"windows/intro.h\"\n#include \"platform/platform.h\"\n",
       {"host/chat_room.cpp: \"windows/intro.h\""}},
      {"console/session.cpp",
       "#include <Windows.h>\n#include <vector>\n",
       {"console/session.cpp: <Windows.h>"}},
      {"platform/win32/x.cpp", "#include <windows.h>\n#include \"platform/platform.h\"\n", {}},
      {"app/vantary_main.cpp", "#include \"console/program.h\"\n#include \"platform/win32/x.h\"\n", {}},
      {"stray/file.cpp", "", {"stray/file.cpp: in no folder of the layout table"}},
  };
  for (const auto& c : cases) {
    std::istringstream source(c.source);
    EXPECT_EQ(Crossings(rules, c.path, source), c.expected) << c.path;
  }
}

}  // namespace
}  // namespace vantary::testing
