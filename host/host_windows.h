// The class names of the host's windows that the host access library looks for, in one
// place. The window system matches class names without regard to case.
#pragma once

#include <string_view>

namespace vantary::host {

inline constexpr std::string_view kFrameClass = "AOL Frame25";
inline constexpr std::string_view kMdiClass = "MDIClient";
inline constexpr std::string_view kChildClass = "AOL Child";
inline constexpr std::string_view kModalClass = "_AOL_Modal";
inline constexpr std::string_view kIconClass = "_AOL_Icon";
inline constexpr std::string_view kStaticClass = "_AOL_Static";
inline constexpr std::string_view kDialogClass = "#32770";

}  // namespace vantary::host
