// Every skin image by file name, in the order they were drawn, plus the
// drawing steps that fill the set, one per kind of image.
// Thread: the skin tool is single-threaded.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "canvas.h"

namespace skin {

class ImageSet {
 public:
  // A new transparent image under name; a second image of the same name is
  // a fault of the tool and throws.
  Canvas& Add(const std::string& name, int width, int height);
  // Null when there is no image of that name.
  const Canvas* Find(const std::string& name) const;
  // Throws when there is no image of that name.
  const Canvas& Get(const std::string& name) const;

  struct Entry {
    std::string name;
    std::unique_ptr<Canvas> canvas;
  };
  const std::vector<Entry>& entries() const { return entries_; }

 private:
  std::vector<Entry> entries_;
};

// Each of these adds its images to the set.
void DrawButtons(ImageSet& set);          // push buttons, toggles, tabs, menus
void DrawLibraryButtons(ImageSet& set);   // dialog and library buttons
void DrawControls(ImageSet& set);         // knob, faders, pointers, dot, scroll bar
void DrawIcons(ImageSet& set);            // selectors, arrows, zoom signs
void DrawSynthBackground(ImageSet& set);  // the synth page
void DrawPageBackgrounds(ImageSet& set);  // perform and preset pages, the about box
void DrawDialogBackgrounds(ImageSet& set);

// All of the above, in a fixed order.
ImageSet DrawSkin();

}  // namespace skin
