// The class names of the host's windows that the host access library looks for, in one
// place, each in the host's own spelling. The window system matches class names without
// regard to case, so "_AOL_MODAL" or "_aol_modal" would find the same windows; nothing in
// the library spells a class any other way than here.
#pragma once

#include <string_view>

namespace vantary::host {

// Top-level windows: the host's frame, its modal windows, its palettes (the idle timer),
// and the dialogs of the host and of the web browser.
inline constexpr std::string_view kFrameClass = "AOL Frame25";
inline constexpr std::string_view kModalClass = "_AOL_Modal";
inline constexpr std::string_view kPaletteClass = "_AOL_Palette";
inline constexpr std::string_view kDialogClass = "#32770";

// Inside the frame: its MDI client with the host's child windows, its toolbar and the
// toolbar's bar.
inline constexpr std::string_view kMdiClass = "MDIClient";
inline constexpr std::string_view kChildClass = "AOL Child";
inline constexpr std::string_view kToolbarFrameClass = "AOL Toolbar";
inline constexpr std::string_view kToolbarClass = "_AOL_Toolbar";

// The host's controls: the rich room's transcript and input box, the plain room's
// transcript, input boxes, the people list, the keyword and font boxes, picture buttons,
// buttons, check boxes, texts and pictures.
inline constexpr std::string_view kRichTextClass = "RICHCNTL";
inline constexpr std::string_view kViewClass = "_AOL_View";
inline constexpr std::string_view kEditClass = "_AOL_Edit";
inline constexpr std::string_view kListBoxClass = "_AOL_Listbox";
inline constexpr std::string_view kComboBoxClass = "_AOL_Combobox";
inline constexpr std::string_view kIconClass = "_AOL_Icon";
inline constexpr std::string_view kButtonClass = "_AOL_Button";
inline constexpr std::string_view kCheckBoxClass = "_AOL_Checkbox";
inline constexpr std::string_view kStaticClass = "_AOL_Static";
inline constexpr std::string_view kGlyphClass = "_AOL_Glyph";

// The system's own controls inside the host's windows: the edit part of the toolbar's
// keyword box, and the buttons of a dialog.
inline constexpr std::string_view kSystemEditClass = "Edit";
inline constexpr std::string_view kSystemButtonClass = "Button";

}  // namespace vantary::host
