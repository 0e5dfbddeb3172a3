// What every window of the program shares: dragging, keeping on screen, staying on top,
// centring, scattering, shaping from a picture, sounds and music, the erase animation
// of a caption, and the pause that every timed wait of the program uses.
#pragma once

#include <string_view>

#include "platform/picture.h"
#include "platform/platform.h"

namespace vantary::toolkit {

using platform::Platform;
using platform::Window;

// Distance in twips within which a window dropped near a screen edge snaps to it.
inline constexpr int kSnapTwips = 210;
// Jumps ScatterForm makes across the screen.
inline constexpr int kScatterJumps = 35;

// Lets the user move the window with the mouse button that is down; returns after the move.
void DragForm(Platform& p, Window window);
// Pulls the window inside the screen and above the task bar, snapping near the edges.
void KeepOnScreen(Platform& p, Window window);
void DragAndKeepOnScreen(Platform& p, Window window);
void StayOnTop(Platform& p, Window window);
void CenterForm(Platform& p, Window window);
void ScatterForm(Platform& p, Window window);
// Returns after `seconds` (fractions allowed), letting pending events run meanwhile.
void Pause(Platform& p, double seconds);
// Music through the media control interface, the file opened by its quoted path, so that
// a folder with blanks in its name plays too; nothing happens when the file is missing.
void PlayMusic(Platform& p, std::string_view path);
void StopMusic(Platform& p, std::string_view path);
// A short sound, not waited for; nothing happens when the file is missing.
void PlayWave(Platform& p, std::string_view path);
// The click the program's buttons make: "click.wav" of the program folder.
void PlayClick(Platform& p);
// Erases the control's caption from its end, one character per step. Stops at once when
// the control goes away meanwhile (its window closed during the animation).
void EraseLabel(Platform& p, Window label);

// The region covering every pixel of the picture that is not the transparent colour, one
// rectangle per run of such pixels in a row. A transparent colour below 1 means: take
// the colour of pixel (0,0); `usedColor` receives the colour that was cut away.
platform::Region BuildWindowRegion(const platform::Picture& picture, long long transparentColor,
                                   platform::Color* usedColor = nullptr);

}  // namespace vantary::toolkit
