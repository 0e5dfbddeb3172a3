// Where the program's settings files live.
#include "settings/program_files.h"

namespace vantary::settings {

SettingsPaths PathsOf(platform::Files& files) {
  const text::Text program = files.programFolder();
  const text::Text windows = files.windowsFolder();
  return SettingsPaths{program + "\\etr.cfj",        windows + "\\vantari4583.dat",
                       windows + "\\vantary12.ini",  windows + "\\vantary122.ini",
                       windows + "\\vantary123.ini", program + "\\ran.cfj"};
}

}  // namespace vantary::settings
