// The whole program as the user starts it: the intro window first; at the end of its
// animation the hidden main window loads (reading the settings and announcing itself in
// the room) and the console face appears.
#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "console/command_line.h"
#include "console/console.h"
#include "windows/console_face.h"
#include "windows/intro.h"

namespace vantary::console {

class Program {
 public:
  Program(Platform& platform, ConsoleOptions options = {});
  ~Program();
  Program(const Program&) = delete;
  Program& operator=(const Program&) = delete;

  // Shows the intro; the rest follows by itself as events are pumped.
  void Start();

  // nullptr until the intro has handed over.
  Console* console() { return console_.get(); }
  windows::ConsoleFace* face() { return face_.get(); }
  bool started() const { return console_ != nullptr; }

  // Runs a command line's switches once the start-up is over (in their turn at once when it
  // is), then gives the state they leave to `answer`. Without switches the face comes
  // forward, out of the tray when the program sits there.
  void Request(std::vector<SwitchCall> switches, std::function<void(const IdleState&)> answer);

 private:
  void handOver();
  void runRequest(std::vector<SwitchCall> switches, std::function<void(const IdleState&)> answer);

  Platform& p_;
  ConsoleOptions options_;
  std::unique_ptr<windows::Intro> intro_;
  std::unique_ptr<Console> console_;
  std::unique_ptr<windows::ConsoleFace> face_;
  std::unique_ptr<FormClockFace> clockFace_;
  // Requests that came before the start-up was over.
  struct Pending {
    std::vector<SwitchCall> switches;
    std::function<void(const IdleState&)> answer;
  };
  std::vector<Pending> pending_;
};

}  // namespace vantary::console
