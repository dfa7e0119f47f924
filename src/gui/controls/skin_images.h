// Loading a control's skin images by file name from the images folder. A
// missing image is reported in a message box under the creating class's
// caption; the control goes on without it and draws nothing in its place.
// Thread: user-interface thread.
#pragma once

#include <initializer_list>
#include <string>
#include <utility>

#include "gui/image.h"

namespace gui {

// Loads each (image, file) pair; an empty file name leaves its image empty.
// Every image that can be loaded is; the first failure's text is shown once
// with the caption. True when nothing failed.
bool LoadSkinImages(std::initializer_list<std::pair<Image*, std::string>> images, const std::string& caption);
// Reports the failure of an image a screen loads itself, as LoadSkinImages does.
void ReportSkinError(const std::string& text, const std::string& caption);

// While one lives (a screen being built), skin failures are gathered and
// shown as one message box when it goes: the first failure's text and
// caption, and how many more images are missing. A host whose skin is not
// installed then sees one box at open, not one per control.
class SkinErrorBatch {
 public:
  SkinErrorBatch();
  ~SkinErrorBatch();
  SkinErrorBatch(const SkinErrorBatch&) = delete;
  SkinErrorBatch& operator=(const SkinErrorBatch&) = delete;
};

}  // namespace gui
