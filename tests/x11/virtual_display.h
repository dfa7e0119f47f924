// A virtual X display for this test program: Xvfb started on first use with
// a display number it picks itself (so programs running side by side never
// meet), DISPLAY set to it, and stopped when the program ends (or dies);
// and the helper programs tests run on it.
#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

namespace x11test {

enum class DisplayState { kRunning, kNoXvfb, kFailed };

// Starts the display once; why says what went wrong otherwise.
DisplayState StartVirtualDisplay(std::string& why);

// Runs a helper program quietly (no input, output thrown away) with the
// environment entries given ("NAME=value") over ours, and fd3 as its
// descriptor 3 when not -1; it dies with this program. -1 when it cannot.
pid_t SpawnChild(std::vector<std::string> args, const std::vector<std::string>& environment = {}, int fd3 = -1);
// Asks it to end, then makes it, and reaps it.
void StopChild(pid_t pid);

}  // namespace x11test
