#include "third_party.h"

#include <filesystem>

zhost::PluginLibrary* ThirdPartyLibrary() {
  // Deliberately never unloaded: the plug-in leaks a little at exit, which is
  // not ours to fix, and its code must stay mapped for sanitizer builds to
  // attribute those leaks to it and suppress them (below).
  static zhost::PluginLibrary* const library = std::filesystem::exists(kThirdPartyPlugin)
                                                   ? new zhost::PluginLibrary(kThirdPartyPlugin)
                                                   : nullptr;
  return library;
}

// Read by the leak checker of sanitizer builds; an unused function otherwise.
extern "C" __attribute__((visibility("default"))) const char* __lsan_default_suppressions() {
  return "leak:amsynth_vst.so\n";
}
