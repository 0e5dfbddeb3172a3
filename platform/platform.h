// All platform services of one process, handed to the program and the stand-in host.
#pragma once

#include "platform/dialogs.h"
#include "platform/event_loop.h"
#include "platform/files.h"
#include "platform/random.h"
#include "platform/screen.h"
#include "platform/shell.h"
#include "platform/sound.h"
#include "platform/tray.h"
#include "platform/window_system.h"

namespace vantary::platform {

struct Platform {
  WindowSystem& windows;
  EventLoop& loop;
  Dialogs& dialogs;
  Files& files;
  Sound& sound;
  Tray& tray;
  Shell& shell;
  Screen& screen;
  Random& random;
};

}  // namespace vantary::platform
