// A virtual X display for this test program: Xvfb started on first use with
// a display number it picks itself (so programs running side by side never
// meet), DISPLAY set to it, and stopped when the program ends (or dies).
#pragma once

#include <string>

namespace x11test {

enum class DisplayState { kRunning, kNoXvfb, kFailed };

// Starts the display once; why says what went wrong otherwise.
DisplayState StartVirtualDisplay(std::string& why);

}  // namespace x11test
