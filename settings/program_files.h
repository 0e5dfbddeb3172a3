// The program's own settings files: where each lives and the one section every key of
// them is kept in.
#pragma once

#include <string_view>

#include "platform/files.h"
#include "text/ansi.h"

namespace vantary::settings {

// The section of every key of the program's settings files.
inline constexpr std::string_view kSection = "vantari";

// The settings files, by their names in the program's folder and the Windows folder.
struct SettingsPaths {
  text::Text config;      // <program folder>\etr.cfj: console options
  text::Text data;        // <Windows folder>\vantari4583.dat: colours, decorations, overall time
  text::Text asciiList1;  // <Windows folder>\vantary12.ini ... vantary123.ini: decoration choices
  text::Text asciiList2;
  text::Text asciiList3;
  text::Text messages;  // <program folder>\ran.cfj: the multiple messages
};
SettingsPaths PathsOf(platform::Files& files);

}  // namespace vantary::settings
