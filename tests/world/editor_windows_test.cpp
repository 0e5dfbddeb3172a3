// The editor windows as the user works them: the custom lines, the multiple messages, the
// ascii lines and the chat colours; what each shows, stores and says.
#include <gtest/gtest.h>

#include "editors/editor_windows.h"
#include "tests/world/console_fixture.h"

namespace vantary::console::testing {
namespace {

using toolkit::Form;

// The user's hand on the program's windows.
struct User {
  platform::WindowSystem& ws;

  Window find(Form& form, std::string_view element) {
    // A control by its name, or a label by the caption the user reads on it.
    if (const Window named = form.control(element)) return named;
    return ws.findChild(form.window(), {}, "", element);
  }
  void type(Form& form, std::string_view box, std::string_view text) {
    for (char ch : text) ws.sendChar(form.control(box), static_cast<unsigned char>(ch));
  }
  void enter(Form& form, std::string_view box) { ws.sendKey(form.control(box), msg::kVkReturn); }
  void click(Form& form, std::string_view control) { ws.sendClick(form.control(control)); }
  void hover(Form& form, std::string_view element) {
    const Window w = element.empty() ? form.window() : find(form, element);
    ASSERT_TRUE(w) << element;
    ws.send(w, msg::kMouseMove, 0, platform::MakeLParam(2, 2));
  }
  void doubleClickRow(Form& form, std::string_view list, int row) {
    const int height = static_cast<int>(ws.listItemHeight(form.control(list)).value_or(16));
    ws.send(form.control(list), msg::kLButtonDblClk, 0, platform::MakeLParam(2, row * height + 2));
  }
};

struct EditorWorld : ConsoleWorld {
  EditorWorld() {
    existingMachine();
    signOnInRoom();
  }
  User user() { return User{program().windows}; }
  editors::EditorWindows& editors() { return console->editors(); }
  // Ends the program and starts it again on the same machine.
  Console& restart() {
    stop();
    return start();
  }
  int heightOf(Form& form) { return form.rect().height(); }
};

TEST(EditorWindows, HoverHelpNamesWhatTheMouseIsOver) {
  EditorWorld w;
  w.start();
  Form& customs = *w.editors().customs;
  Form& messages = *w.editors().messages;
  struct Case {
    Form* form;
    std::string_view element;  // a control's name, a legend's caption, "" the background
    std::string_view status;
  };
  const Case cases[] = {
      {&customs, "", "unknown"},
      {&customs, "Label2", "minimize"},
      {&customs, "Label12", "status bar"},
      {&customs, "Label13", "move form"},
      {&customs, "Label11", "click for more options"},
      {&customs, "Text1", "textbox 1 editor"},
      {&customs, "Text4", "textbox 4 editor"},
      {&customs, "SSRibbon1", "scrolls in chatroom"},
      {&customs, "SSRibbon2", "save // exit"},
      {&customs, "x = dl or ul", "x = dl or ul"},
      {&customs, "xml$ = minl", "x = dl or ul [ example 'dlml$' ] / minutes left"},
      {&customs, "xpe$ = per", "x = dl or ul [ example 'dlpe$' ] / percent"},
      {&customs, "xf$ = file", "x = dl or ul [ example 'dlf$' ] / file"},
      {&customs, "r$ = reason", "r$ = current single reason"},
      {&customs, "t$ = cur time", "t$ = current time"},
      {&customs, "a$ = ao ver", "a$ = get current aol version"},
      {&customs, "c$ = kestro", "c$ = kestro"},
      {&customs, "ie$ = msie dl", "ie$ = msie dl status"},
      {&customs, "v$ = version", "v$ = gets vantary version"},
      {&customs, "m1$ = idle minutes", "m1$ = scrolls minutes"},
      {&customs, "h1$ = idle hours", "h1$ = scrolls hours"},
      {&customs, "d1$ = idle days", "d1$ = scrolls days"},
      {&customs, "as1$ = ascii1", "as1$ = ascii # 1"},
      {&customs, "as2$ = ascii2", "as2$ = ascii # 2"},
      {&customs, "as3$ = ascii3", "as3$ = ascii # 3"},
      {&messages, "", "unknown"},
      {&messages, "Label2", "minimize editor"},
      {&messages, "Label5", "move form"},
      {&messages, "Label6", "status bar"},
      {&messages, "rnd", "dbl click to remove reas"},
      {&messages, "rndtext", "click 2 enter reas"},
      {&messages, "SSRibbon1", "save // exit"},
      {&messages, "SSRibbon2", "clears rnd msgs."},
  };
  User u = w.user();
  for (const Case& c : cases) {
    u.hover(*c.form, c.element);
    const std::string_view status = c.form == &customs ? "Label12" : "Label6";
    EXPECT_EQ(c.form->text(status), c.status) << c.form->name() << " " << c.element;
  }
  // Elements without help leave the last text standing.
  u.hover(customs, "SSRibbon1");
  for (std::string_view silent : {"Label1", "SSRibbon3", "Slider1", "HScroll1", "Frame1"}) {
    u.hover(customs, silent);
    EXPECT_EQ(customs.text("Label12"), "scrolls in chatroom") << silent;
  }
}

TEST(EditorWindows, CustomLinesLoadWithEveryStoredLineShown) {
  struct Case {
    std::array<std::string_view, 4> stored;
    std::array<bool, 4> shown;
    int slider;
  };
  const Case cases[] = {
      {{"", "", "", ""}, {true, false, false, false}, 0},
      {{"a", "b", "", ""}, {true, true, false, false}, 1},
      {{"a", "b", "c", ""}, {true, true, true, false}, 2},
      {{"a", "b", "c", "d"}, {true, true, true, true}, 3},
      // A lone fourth line shows, and the slider stands at it.
      {{"a", "", "", "d"}, {true, false, false, true}, 3},
      {{"", "", "c", ""}, {true, false, true, false}, 2},
  };
  for (const Case& c : cases) {
    EditorWorld w;
    for (int i = 0; i < 4; ++i)
      w.setData("cus" + std::to_string(i + 1), c.stored[static_cast<std::size_t>(i)]);
    w.start();
    Form& customs = *w.editors().customs;
    const std::string label = std::string(c.stored[0]) + "|" + std::string(c.stored[1]) + "|" +
                              std::string(c.stored[2]) + "|" + std::string(c.stored[3]);
    for (int i = 0; i < 4; ++i) {
      const Text box = "Text" + std::to_string(i + 1);
      EXPECT_EQ(customs.text(box), c.stored[static_cast<std::size_t>(i)]) << label;
      EXPECT_EQ(customs.controlVisible(box), c.shown[static_cast<std::size_t>(i)]) << label << " " << box;
    }
    EXPECT_EQ(customs.value("Slider1"), c.slider) << label;
  }
}

TEST(EditorWindows, CustomsSliderStepperHeightsAndSave) {
  EditorWorld w;
  w.setData("cus1", "1");
  w.setData("cus2", "2");
  w.start();
  Form& customs = *w.editors().customs;
  customs.show();
  User u = w.user();
  const auto shown = [&] {
    std::string s;
    for (int i = 1; i <= 4; ++i) s += customs.controlVisible("Text" + std::to_string(i)) ? '1' : '0';
    return s;
  };

  // The title strip drags the window (to where the mouse leaves it) and "_" minimizes it.
  w.world.setNextDragTarget({300, 40});
  w.program().windows.sendMouseDown(customs.control("Label13"));
  EXPECT_EQ(customs.rect().left, 300);
  EXPECT_EQ(customs.rect().top, 40);
  u.click(customs, "Label2");
  EXPECT_TRUE(w.program().windows.isMinimized(customs.window()));
  customs.restore();

  // Heights: compact, "more customs", then "up"; the width stays.
  EXPECT_EQ(w.heightOf(customs), 144);  // 2160 twips at 15 twips a pixel
  EXPECT_EQ(customs.rect().width(), 249);
  // "more customs" leans while the button is down on it.
  const Window more = customs.control("Label11");
  w.program().windows.sendMouseDown(more);
  EXPECT_TRUE(w.world.fontOf(more).value_or(platform::FontSpec{}).italic);
  w.program().windows.sendMouseUp(more);
  EXPECT_FALSE(w.world.fontOf(more).value_or(platform::FontSpec{.italic = true}).italic);
  EXPECT_EQ(w.heightOf(customs), 213);  // 3200 twips
  u.click(customs, "SSRibbon3");
  EXPECT_EQ(w.heightOf(customs), 144);

  // The user's slider moves show that many boxes beyond the first.
  ASSERT_EQ(shown(), "1100");
  const Window slider = customs.control("Slider1");
  for (const auto& [key, expected] : std::initializer_list<std::pair<platform::WParam, const char*>>{
           {0x27, "1110"}, {0x27, "1111"}, {0x24, "1000"}, {0x23, "1111"}}) {
    w.program().windows.sendKey(slider, key);
    EXPECT_EQ(shown(), expected) << key;
  }
  // The stepper: a click on either arrow is one step; it hides Text3, or shows Text2, then
  // Text3, and never touches Text4.
  const Window stepper = customs.control("HScroll1");
  for (const char* expected : {"1101", "1111", "1101"}) {
    w.program().windows.sendKey(stepper, 0x27);
    EXPECT_EQ(shown(), expected);
  }
  w.program().windows.sendKey(slider, 0x24);  // slider home: Text1 alone
  for (const char* expected : {"1100", "1110", "1100"}) {
    w.program().windows.sendKey(stepper, 0x25);
    EXPECT_EQ(shown(), expected);
  }
  // Clicks in the trough, far more than would take the thumb from the middle to the end,
  // each step all the same.
  for (int i = 0; i < 12; ++i) {
    w.program().windows.sendKey(stepper, 0x22);
    EXPECT_EQ(shown(), i % 2 == 0 ? "1110" : "1100") << i;
  }

  // A click into a box holding just its own number empties it: "1" in Text1 does, "2" in
  // Text2 does, "2" in Text1 does not.
  w.program().windows.sendClick(customs.control("Text1"));
  EXPECT_EQ(customs.text("Text1"), "");
  customs.setText("Text1", "2");
  w.program().windows.sendClick(customs.control("Text1"));
  EXPECT_EQ(customs.text("Text1"), "2");
  w.program().windows.sendClick(customs.control("Text2"));
  EXPECT_EQ(customs.text("Text2"), "");

  // Save stores all four lines as typed and hides the window.
  customs.setText("Text1", "as1$ idle m1$ min");
  customs.setText("Text4", "bye, all");
  u.click(customs, "SSRibbon2");
  EXPECT_FALSE(customs.visible());
  EXPECT_EQ(w.data("cus1"), "as1$ idle m1$ min");
  EXPECT_EQ(w.data("cus2"), "");
  EXPECT_EQ(w.data("cus4"), "bye, all");
}

// The menu opens the editor of the chosen mode only; the custom lines' view button sends
// them into the room at once, edited and unsaved.
TEST(EditorWindows, MenuOpensTheModesEditorAndViewSendsTheLinesTyped) {
  EditorWorld w;
  w.setConfig("mm", "3");
  w.setConfig("reason", "Lunch");
  w.start();
  Form& customs = *w.editors().customs;
  w.click("editmul");
  EXPECT_FALSE(w.editors().messages->visible());
  w.click("editcus");
  ASSERT_TRUE(customs.visible());
  customs.setText("Text1", "");
  w.user().type(customs, "Text1", "Back at T$? no, R$");
  const std::size_t said = w.markTranscript();
  w.user().click(customs, "SSRibbon1");
  w.world.runFor(1000);
  const std::vector<Text> lines = w.saidSince(said);
  ASSERT_FALSE(lines.empty());
  EXPECT_NE(lines[0].find(Text(" vantarý³ · back at "_ansi)), Text::npos);
  EXPECT_NE(lines[0].find("? no, lunch"), Text::npos) << text::ToUtf8(lines[0]);
  w.click("editascii");
  w.click("sdaf");
  EXPECT_TRUE(w.editors().ascii->visible());
  EXPECT_TRUE(w.editors().color->visible());
}

TEST(EditorWindows, MultipleMessagesAreAddedTakenBackSavedAndSurviveARestart) {
  EditorWorld w;
  ASSERT_TRUE(w.program().files.writeFileAtomic(w.program().files.programFolder() + "\\click.wav", "RIFF"));
  w.start();
  Form* messages = w.editors().messages.get();
  messages->show();
  User u = w.user();
  EXPECT_EQ(messages->text("rndtext"), "reason");

  // Enter with an empty box is answered, and adds nothing.
  messages->setText("rndtext", "");
  w.world.queueDialogAnswer(DialogAnswer::Button(msg::kIdOk));
  u.enter(*messages, "rndtext");
  ASSERT_EQ(w.world.dialogs().size(), 1u);
  EXPECT_EQ(w.world.dialogs().back().text, "enter a reason!");
  EXPECT_TRUE(messages->items("rnd").empty());

  for (std::string_view reason : {"brb", "lunch, then a walk", "\"quoted\" ", " back at 5"}) {
    u.type(*messages, "rndtext", reason);
    u.enter(*messages, "rndtext");
    EXPECT_EQ(messages->text("rndtext"), "");
  }
  const std::vector<Text> typed = {"brb", "lunch, then a walk", "\"quoted\" ", " back at 5"};
  EXPECT_EQ(messages->items("rnd"), typed);

  // The rotation sends 1, 2; a double click takes entry 2 (the one sent last) back into
  // the box, and the next message is entry 1 again.
  EXPECT_EQ(editors::NextMultipleMessage(*messages), "brb");
  EXPECT_EQ(editors::NextMultipleMessage(*messages), "lunch, then a walk");
  u.doubleClickRow(*messages, "rnd", 1);
  EXPECT_EQ(messages->text("rndtext"), "lunch, then a walk");
  EXPECT_EQ(messages->selectedIndex("rnd"), -1);
  EXPECT_EQ(editors::NextMultipleMessage(*messages), "brb");
  EXPECT_EQ(editors::NextMultipleMessage(*messages), "\"quoted\" ");
  u.enter(*messages, "rndtext");  // back in, at the end

  // Save writes the list, clicks and hides; after a restart every entry is back whole,
  // commas, quotes and outer blanks and all (a leading quote becomes a single quote).
  const std::size_t sounds = w.world.sounds().size();
  u.click(*messages, "SSRibbon1");
  EXPECT_FALSE(messages->visible());
  ASSERT_EQ(w.world.sounds().size(), sounds + 1);
  EXPECT_EQ(w.world.sounds().back().text, w.program().files.programFolder() + "\\click.wav");
  messages = w.restart().editors().messages.get();
  EXPECT_EQ(messages->items("rnd"),
            (std::vector<Text>{"brb", "'quoted' ", " back at 5", "lunch, then a walk"}));

  // Clear empties the list, not the file; the next message is then the default one.
  u.click(*messages, "SSRibbon2");
  EXPECT_TRUE(messages->items("rnd").empty());
  EXPECT_EQ(editors::NextMultipleMessage(*messages), editors::DefaultMultipleMessage());
  EXPECT_EQ(w.restart().editors().messages->items("rnd").size(), 4u);
}

TEST(EditorWindows, AsciiLinesRememberChoicesAndStoreOnSaveOnly) {
  EditorWorld w;
  ASSERT_TRUE(w.program().files.writeFileAtomic(w.path("list3"), "\xBB\r\n\"-=, =-\"\r\n"));
  w.start();
  Form* ascii = w.editors().ascii.get();
  User u = w.user();
  ascii->show();
  EXPECT_EQ(ascii->items("Combo3"), (std::vector<Text>{"\xBB", "-=, =-"}));
  EXPECT_EQ(ascii->text("Combo3"), windows::kAscii3Design);  // the stored line, not a row

  // Enter twice keeps the same choice twice; exit stores nothing.
  ascii->setText("Combo1", "<<, >>");
  u.enter(*ascii, "Combo1");
  u.enter(*ascii, "Combo1");
  EXPECT_EQ(ascii->items("Combo1"), (std::vector<Text>{"x", "<<, >>", "<<, >>"}));
  u.click(*ascii, "SSRibbon2");
  EXPECT_FALSE(ascii->visible());
  EXPECT_EQ(w.data("autoascii1"), windows::kAscii1Design);
  EXPECT_EQ(ascii->text("Combo1"), "<<, >>");  // still the line in use

  // Save stores the three lines and the three lists; a restart brings them back whole.
  ascii->show();
  u.click(*ascii, "SSRibbon1");
  EXPECT_FALSE(ascii->visible());
  EXPECT_EQ(w.data("autoascii1"), "<<, >>");
  ascii = w.restart().editors().ascii.get();
  EXPECT_EQ(ascii->text("Combo1"), "<<, >>");
  ascii->show();
  EXPECT_EQ(ascii->items("Combo1"), (std::vector<Text>{"x", "<<, >>", "<<, >>"}));
  EXPECT_EQ(ascii->items("Combo3"), (std::vector<Text>{"\xBB", "-=, =-"}));
}

TEST(EditorWindows, AnAsciiListHeldByAnotherProgramIsNotWrittenOver) {
  EditorWorld w;
  w.start();
  Form& ascii = *w.editors().ascii;
  User u = w.user();
  const Text list1 = w.program().files.windowsFolder() + "\\vantary12.ini";
  const auto stored = [&] { return settings::ReadListFile(w.program().files.readFile(list1).value_or("")); };
  w.world.setFileLocked(list1, true);
  ascii.show();
  EXPECT_TRUE(ascii.items("Combo1").empty());
  ascii.setText("Combo1", "new");
  u.enter(ascii, "Combo1");
  w.world.queueDialogAnswer(DialogAnswer::Button(msg::kIdOk));
  u.click(ascii, "SSRibbon1");
  EXPECT_EQ(w.world.dialogs().size(), 1u);
  EXPECT_TRUE(ascii.visible());
  w.world.setFileLocked(list1, false);
  EXPECT_EQ(stored(), std::vector<Text>{"x"});

  // Once the file can be read, its choices come before the one added, and all are saved.
  u.click(ascii, "SSRibbon1");
  EXPECT_FALSE(ascii.visible());
  EXPECT_EQ(stored(), (std::vector<Text>{"x", "new"}));
  EXPECT_EQ(ascii.text("Combo1"), "new");
}

TEST(EditorWindows, ColoursAreStoredTogetherAndNamedWhenNoColour) {
  EditorWorld w;
  w.start();
  Form& color = *w.editors().color;
  User u = w.user();
  color.show();

  // A seventh character is refused by either box.
  color.setText("Text1", "");
  u.type(color, "Text1", "ff00aa7");
  EXPECT_EQ(color.text("Text1"), "ff00aa");

  // Exit hides without storing; the edited colour is still the one in use.
  u.click(color, "SSRibbon1");
  EXPECT_FALSE(color.visible());
  EXPECT_EQ(w.data("color"), "336699");
  EXPECT_EQ(w.console->style().color1, "ff00aa");

  // Enter in the second box stores both colours and hides the window.
  color.show();
  color.setText("Text2", "");
  u.type(color, "Text2", "00ff00");
  u.enter(color, "Text2");
  EXPECT_FALSE(color.visible());
  EXPECT_EQ(w.data("color"), "ff00aa");
  EXPECT_EQ(w.data("color2"), "00ff00");
  EXPECT_TRUE(w.world.dialogs().empty());

  // No colour (not hexadecimal, or too short): the user is told, and it is stored and used
  // as typed.
  for (const char* typed : {"blue", "3366"}) {
    color.show();
    color.setText("Text1", typed);
    w.world.queueDialogAnswer(DialogAnswer::Button(msg::kIdOk));
    const std::size_t told = w.world.dialogs().size();
    u.enter(color, "Text1");
    ASSERT_EQ(w.world.dialogs().size(), told + 1);
    EXPECT_NE(w.world.dialogs().back().text.find("\"" + Text(typed) + "\" is not a colour"), Text::npos)
        << w.world.dialogs().back().text;
    EXPECT_FALSE(color.visible());
    EXPECT_EQ(w.data("color"), typed);
  }
}

TEST(EditorWindows, ASaveThatCannotBeWrittenTellsTheUserAndKeepsTheWindowOpen) {
  EditorWorld w;
  ASSERT_TRUE(w.program().files.writeFileAtomic(w.path("messages"), "brb\r\n"));
  w.start();
  User u = w.user();
  w.world.setFileReadOnly(w.path("data"), true);
  w.world.setFileReadOnly(w.path("messages"), true);
  struct Case {
    Form* form;
    std::string_view box;
    std::string_view save;
  };
  const Case cases[] = {
      {w.editors().customs.get(), "Text1", "SSRibbon2"},
      {w.editors().messages.get(), "rndtext", "SSRibbon1"},
      {w.editors().ascii.get(), "Combo2", "SSRibbon1"},
      {w.editors().color.get(), "Text2", "SSRibbon2"},
  };
  for (const Case& c : cases) {
    c.form->show();
    c.form->setText(c.box, "0000ff");
    const std::size_t dialogs = w.world.dialogs().size();
    w.world.queueDialogAnswer(DialogAnswer::Button(msg::kIdOk));
    u.click(*c.form, c.save);
    ASSERT_EQ(w.world.dialogs().size(), dialogs + 1) << c.form->name();
    EXPECT_NE(w.world.dialogs().back().text.find("could not"), Text::npos) << c.form->name();
    EXPECT_TRUE(c.form->visible()) << c.form->name();
  }
  EXPECT_EQ(w.program().files.readFile(w.path("messages")).value_or(""), "brb\r\n");
  EXPECT_EQ(w.data("color2"), "000000");
  EXPECT_EQ(w.world.unansweredDialogs(), 0);
}

}  // namespace
}  // namespace vantary::console::testing
