// Pieces the page and dialog backgrounds share: the editor's top bar with
// its page tabs, patch name display and logo; list frames with the scroll
// track the list's scroll bar moves its thumb along; captions; LCD wells for
// value displays; the header band of a dialog.
// Thread: the skin tool is single-threaded.
#pragma once

#include <string>

#include "layout.h"
#include "look.h"

namespace skin {

enum class PageTab { kSynth, kPreset, kPerform };

void TopBar(cairo_t* cr, PageTab active);
// The product's name and kind, right-aligned at x with its middle at y.
void Wordmark(cairo_t* cr, double x, double y, double scale);
// A list well of whole rows with a 10-pixel scroll track down its right
// edge (arrows 15 high at both ends, as the list's scroll bar hit-tests).
void ListFrame(cairo_t* cr, const layout::Rect& r, int rowHeight);
// A caption printed on a panel.
void Caption(cairo_t* cr, const std::string& text, double x, double yMiddle, Align align = Align::kCentre,
             const Rgb& colour = palette::kLabel, const Font& font = fonts::kLabel);
// The well behind a value display of w x h at (x, y).
void ValueWell(cairo_t* cr, const layout::Rect& display);
// Tick marks under a horizontal track, count of them evenly from x0 to x1.
void Ticks(cairo_t* cr, double x0, double x1, double y, int count, double length = 2);
// A dialog's whole background: page fill, a title band bandHeight high (its
// title printed when given; some dialogs print their own) and a light rim.
void DialogFrame(cairo_t* cr, int w, int h, int bandHeight, const std::string& title);

}  // namespace skin
