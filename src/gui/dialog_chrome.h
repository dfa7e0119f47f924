// The look the editor's own floating dialogs share: a dark panel with a
// title strip and a thin border, the title in bold.
// Thread: user-interface thread.
#pragma once

#include <string>

#include "gui/graphics_context.h"

namespace gui::dialog_chrome {

inline constexpr int kMargin = 12;
inline constexpr int kTitleHeight = 22;

// Paints the panel, its title strip and border, and leaves the regular 8-point
// font selected for the dialog's own text.
void Paint(GraphicsContext& g, int width, int height, const std::string& title);

}  // namespace gui::dialog_chrome
