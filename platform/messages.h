// The window system's message, notification, style and command numbers the program uses.
// They are the real system's values, so the Win32 backend passes them through unchanged
// and the sim backend gives them the same meaning.
#pragma once

#include <cstdint>

#include "platform/types.h"

namespace vantary::platform::msg {

// Window messages.
inline constexpr std::uint32_t kCreate = 0x0001;           // WM_CREATE
inline constexpr std::uint32_t kDestroy = 0x0002;          // WM_DESTROY
inline constexpr std::uint32_t kMove = 0x0003;             // WM_MOVE
inline constexpr std::uint32_t kSize = 0x0005;             // WM_SIZE
inline constexpr std::uint32_t kActivate = 0x0006;         // WM_ACTIVATE
inline constexpr std::uint32_t kEnable = 0x000A;           // WM_ENABLE
inline constexpr std::uint32_t kSetText = 0x000C;          // WM_SETTEXT
inline constexpr std::uint32_t kDropFiles = 0x0233;        // WM_DROPFILES
inline constexpr std::uint32_t kGetText = 0x000D;          // WM_GETTEXT
inline constexpr std::uint32_t kGetTextLength = 0x000E;    // WM_GETTEXTLENGTH
inline constexpr std::uint32_t kPaint = 0x000F;            // WM_PAINT
inline constexpr std::uint32_t kClose = 0x0010;            // WM_CLOSE
inline constexpr std::uint32_t kQueryEndSession = 0x0011;  // WM_QUERYENDSESSION
inline constexpr std::uint32_t kQuit = 0x0012;             // WM_QUIT
inline constexpr std::uint32_t kEndSession = 0x0016;       // WM_ENDSESSION
inline constexpr std::uint32_t kShowWindow = 0x0018;       // WM_SHOWWINDOW
inline constexpr std::uint32_t kSetFont = 0x0030;          // WM_SETFONT
// WM_COPYDATA: lParam points at a CopyData; the system copies the bytes into the
// receiving process, which may read them only while it handles the message.
inline constexpr std::uint32_t kCopyData = 0x004A;
inline constexpr std::uint32_t kKeyDown = 0x0100;        // WM_KEYDOWN
inline constexpr std::uint32_t kKeyUp = 0x0101;          // WM_KEYUP
inline constexpr std::uint32_t kChar = 0x0102;           // WM_CHAR
inline constexpr std::uint32_t kInitDialog = 0x0110;     // WM_INITDIALOG
inline constexpr std::uint32_t kCommand = 0x0111;        // WM_COMMAND
inline constexpr std::uint32_t kSysCommand = 0x0112;     // WM_SYSCOMMAND
inline constexpr std::uint32_t kTimer = 0x0113;          // WM_TIMER
inline constexpr std::uint32_t kHScroll = 0x0114;        // WM_HSCROLL
inline constexpr std::uint32_t kVScroll = 0x0115;        // WM_VSCROLL
inline constexpr std::uint32_t kMouseMove = 0x0200;      // WM_MOUSEMOVE
inline constexpr std::uint32_t kLButtonDown = 0x0201;    // WM_LBUTTONDOWN
inline constexpr std::uint32_t kLButtonUp = 0x0202;      // WM_LBUTTONUP
inline constexpr std::uint32_t kLButtonDblClk = 0x0203;  // WM_LBUTTONDBLCLK
inline constexpr std::uint32_t kRButtonDown = 0x0204;    // WM_RBUTTONDOWN
inline constexpr std::uint32_t kRButtonUp = 0x0205;      // WM_RBUTTONUP
inline constexpr std::uint32_t kMdiCreate = 0x0220;      // WM_MDICREATE
inline constexpr std::uint32_t kMdiDestroy = 0x0221;     // WM_MDIDESTROY
inline constexpr std::uint32_t kMdiActivate = 0x0222;    // WM_MDIACTIVATE
inline constexpr std::uint32_t kMdiGetActive = 0x0229;   // WM_MDIGETACTIVE
inline constexpr std::uint32_t kUser = 0x0400;           // WM_USER
inline constexpr std::uint32_t kApp = 0x8000;            // WM_APP

// Edit controls.
inline constexpr std::uint32_t kEmSetReadOnly = 0x00CF;   // EM_SETREADONLY
inline constexpr std::uint32_t kEmLimitText = 0x00C5;     // EM_LIMITTEXT
inline constexpr std::uint32_t kEmGetLimitText = 0x00D5;  // EM_GETLIMITTEXT

// Buttons and check boxes.
inline constexpr std::uint32_t kBmGetCheck = 0x00F0;  // BM_GETCHECK
inline constexpr std::uint32_t kBmSetCheck = 0x00F1;  // BM_SETCHECK
inline constexpr std::uint32_t kBmClick = 0x00F5;     // BM_CLICK
inline constexpr std::uintptr_t kBstUnchecked = 0;
inline constexpr std::uintptr_t kBstChecked = 1;
// Every bit set (-1, a program's "true"): a two-state check box takes any state above
// checked as checked.
inline constexpr std::uintptr_t kBstAllBits = ~std::uintptr_t{0};

// List boxes.
inline constexpr std::uint32_t kLbAddString = 0x0180;      // LB_ADDSTRING
inline constexpr std::uint32_t kLbInsertString = 0x0181;   // LB_INSERTSTRING
inline constexpr std::uint32_t kLbDeleteString = 0x0182;   // LB_DELETESTRING
inline constexpr std::uint32_t kLbResetContent = 0x0184;   // LB_RESETCONTENT
inline constexpr std::uint32_t kLbSetCurSel = 0x0186;      // LB_SETCURSEL
inline constexpr std::uint32_t kLbGetCurSel = 0x0188;      // LB_GETCURSEL
inline constexpr std::uint32_t kLbGetText = 0x0189;        // LB_GETTEXT
inline constexpr std::uint32_t kLbGetTextLen = 0x018A;     // LB_GETTEXTLEN
inline constexpr std::uint32_t kLbGetCount = 0x018B;       // LB_GETCOUNT
inline constexpr std::uint32_t kLbGetItemData = 0x0199;    // LB_GETITEMDATA
inline constexpr std::uint32_t kLbGetItemHeight = 0x01A1;  // LB_GETITEMHEIGHT
inline constexpr std::uint32_t kLbSetItemData = 0x019A;    // LB_SETITEMDATA
inline constexpr LParam kLbErr = -1;

// Combo boxes.
inline constexpr std::uint32_t kCbAddString = 0x0143;     // CB_ADDSTRING
inline constexpr std::uint32_t kCbDeleteString = 0x0144;  // CB_DELETESTRING
inline constexpr std::uint32_t kCbGetCount = 0x0146;      // CB_GETCOUNT
inline constexpr std::uint32_t kCbGetCurSel = 0x0147;     // CB_GETCURSEL
inline constexpr std::uint32_t kCbGetLbText = 0x0148;     // CB_GETLBTEXT
inline constexpr std::uint32_t kCbGetLbTextLen = 0x0149;  // CB_GETLBTEXTLEN
inline constexpr std::uint32_t kCbInsertString = 0x014A;  // CB_INSERTSTRING
inline constexpr std::uint32_t kCbResetContent = 0x014B;  // CB_RESETCONTENT
inline constexpr std::uint32_t kCbSetCurSel = 0x014E;     // CB_SETCURSEL
inline constexpr std::uint32_t kCbGetItemData = 0x0150;   // CB_GETITEMDATA
inline constexpr std::uint32_t kCbSetItemData = 0x0151;   // CB_SETITEMDATA
inline constexpr LParam kCbErr = -1;

// Track bars (the slider of the common controls).
inline constexpr std::uint32_t kTbmGetPos = kUser + 0;  // TBM_GETPOS
inline constexpr std::uint32_t kTbmGetRangeMin = kUser + 1;
inline constexpr std::uint32_t kTbmGetRangeMax = kUser + 2;
inline constexpr std::uint32_t kTbmSetPos = kUser + 5;  // TBM_SETPOS
inline constexpr std::uint32_t kTbmSetRangeMin = kUser + 7;
inline constexpr std::uint32_t kTbmSetRangeMax = kUser + 8;

// Scroll bars.
inline constexpr std::uint32_t kSbmSetPos = 0x00E0;    // SBM_SETPOS
inline constexpr std::uint32_t kSbmGetPos = 0x00E1;    // SBM_GETPOS
inline constexpr std::uint32_t kSbmSetRange = 0x00E2;  // SBM_SETRANGE

// Notifications carried in the high word of WM_COMMAND's wParam.
inline constexpr int kBnClicked = 0;      // BN_CLICKED
inline constexpr int kEnChange = 0x0300;  // EN_CHANGE
inline constexpr int kLbnSelChange = 1;   // LBN_SELCHANGE
inline constexpr int kLbnDblClk = 2;      // LBN_DBLCLK
inline constexpr int kCbnSelChange = 1;   // CBN_SELCHANGE
inline constexpr int kStnClicked = 0;     // STN_CLICKED
// Scroll codes in the low word of WM_HSCROLL's wParam.
inline constexpr int kSbLineLeft = 0;       // SB_LINELEFT
inline constexpr int kSbLineRight = 1;      // SB_LINERIGHT
inline constexpr int kSbPageLeft = 2;       // SB_PAGELEFT
inline constexpr int kSbPageRight = 3;      // SB_PAGERIGHT
inline constexpr int kSbThumbPosition = 4;  // SB_THUMBPOSITION
inline constexpr int kSbThumbTrack = 5;     // SB_THUMBTRACK
inline constexpr int kSbLeft = 6;           // SB_LEFT
inline constexpr int kSbRight = 7;          // SB_RIGHT
inline constexpr int kSbEndScroll = 8;      // SB_ENDSCROLL

// Virtual keys.
inline constexpr std::uintptr_t kVkReturn = 0x0D;
inline constexpr std::uintptr_t kVkSpace = 0x20;

// WM_SYSCOMMAND codes. The system keeps only the bits of kScMask.
inline constexpr std::uintptr_t kScMask = 0xFFF0;
inline constexpr std::uintptr_t kScMove = 0xF010;
inline constexpr std::uintptr_t kScMinimize = 0xF020;
inline constexpr std::uintptr_t kScClose = 0xF060;
inline constexpr std::uintptr_t kScRestore = 0xF120;

// ShowWindow commands.
inline constexpr int kSwHide = 0;
inline constexpr int kSwShowNormal = 1;
inline constexpr int kSwShowMinimized = 2;
inline constexpr int kSwShowMaximized = 3;
inline constexpr int kSwShowNoActivate = 4;
inline constexpr int kSwShow = 5;
inline constexpr int kSwMinimize = 6;
inline constexpr int kSwRestore = 9;

// SetWindowPos insert-after values and flags.
inline constexpr std::intptr_t kHwndTop = 0;
inline constexpr std::intptr_t kHwndBottom = 1;
inline constexpr std::intptr_t kHwndTopmost = -1;
inline constexpr std::intptr_t kHwndNoTopmost = -2;
inline constexpr std::uint32_t kSwpNoSize = 0x0001;
inline constexpr std::uint32_t kSwpNoMove = 0x0002;
inline constexpr std::uint32_t kSwpNoZOrder = 0x0004;
inline constexpr std::uint32_t kSwpNoActivate = 0x0010;
inline constexpr std::uint32_t kSwpShowWindow = 0x0040;
inline constexpr std::uint32_t kSwpHideWindow = 0x0080;

// Message box styles and answers.
inline constexpr std::uint32_t kMbOk = 0x00;
inline constexpr std::uint32_t kMbOkCancel = 0x01;
inline constexpr std::uint32_t kMbYesNo = 0x04;
inline constexpr std::uint32_t kMbIconError = 0x10;
inline constexpr std::uint32_t kMbIconQuestion = 0x20;
inline constexpr std::uint32_t kMbIconWarning = 0x30;
inline constexpr std::uint32_t kMbIconInformation = 0x40;
inline constexpr int kIdOk = 1;
inline constexpr int kIdCancel = 2;
inline constexpr int kIdYes = 6;
inline constexpr int kIdNo = 7;

// Mouse messages a tray icon reports in its callback's lParam.
inline constexpr std::uint32_t kTrayCallback = kMouseMove;  // the program's chosen callback number

// The record WM_COPYDATA points at, laid out as the system's COPYDATASTRUCT.
struct CopyData {
  std::uintptr_t tag = 0;  // what the data is, for the receiver
  std::uint32_t size = 0;
  const void* data = nullptr;
};

}  // namespace vantary::platform::msg
