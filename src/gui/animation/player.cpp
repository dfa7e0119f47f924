#include "gui/animation/player.h"

#include "gui/frame.h"
#include "gui/window.h"

namespace gui::Animation::EasyAnimation {

Player::Player(std::shared_ptr<AnimationElement> element, bool autoDelete)
    : Clock(25), element_(std::move(element)), autoDelete_(autoDelete) {
  element_->AttachTo(this);
  element_->AddFinishedListener(this);
  Start();
  element_->Start(Now());
}

Player::~Player() {
  Stop();
  if (element_) {
    element_->RemoveFinishedListener(this);
    element_->Detach();
  }
}

void Player::OnFinished(AnimationElement* /*element*/) {
  finished_ = true;
  Stop();
  // Inside our own tick: the clock must not be destroyed under it, so the
  // background player goes at the next timer pass.
  if (autoDelete_) StartTimer(&autoDelete_, 1);
}

void Player::OnTimer(void* context) {
  if (context == &autoDelete_) {
    delete this;
    return;
  }
  Clock::OnTimer(context);
}

void Player::PlayInBackground(std::shared_ptr<AnimationElement> element) {
  new Player(std::move(element), true);  // deletes itself when done
}

void Player::PlayBlocking(std::shared_ptr<AnimationElement> element, Window& window) {
  Player player(std::move(element), false);
  platform::Platform* p = window.platform();
  if (p == nullptr) return;  // no display to wait on: the element stays where it is
  RunLoopUntil(*p, [&] { return player.finished(); });
}

void Fade(Window& window, float from, float to, int milliseconds, bool blocking) {
  auto tween = std::make_shared<AlphaTween>(&window, from, to, milliseconds);
  if (blocking) {
    Player::PlayBlocking(tween, window);
  } else {
    Player::PlayInBackground(tween);
  }
}

}  // namespace gui::Animation::EasyAnimation
