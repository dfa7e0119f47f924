#include "image_set.h"

#include <stdexcept>

namespace skin {

Canvas& ImageSet::Add(const std::string& name, int width, int height) {
  if (Find(name) != nullptr) throw std::logic_error("skin image drawn twice: " + name);
  entries_.push_back({name, std::make_unique<Canvas>(width, height)});
  return *entries_.back().canvas;
}

const Canvas* ImageSet::Find(const std::string& name) const {
  for (const Entry& e : entries_) {
    if (e.name == name) return e.canvas.get();
  }
  return nullptr;
}

const Canvas& ImageSet::Get(const std::string& name) const {
  const Canvas* c = Find(name);
  if (c == nullptr) throw std::logic_error("no skin image named " + name);
  return *c;
}

ImageSet DrawSkin() {
  ImageSet set;
  DrawButtons(set);
  DrawLibraryButtons(set);
  DrawControls(set);
  DrawIcons(set);
  DrawSynthBackground(set);
  DrawPageBackgrounds(set);
  DrawDialogBackgrounds(set);
  return set;
}

}  // namespace skin
