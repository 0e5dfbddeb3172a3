// The program's own settings files: where each lives and the one section every key of
// them is kept in.
#pragma once

#include <string_view>

#include "platform/files.h"
#include "text/ansi.h"

namespace vantary::settings {

// The section of every key of the program's settings files.
inline constexpr std::string_view kSection = "vantari";

// The folder, under the user's own application-data folder, that holds the settings files
// of a folder the user cannot write.
inline constexpr std::string_view kUserFolderName = "vantary";

// The settings files, by their names in the program's folder and the Windows folder.
struct SettingsPaths {
  text::Text config;      // <program folder>\etr.cfj: console options
  text::Text data;        // <Windows folder>\vantari4583.dat: colours, decorations, overall time
  text::Text asciiList1;  // <Windows folder>\vantary12.ini ... vantary123.ini: decoration choices
  text::Text asciiList2;
  text::Text asciiList3;
  text::Text messages;  // <program folder>\ran.cfj: the multiple messages
  text::Text journal;   // beside the data file, vantari4583.jnl: an unfinished session
  text::Text awayLog;   // beside the data file, away.log: what was said while the user was away
  // Set when the files of a folder the user cannot write are kept in the user's own
  // folder from this start on (none of them was there yet): that folder and the folder
  // they would have been in, for telling the user once.
  text::Text movedTo;
  text::Text movedFrom;
};

// Where the files are. Each folder's files stay in it where the user can write it (so old
// machines and existing users find them where they always were). Where the user cannot
// (the Windows folder of a current system for a standard user), they are kept in
// <application data>\vantary instead; files already there are read from there first.
SettingsPaths PathsOf(platform::Files& files);

}  // namespace vantary::settings
