// The program's windows: named controls, events by name, timers, and unloading.
#include "toolkit/form.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "platform/sim/sim_world.h"
#include "tests/sim_root.h"

namespace vantary::toolkit {
namespace {

namespace msg = platform::msg;
using platform::sim::SimWorld;

using vantary::testing::FreshRoot;

class FormTest : public ::testing::Test {
 protected:
  FormTest() : world_(FreshRoot()), process_(world_.addProcess("vantary")), p_(process_.platform()) {}

  FormDesc Desc(const char* name) {
    FormDesc d;
    d.name = name;
    d.caption = name;
    d.rect = {100, 100, 400, 300};
    return d;
  }

  SimWorld world_;
  platform::sim::SimProcess& process_;
  Platform& p_;
};

TEST_F(FormTest, ControlsAreFoundAndReadByName) {
  Form form(p_, Desc("vantary"));
  form.add({.name = "m", .type = ControlType::kLabel, .caption = "59", .rect = {0, 0, 20, 10}});
  form.add({.name = "txttrig",
            .type = ControlType::kTextBox,
            .caption = ".",
            .rect = {0, 20, 50, 40},
            .visible = false});
  EXPECT_EQ(form.text("m"), "59");
  EXPECT_EQ(form.number("m"), 59);
  EXPECT_EQ(form.text("txttrig"), ".");
  form.setText("txttrig", "!");
  EXPECT_EQ(form.text("txttrig"), "!");
  EXPECT_FALSE(form.controlVisible("txttrig"));
  EXPECT_TRUE(form.controlVisible("m"));
  EXPECT_EQ(form.nameOf(form.control("m")), "m");
  // A missing control reads as "" and takes writes without effect.
  EXPECT_EQ(form.text("nothere"), "");
  EXPECT_EQ(form.number("nothere"), 0);
  form.setText("nothere", "x");
  EXPECT_FALSE(form.control("nothere"));
}

TEST_F(FormTest, EventsReachTheirHandlersByName) {
  Form form(p_, Desc("customs"));
  form.show();
  const Window view = form.add(
      {.name = "SSRibbon1", .type = ControlType::kButton, .caption = "view", .rect = {0, 0, 40, 20}});
  const Window dot =
      form.add({.name = "Label3", .type = ControlType::kLabel, .caption = "·", .rect = {50, 0, 60, 10}});
  const Window list = form.add({.name = "List1", .type = ControlType::kListBox, .rect = {0, 30, 100, 90}});
  const Window slider =
      form.add({.name = "Slider1", .type = ControlType::kSlider, .rect = {0, 100, 100, 120}});

  std::vector<std::string> events;
  form.onClick("SSRibbon1", [&] { events.push_back("view clicked"); });
  form.onMouseDown("Label3", [&](Point at) { events.push_back("dot down at " + std::to_string(at.x)); });
  form.onMouseUp("Label3", [&](Point) { events.push_back("dot up"); });
  form.onClick("List1", [&] { events.push_back("row " + std::to_string(form.selectedIndex("List1"))); });
  form.onChange("Slider1", [&] { events.push_back("slider " + std::to_string(form.value("Slider1"))); });
  form.onCommand(1001, [&] { events.push_back("menu 1001"); });

  p_.windows.sendClick(view);
  p_.windows.send(dot, msg::kLButtonDown, 0, platform::MakeLParam(3, 4));
  p_.windows.send(dot, msg::kLButtonUp, 0, platform::MakeLParam(3, 4));
  form.addItem("List1", "trig x");
  form.addItem("List1", "signoff");
  p_.windows.send(list, msg::kLButtonDown, 0, platform::MakeLParam(2, 20));  // second row
  form.setRange("Slider1", 0, 3);
  form.setValue("Slider1", 2);
  p_.windows.send(slider, msg::kKeyDown, 0x27, 0);  // the right arrow moves it on by one
  p_.windows.post(form.window(), msg::kCommand, 1001, 0);
  EXPECT_EQ(events.size(), 5u);  // the posted menu command waits for the pump
  p_.loop.pump();

  const std::vector<std::string> expected = {"view clicked", "dot down at 3", "dot up",
                                             "row 1",        "slider 3",      "menu 1001"};
  EXPECT_EQ(events, expected);
  EXPECT_EQ(form.items("List1"), (std::vector<Text>{"trig x", "signoff"}));
}

TEST_F(FormTest, CheckBoxesCombosAndCustomMessages) {
  Form form(p_, Desc("auto"));
  form.add({.name = "Check1", .type = ControlType::kCheckBox, .rect = {0, 0, 20, 20}});
  form.add({.name = "Combo1", .type = ControlType::kComboBox, .caption = "·°·", .rect = {0, 30, 100, 50}});
  EXPECT_FALSE(form.checked("Check1"));
  form.setChecked("Check1", true);
  EXPECT_TRUE(form.checked("Check1"));
  EXPECT_EQ(form.text("Combo1"), "·°·");
  form.addItem("Combo1", "one");
  form.select("Combo1", 0);
  EXPECT_EQ(form.text("Combo1"), "one");
  form.clearItems("Combo1");
  EXPECT_TRUE(form.items("Combo1").empty());

  int callbacks = 0;
  form.onMessage(msg::kTrayCallback, [&](const platform::Message& m) -> std::optional<platform::LResult> {
    if (m.lParam == msg::kLButtonDblClk) ++callbacks;
    return 0;
  });
  p_.windows.send(form.window(), msg::kTrayCallback, 0, msg::kLButtonDblClk);
  EXPECT_EQ(callbacks, 1);
}

TEST_F(FormTest, TimersTickUntilTheFormIsUnloadedEvenFromTheirOwnTick) {
  auto form = std::make_unique<Form>(p_, Desc("frmquorle"));
  int ticks = 0;
  form->addTimer("Timer1", 700, [&] {
    ++ticks;
    if (ticks == 3) form->unload();
  });
  form->timer("Timer1")->setEnabled(true);
  world_.runFor(10'000);
  EXPECT_EQ(ticks, 3);
  EXPECT_FALSE(form->alive());
  EXPECT_FALSE(form->window());

  // Loading the same form again gives a working window.
  form = std::make_unique<Form>(p_, Desc("frmquorle"));
  int clicks = 0;
  const Window start = form->add({.name = "SSRibbon1", .type = ControlType::kButton, .rect = {0, 0, 40, 20}});
  form->onClick("SSRibbon1", [&] { ++clicks; });
  p_.windows.sendClick(start);
  EXPECT_EQ(clicks, 1);
}

TEST_F(FormTest, AHandlerThatUnloadsItsFormEndsCleanly) {
  Form form(p_, Desc("about1"));
  const Window label = form.add({.name = "Label1", .type = ControlType::kLabel, .rect = {0, 0, 40, 20}});
  bool closed = false;
  form.onClose([&] { closed = true; });
  form.onClick("Label1", [&] { form.unload(); });
  p_.windows.sendClick(label);
  EXPECT_FALSE(form.alive());
  EXPECT_FALSE(p_.windows.exists(label));
  EXPECT_FALSE(closed);             // unloading is not the user closing it
  form.setText("Label1", "after");  // no window, no effect, no crash
  EXPECT_EQ(form.text("Label1"), "");
}

TEST_F(FormTest, TwipsConvertAtTheScreensFactor) {
  EXPECT_EQ(TwipsToPixelsY(p_, 2160), 144);
  EXPECT_EQ(TwipsToPixelsY(p_, 3200), 213);
  EXPECT_EQ(TwipsToPixelsX(p_, 3735), 249);
}

}  // namespace
}  // namespace vantary::toolkit
