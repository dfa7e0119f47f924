// Faces shared by the push buttons and toggles of every screen: a text
// button, a button with an indicator light, and the glyphs drawn on them.
// Up faces are raised with light text; down faces sink, darken, and their
// label moves down a pixel and lights up, so a press is plain to see.
// Thread: the skin tool is single-threaded.
#pragma once

#include <optional>
#include <string>

#include "canvas.h"
#include "image_set.h"
#include "look.h"

namespace skin {

struct ButtonStyle {
  ButtonStyle(const Font& f = fonts::kButton, std::optional<Rgb> a = std::nullopt) : font(f), accent(a) {}
  Font font;
  std::optional<Rgb> accent;  // a bar at the left edge in this colour
  double radius = 3;
};

void TextButton(Canvas& c, const std::string& label, bool pressed, const ButtonStyle& style = {});
// The up image and the down image of one text button.
void TextButtonPair(ImageSet& set, const std::string& upName, const std::string& downName, int w, int h,
                    const std::string& label, const ButtonStyle& style = {});
// A latching switch: on sinks and lights its LED, off stays raised and dark.
void LedButton(Canvas& c, const std::string& label, bool on, const Rgb& light, const Font& font = fonts::kSwitch);
// A button showing a disabled face: flat, dim, no highlight.
void DisabledButton(Canvas& c, const std::string& label, const Font& font = fonts::kButton);

// Label colour of a face in either state.
Rgb LabelColour(bool pressed);
// Small glyphs, centred on (cx, cy).
void ArrowGlyph(cairo_t* cr, double cx, double cy, double size, int direction, const Rgb& c);  // 0 left, 1 right, 2 down, 3 up
void CrossGlyph(cairo_t* cr, double cx, double cy, double size, double width, const Rgb& c);
void PlusGlyph(cairo_t* cr, double cx, double cy, double size, double width, const Rgb& c);
void MinusGlyph(cairo_t* cr, double cx, double cy, double size, double width, const Rgb& c);

}  // namespace skin
