// The platform for a person at a display: X11 when a display can be
// opened, else none (the editor then stays closed and says why on stderr).
// Thread: user-interface thread.
#pragma once

#include <memory>

#include "platform/platform.h"

namespace platform {

std::unique_ptr<Platform> CreateDisplayPlatform();

}  // namespace platform
