// Previews: whole pages and dialogs composed from the drawn images at the
// positions the screens use, with sample content painted the way the
// editor's controls paint it (knob arcs, timeline lines, list rows, texts),
// so the skin can be judged as the user will see it.
// Thread: the skin tool is single-threaded.
#pragma once

#include <string>

#include "canvas.h"
#include "image_set.h"

namespace skin {

// Writes preview-*.png into folder; false when one could not be written.
bool WritePreviews(const ImageSet& set, const std::string& folder);

namespace preview {

Canvas SynthPage(const ImageSet& set);
Canvas PerformPage(const ImageSet& set);
Canvas PresetPage(const ImageSet& set);
Canvas Dialogs(const ImageSet& set);
// Every image smaller than a panel, twice its size, with its name.
Canvas Sheet(const ImageSet& set);

// Text as the editor draws it: the top-left corner at (x, y), the editor's
// font size (points + 1, as the drawing context takes it).
void EditorText(cairo_t* cr, const std::string& text, double x, double y, int size, const Rgb& c,
                bool bold = false);
// An image from the set with its top-left corner at (x, y).
void Put(cairo_t* cr, const ImageSet& set, const std::string& name, double x, double y);
// A page's background with the top bar's buttons on it; the File button and
// the next-patch button drawn up or down.
struct TopBarState {
  bool fileDown = false;
  bool nextDown = false;
};
Canvas PageWithTopBar(const ImageSet& set, const std::string& background, TopBarState state = {});
// A list control's rows over its frame: names, the selected band, the thumb.
void ListRows(cairo_t* cr, double x, double y, double w, double h, const char* const* names, int count,
              int selected);

}  // namespace preview
}  // namespace skin
