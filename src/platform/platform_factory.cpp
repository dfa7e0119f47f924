#include "platform/platform_factory.h"

#include <cstdio>

namespace platform {

std::unique_ptr<Platform> CreateDisplayPlatform() {
  std::fprintf(stderr, "Zelvane: no display back end in this build\n");
  return nullptr;
}

}  // namespace platform
