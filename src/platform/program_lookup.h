// Finding the desktop's helper programs (xdg-open, file choosers) on PATH.
// Thread: any.
#pragma once

#include <string>

namespace platform {

// The full path of an executable file of that name in a folder of PATH
// (/usr/bin:/bin without PATH); empty when there is none.
std::string FindProgram(const std::string& program);

}  // namespace platform
