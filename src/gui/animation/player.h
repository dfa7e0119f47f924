// Plays one element to its end on a clock of its own at 25 ticks a second:
// in the background (the player deletes itself when the element finishes)
// or blocking (the caller's loop pumps events, so other windows keep
// painting and timers keep firing, until the element is done).
// Thread: user-interface thread.
#pragma once

#include <memory>

#include "gui/animation/elements.h"

namespace gui {
class Window;
}

namespace gui::Animation::EasyAnimation {

class Player : public Clock, public FinishedListener {
 public:
  Player(std::shared_ptr<AnimationElement> element, bool autoDelete);
  ~Player() override;

  void OnFinished(AnimationElement* element) override;
  void OnTimer(void* context) override;
  bool finished() const { return finished_; }

  // The element in the background; it lives until it finishes.
  static void PlayInBackground(std::shared_ptr<AnimationElement> element);
  // Returns when the element has finished, pumping window's platform.
  static void PlayBlocking(std::shared_ptr<AnimationElement> element, Window& window);

 private:
  std::shared_ptr<AnimationElement> element_;
  bool autoDelete_;
  bool finished_ = false;
};

// Fades window's alpha from one value to another.
void Fade(Window& window, float from, float to, int milliseconds, bool blocking);

}  // namespace gui::Animation::EasyAnimation
