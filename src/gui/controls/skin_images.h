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

}  // namespace gui
