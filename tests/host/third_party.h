// The third-party instrument the host is tested against, loaded once for the
// whole test run. Thread: test threads only.
#pragma once

#include "plugin_host.h"

inline constexpr const char* kThirdPartyPlugin = "/usr/lib/vst/amsynth_vst.so";

// The library, or null when it is not installed. Never unloaded: see the .cpp.
zhost::PluginLibrary* ThirdPartyLibrary();
