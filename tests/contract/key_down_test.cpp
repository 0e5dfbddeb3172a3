// The program's windows see the keys typed into their text boxes and combo boxes, the
// edit part of a drop-down combo box included, once each.
#include <string>
#include <vector>

#include "tests/contract/contract_fixture.h"
#include "toolkit/form.h"

namespace vantary::contract {
namespace {

using toolkit::ControlType;

TEST_F(ContractTest, EnterReachesTheKeyHandlerOfATextBoxAndOfAComboBoxOnce) {
  toolkit::Form form(p(), {.name = "keys", .caption = uniqueClass("keys"), .rect = {100, 100, 400, 300}});
  const Window box = form.add({.name = "Text1", .type = ControlType::kTextBox, .rect = {0, 0, 120, 20}});
  const Window combo = form.add({.name = "Combo1", .type = ControlType::kComboBox, .rect = {0, 30, 120, 50}});
  std::vector<std::string> keys;
  for (const char* name : {"Text1", "Combo1"}) {
    form.onKeyDown(name,
                   [&keys, name](int key) { keys.push_back(std::string(name) + " " + std::to_string(key)); });
  }
  // Where the user types into the combo box: its edit part, where that is a window of its
  // own (the real system's), or the combo box itself (the sim's).
  Window comboEdit = ws().firstChild(combo, "Edit");
  if (!comboEdit) comboEdit = combo;

  ws().sendKey(box, msg::kVkReturn);
  ws().sendKey(comboEdit, msg::kVkReturn);
  // Sent to the combo box itself, as another program may: still one key.
  ws().sendKey(combo, msg::kVkReturn);
  EXPECT_EQ(keys, (std::vector<std::string>{"Text1 13", "Combo1 13", "Combo1 13"}));

  // The combo box still takes what is typed into it.
  ws().sendChar(comboEdit, 'a');
  ws().sendChar(comboEdit, 'b');
  EXPECT_EQ(form.text("Combo1"), "ab");
  EXPECT_EQ(keys.size(), 3u);
}

}  // namespace
}  // namespace vantary::contract
