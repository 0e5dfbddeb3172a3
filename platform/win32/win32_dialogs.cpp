// Message boxes and the input box. The input box is a dialog of the system's dialog class
// built from a template in memory: the prompt, one edit control, OK and Cancel.
#include <windows.h>

#include <string>
#include <vector>

#include "platform/win32/win32_services.h"

namespace vantary::platform::win32 {
namespace {

constexpr WORD kPromptId = 100;
constexpr WORD kEditId = 101;

// The texts of A-functions stop at a zero byte; say so explicitly rather than by accident.
std::string CText(std::string_view s) { return std::string(s.substr(0, s.find('\0'))); }

// A dialog template in memory (DLGTEMPLATE followed by its items), built word by word.
// Every item starts on a 4-byte boundary, as the dialog manager requires.
class DialogTemplate {
 public:
  DialogTemplate(DWORD style, short x, short y, short cx, short cy, WORD items) {
    dword(style);
    dword(0);  // extended style
    word(items);
    word(static_cast<WORD>(x));
    word(static_cast<WORD>(y));
    word(static_cast<WORD>(cx));
    word(static_cast<WORD>(cy));
    word(0);  // no menu
    word(0);  // the dialog class
    word(0);  // title: set as an ANSI text when the dialog starts
    word(8);  // DS_SETFONT: point size and face
    for (const char* c = "MS Shell Dlg"; *c; ++c) word(static_cast<WORD>(*c));
    word(0);
  }

  // An item of a predefined class (0x0080 button, 0x0081 edit, 0x0082 static).
  void item(DWORD style, short x, short y, short cx, short cy, WORD id, WORD classAtom) {
    if (words_.size() % 2) word(0);
    dword(style);
    dword(0);
    word(static_cast<WORD>(x));
    word(static_cast<WORD>(y));
    word(static_cast<WORD>(cx));
    word(static_cast<WORD>(cy));
    word(id);
    word(0xFFFF);
    word(classAtom);
    word(0);  // no text: set as ANSI text when the dialog starts
    word(0);  // no creation data
  }

  // The template copied into 4-byte-aligned memory.
  std::vector<DWORD> data() const {
    std::vector<DWORD> out((words_.size() + 1) / 2, 0);
    for (std::size_t i = 0; i < words_.size(); ++i) {
      out[i / 2] |= static_cast<DWORD>(words_[i]) << (16 * (i % 2));
    }
    return out;
  }

 private:
  void word(WORD w) { words_.push_back(w); }
  void dword(DWORD d) {
    word(LOWORD(d));
    word(HIWORD(d));
  }
  std::vector<WORD> words_;
};

struct InputBoxState {
  std::string prompt;
  std::string title;
  std::string initial;
  std::optional<Text> answer;
};

INT_PTR CALLBACK InputBoxProc(HWND dialog, UINT id, WPARAM wParam, LPARAM lParam) {
  switch (id) {
    case WM_INITDIALOG: {
      auto* state = reinterpret_cast<InputBoxState*>(lParam);
      SetWindowLongPtrA(dialog, DWLP_USER, lParam);
      SetWindowTextA(dialog, state->title.c_str());
      SetDlgItemTextA(dialog, kPromptId, state->prompt.c_str());
      SetDlgItemTextA(dialog, IDOK, "OK");
      SetDlgItemTextA(dialog, IDCANCEL, "Cancel");
      HWND edit = GetDlgItem(dialog, kEditId);
      SetWindowTextA(edit, state->initial.c_str());
      SendMessageA(edit, EM_SETSEL, 0, -1);
      SetFocus(edit);
      return FALSE;  // focus set here
    }
    case WM_COMMAND: {
      const int command = LOWORD(wParam);
      if (command != IDOK && command != IDCANCEL) return FALSE;
      if (command == IDOK) {
        auto* state = reinterpret_cast<InputBoxState*>(GetWindowLongPtrA(dialog, DWLP_USER));
        HWND edit = GetDlgItem(dialog, kEditId);
        const int length = GetWindowTextLengthA(edit);
        std::string text(static_cast<std::size_t>(length > 0 ? length : 0) + 1, '\0');
        const int got = GetWindowTextA(edit, text.data(), static_cast<int>(text.size()));
        text.resize(static_cast<std::size_t>(got > 0 && got <= length ? got : 0));
        if (state) state->answer = std::move(text);
      }
      EndDialog(dialog, command);
      return TRUE;
    }
    default:
      return FALSE;
  }
}

class Win32Dialogs final : public Dialogs {
 public:
  int messageBox(Window owner, std::string_view text, std::string_view title, std::uint32_t style) override {
    const std::string t = CText(text);
    const std::string c = CText(title);
    return MessageBoxA(reinterpret_cast<HWND>(HandleBits(owner.value)), t.c_str(), c.c_str(), style);
  }

  std::optional<Text> inputBox(std::string_view prompt, std::string_view title,
                               std::string_view initial) override {
    DialogTemplate dt(
        DS_MODALFRAME | DS_CENTER | DS_SETFONT | DS_SETFOREGROUND | WS_POPUP | WS_CAPTION | WS_SYSMENU, 0, 0,
        240, 80, 4);
    dt.item(WS_CHILD | WS_VISIBLE | SS_LEFT, 7, 7, 226, 26, kPromptId, 0x0082);
    dt.item(WS_CHILD | WS_VISIBLE | WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL, 7, 38, 226, 14, kEditId, 0x0081);
    dt.item(WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON, 126, 59, 50, 14, IDOK, 0x0080);
    dt.item(WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, 183, 59, 50, 14, IDCANCEL, 0x0080);
    const std::vector<DWORD> memory = dt.data();

    InputBoxState state{CText(prompt), CText(title), CText(initial), std::nullopt};
    const INT_PTR result =
        DialogBoxIndirectParamA(GetModuleHandleA(nullptr), reinterpret_cast<LPCDLGTEMPLATEA>(memory.data()),
                                GetActiveWindow(), InputBoxProc, reinterpret_cast<LPARAM>(&state));
    if (result != IDOK) return std::nullopt;
    return std::move(state.answer);
  }
};

}  // namespace

std::unique_ptr<Dialogs> MakeDialogs() { return std::make_unique<Win32Dialogs>(); }

}  // namespace vantary::platform::win32
