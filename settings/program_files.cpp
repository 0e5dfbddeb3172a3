// Where the program's settings files live.
#include "settings/program_files.h"

#include <initializer_list>
#include <optional>
#include <string>

namespace vantary::settings {

using text::Text;

namespace {

// The folder one group of files is kept in: `home`, or the user's own folder when the
// files are there already or `home` cannot be written. `moved` tells the user's folder was
// taken for the first time.
Text FolderFor(platform::Files& files, const Text& home, std::initializer_list<std::string_view> names,
               bool& moved) {
  const Text base = files.userDataFolder();
  if (base.empty()) return home;
  const Text own = base + "\\" + Text(kUserFolderName);
  for (std::string_view name : names) {
    if (files.fileExists(own + "\\" + Text(name))) return own;
  }
  if (files.folderWritable(home) || !files.folderWritable(own)) return home;
  // The files the folder holds from the time it could be written (a machine whose user
  // lost the right to write there) go along, so nothing stored is left behind.
  for (std::string_view name : names) {
    const Text from = home + "\\" + Text(name);
    if (!files.fileExists(from)) continue;
    if (const std::optional<std::string> contents = files.readFile(from)) {
      files.writeFileAtomic(own + "\\" + Text(name), *contents);
    }
  }
  moved = true;
  return own;
}

}  // namespace

SettingsPaths PathsOf(platform::Files& files) {
  const Text programHome = files.programFolder();
  const Text windowsHome = files.windowsFolder();
  bool programMoved = false;
  bool windowsMoved = false;
  const Text program = FolderFor(files, programHome, {"etr.cfj", "ran.cfj"}, programMoved);
  const Text windows =
      FolderFor(files, windowsHome, {"vantari4583.dat", "vantary12.ini", "vantary122.ini", "vantary123.ini"},
                windowsMoved);
  SettingsPaths paths{program + "\\etr.cfj",         windows + "\\vantari4583.dat",
                      windows + "\\vantary12.ini",   windows + "\\vantary122.ini",
                      windows + "\\vantary123.ini",  program + "\\ran.cfj",
                      windows + "\\vantari4583.jnl", windows + "\\away.log"};
  if (windowsMoved) {
    paths.movedTo = windows;
    paths.movedFrom = programMoved ? windowsHome + " and " + programHome : windowsHome;
  } else if (programMoved) {
    paths.movedTo = program;
    paths.movedFrom = programHome;
  }
  return paths;
}

}  // namespace vantary::settings
