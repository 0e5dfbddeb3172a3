// Window `away`: the room lines the away log kept while the user was away, newest last,
// with a button that clears them and one that puts the window away.
#pragma once

#include <functional>
#include <vector>

#include "toolkit/form.h"

namespace vantary::windows {

inline constexpr std::string_view kAwayCaption = "vantary : away";

// Made hidden; the console fills and shows it.
class AwayWindow : public toolkit::Form {
 public:
  explicit AwayWindow(platform::Platform& p, std::function<void()> onClear);

  // The rows the list shows, newest last; the newest is scrolled into view.
  void setRows(const std::vector<text::Text>& rows);
};

}  // namespace vantary::windows
