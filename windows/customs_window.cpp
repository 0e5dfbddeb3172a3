// Window `customs`: the four custom lines Text1..Text4.
#include "windows/customs_window.h"

#include "settings/program_files.h"
#include "settings/settings_store.h"

namespace vantary::windows {

using platform::Platform;
using text::Text;
using toolkit::ControlType;
using toolkit::Form;
using toolkit::FormDesc;

std::unique_ptr<Form> MakeCustomsWindow(Platform& p, std::string_view dataFile) {
  auto form = std::make_unique<Form>(
      p, FormDesc{.name = "customs", .caption = "customs", .rect = {200, 200, 449, 344}});
  form->add({.name = "Label1",
             .type = ControlType::kLabel,
             .caption = " vantary : customs",
             .rect = {0, 0, 200, 16}});
  form->add({.name = "Label13", .type = ControlType::kLabel, .rect = {200, 0, 230, 16}});
  form->add({.name = "Label2", .type = ControlType::kLabel, .caption = "_", .rect = {232, 0, 248, 16}});
  for (int i = 1; i <= 4; ++i) {
    const int top = 20 + (i - 1) * 24;
    const Text n = std::to_string(i);
    form->add({.name = "Text" + n,
               .type = ControlType::kTextBox,
               .caption = settings::ReadSetting(p.files, settings::kSection, "cus" + n, dataFile),
               .rect = {8, top, 240, top + 20},
               .visible = i == 1});
  }
  return form;
}

}  // namespace vantary::windows
