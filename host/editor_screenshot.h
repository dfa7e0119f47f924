// zelvane-render --screenshot: the plug-in's editor opened without a
// display, on the page asked for, a moment of its time let pass so it has
// settled, and its image written as PNG, through the plug-in's private
// editor commands.
// Thread: the caller's.
#pragma once

#include <string>

namespace zhost {

class PluginInstance;

// Throws HostError when the plug-in has no headless editor or the file
// cannot be written.
void WriteEditorScreenshot(PluginInstance& plugin, const std::string& path, int page);

}  // namespace zhost
