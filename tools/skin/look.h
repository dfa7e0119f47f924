// The skin's visual language in one place: the palette (the timeline line
// colours are the section accents), the fonts, and the pieces every image is
// built from — section panels, recessed screens, button faces and LEDs — so
// that all images share one light direction and one set of edges.
// Thread: the skin tool is single-threaded.
#pragma once

#include <string>

#include "canvas.h"

namespace skin {

namespace palette {
// Page and panels, darkest to lightest.
inline const Rgb kPageTop = Bytes(30, 33, 40);
inline const Rgb kPageBottom = Bytes(19, 21, 26);
inline const Rgb kPanelTop = Bytes(43, 47, 57);
inline const Rgb kPanelBottom = Bytes(33, 36, 44);
inline const Rgb kScreen = Bytes(12, 13, 17);
inline const Rgb kEdgeDark = Bytes(6, 7, 9);
inline const Rgb kOutline = Rgb{1, 1, 1, 0.13};
inline const Rgb kHighlight = Rgb{1, 1, 1, 0.07};
// Text.
inline const Rgb kTitle = Bytes(214, 220, 232);
inline const Rgb kLabel = Bytes(150, 158, 176);
inline const Rgb kDim = Bytes(96, 102, 116);
inline const Rgb kButtonText = Bytes(222, 227, 236);
// Lit switches.
inline const Rgb kLit = Bytes(255, 178, 56);
inline const Rgb kFreeze = Bytes(90, 150, 255);
// The timeline's lines, in line order, and the amplitude graph.
inline const Rgb kRed = Bytes(255, 0, 0);
inline const Rgb kBlue = Bytes(0, 130, 255);
inline const Rgb kGreen = Bytes(0, 255, 0);
inline const Rgb kCyan = Bytes(0, 200, 210);
inline const Rgb kYellow = Bytes(240, 225, 0);
inline const Rgb kWhite = Bytes(255, 255, 255);
inline const Rgb kGrey = Bytes(170, 176, 190);
}  // namespace palette

// Accents are softened a little where they cover more than a line.
Rgb Soft(const Rgb& accent);

namespace fonts {
inline const Font kHeader{9, true, 1.2};
inline const Font kLabel{8.5};
inline const Font kSmall{7.5};
inline const Font kButton{9};
inline const Font kButtonSmall{8};
inline const Font kButtonBold{8.5, true, 0.6};
inline const Font kSwitch{8, true, 0.3};
}  // namespace fonts

// The page behind everything: a dark vertical gradient with a fine grain of
// horizontal brushing, so large areas are not flat.
void PageFill(cairo_t* cr, int w, int h);
// A raised section: gradient, a light outline, a highlight along the top
// edge and, when title is given, its title with a small bar in the accent.
void Panel(cairo_t* cr, double x, double y, double w, double h, const std::string& title = {},
           const Rgb& accent = palette::kGrey);
// Where a panel's title sits, for sections that print more on that line.
double PanelTitleMiddle(double panelY);
// A recessed well (displays, lists, pads): dark fill, shadow under its top
// edge and a light lip along the bottom.
void Screen(cairo_t* cr, double x, double y, double w, double h, double radius = 3);
// The face of a push button filling w x h; pressed faces sink and darken.
void ButtonFace(cairo_t* cr, double w, double h, bool pressed, double radius = 3);
// A round indicator light; lit ones glow in colour.
void Led(cairo_t* cr, double cx, double cy, double radius, const Rgb& colour, bool lit);
// A groove for a slider track between two points.
void Groove(cairo_t* cr, double x0, double y0, double x1, double y1);

}  // namespace skin
