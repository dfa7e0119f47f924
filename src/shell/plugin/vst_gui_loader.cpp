#include "shell/plugin/vst_gui_loader.h"

#include <atomic>
#include <mutex>

namespace {

// The rectangle answered to every instance: taken from the first loader that
// answers and then kept for the life of the library.
std::once_flag gRectOnce;
vst2::ERect gRect{};

}  // namespace

VstGUILoader::~VstGUILoader() {
  if (editorObject_ != nullptr && isOpen()) editorObject_->Close();
}

void VstGUILoader::Attach() {
  editorObject_ = CreateGUI(effect_);
  width_ = editorObject_->Width();
  height_ = editorObject_->Height();
  effect_->setEditor(this);
}

bool VstGUILoader::getRect(vst2::ERect** rect) {
  std::call_once(gRectOnce, [this] {
    gRect.top = 0;
    gRect.left = 0;
    gRect.bottom = static_cast<std::int16_t>(height_);
    gRect.right = static_cast<std::int16_t>(width_);
  });
  *rect = &gRect;
  return true;
}

bool VstGUILoader::open(void* parentWindow) {
  if (isOpen() && editorObject_ != nullptr) editorObject_->Close();  // opened twice
  if (editorObject_ == nullptr) editorObject_ = CreateGUI(effect_);
  systemWindow_ = parentWindow != nullptr ? parentWindow : this;
  return editorObject_->Open(parentWindow);
}

void VstGUILoader::close() {
  if (editorObject_ != nullptr) {
    if (isOpen()) editorObject_->Close();
    editorObject_.reset();
  }
  systemWindow_ = nullptr;
}

void VstGUILoader::idle() {
  if (editorObject_ != nullptr && isOpen()) editorObject_->Idle();
}
