#include "editor_screenshot.h"

#include "plugin_host.h"
#include "shell/editor_commands.h"

namespace zhost {

void WriteEditorScreenshot(PluginInstance& plugin, const std::string& path, int page) {
  using namespace editor_commands;
  if (plugin.Dispatch(vst2::effVendorSpecific, kTag, kOpenHeadless) != 1) {
    throw HostError("the plug-in has no editor to draw without a display");
  }
  plugin.Dispatch(vst2::effVendorSpecific, kTag, kSelectPage, nullptr, static_cast<float>(page));
  plugin.Dispatch(vst2::effVendorSpecific, kTag, kAdvance, nullptr, 500.0f);
  const bool written = plugin.Dispatch(vst2::effVendorSpecific, kTag, kWritePng,
                                       const_cast<char*>(path.c_str())) == 1;
  plugin.Dispatch(vst2::effEditClose);
  if (!written) throw HostError("could not write " + path);
}

}  // namespace zhost
