// The program's start: intro, then the hidden main window and the console face.
#include "console/program.h"

#include "toolkit/title_strip.h"

namespace vantary::console {

Program::Program(Platform& platform, ConsoleOptions options) : p_(platform), options_(options) {}

Program::~Program() = default;

void Program::Start() {
  if (intro_ || console_) return;
  intro_ = std::make_unique<windows::Intro>(p_, [this] { handOver(); });
}

void Program::handOver() {
  if (console_) return;
  // Loading the main window runs its start-up routine; the face shows after it.
  console_ = std::make_unique<Console>(p_, options_);
  face_ = std::make_unique<windows::ConsoleFace>(p_, [this](platform::Point at) {
    if (console_) console_->showMenu(at);
  });
  // The face is the program's one visible window: closed from outside (Alt+F4, another
  // program), the program ends as "end" ends it rather than running on unseen.
  face_->form().onCloseRequest([this] { console_->requestEnd(); });
  clockFace_ = std::make_unique<FormClockFace>(face_->form());
  console_->setFace(clockFace_.get());
  console_->Load();
  face_->form().show();
  std::vector<Pending> pending = std::move(pending_);
  pending_.clear();
  for (Pending& request : pending) runRequest(std::move(request.switches), std::move(request.answer));
}

void Program::Request(std::vector<SwitchCall> switches, std::function<void(const IdleState&)> answer) {
  if (!console_) {
    pending_.push_back(Pending{std::move(switches), std::move(answer)});
    return;
  }
  runRequest(std::move(switches), std::move(answer));
}

void Program::runRequest(std::vector<SwitchCall> switches, std::function<void(const IdleState&)> answer) {
  if (switches.empty() && face_) {
    console_->BringForward();
    toolkit::ShowRestored(face_->form());
    p_.windows.setForeground(face_->form().window());
  }
  console_->RunSwitches(std::move(switches), std::move(answer));
}

}  // namespace vantary::console
