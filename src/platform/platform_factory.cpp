#include "platform/platform_factory.h"

#include "platform/x11_platform.h"

namespace platform {

std::unique_ptr<Platform> CreateDisplayPlatform() { return CreateX11Platform(); }

}  // namespace platform
