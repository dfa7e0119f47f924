// What every kind of button has: the clicked event, the listener told the
// button's id, and the one place a click is announced.
// Thread: user-interface thread.
#pragma once

#include <memory>

#include "gui/event.h"
#include "gui/listeners.h"

namespace gui {

class ButtonBase {
 public:
  ButtonBase() = default;
  virtual ~ButtonBase();
  ButtonBase(const ButtonBase&) = delete;
  ButtonBase& operator=(const ButtonBase&) = delete;

  Event<void()> clicked;
  ButtonListener* listener = nullptr;
  int id = -1;

 protected:
  // The listener's ButtonClicked (id), then the clicked event. A listener may
  // destroy the button (a dialog closing itself): the event then stays quiet.
  void AnnounceClick();

 private:
  std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};

}  // namespace gui
