// Measuring text in the editor's fonts outside a paint: menus, message boxes
// and text fields lay themselves out before they are drawn.
// Thread: user-interface thread.
#pragma once

#include <string>
#include <vector>

#include "gui/graphics_context.h"

namespace gui {

// Width in pixels of text in the font SetFont (size, family, bold) makes.
int MeasureTextWidth(const std::string& text, int size = 8, const std::string& family = GraphicsContext::kDefaultFamily,
                     bool bold = false);
// Height of one line of that font.
int MeasureLineHeight(int size = 8, const std::string& family = GraphicsContext::kDefaultFamily, bool bold = false);

// Breaks text into lines no wider than maxWidth: at every '\n', and between
// words where a line would grow too wide; a word wider than the whole line
// is cut between characters.
std::vector<std::string> WrapText(const std::string& text, int maxWidth, int size = 8);

// Byte length of the UTF-8 sequence that starts with c (1 for a stray byte).
std::size_t Utf8SequenceLength(unsigned char c);

}  // namespace gui
