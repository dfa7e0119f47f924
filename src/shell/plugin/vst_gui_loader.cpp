#include "shell/plugin/vst_gui_loader.h"

#include <atomic>
#include <mutex>

#include "shell/editor_commands.h"

namespace {

// The rectangle answered to every instance: taken from the first loader that
// answers and then kept for the life of the library.
std::once_flag gRectOnce;
vst2::ERect gRect{};

}  // namespace

VstGUILoader::~VstGUILoader() {
  if (editorObject_ != nullptr) editorObject_->Close();
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
  if (editorObject_ != nullptr) editorObject_->Close();  // opened twice: start afresh
  if (editorObject_ == nullptr) editorObject_ = CreateGUI(effect_);
  if (parentWindow == nullptr || !editorObject_->Open(parentWindow)) {
    systemWindow_ = nullptr;
    return false;
  }
  systemWindow_ = parentWindow;
  return true;
}

void VstGUILoader::close() {
  if (editorObject_ != nullptr) {
    editorObject_->Close();
    editorObject_.reset();
  }
  systemWindow_ = nullptr;
}

void VstGUILoader::idle() {
  if (editorObject_ != nullptr && editorObject_->isOpen()) editorObject_->Idle();
}

vst2::VstIntPtr VstGUILoader::command(vst2::VstIntPtr command, void* ptr, float opt) {
  if (command == editor_commands::kOpenHeadless) {
    if (editorObject_ != nullptr) editorObject_->Close();
    if (editorObject_ == nullptr) editorObject_ = CreateGUI(effect_);
    if (!editorObject_->OpenHeadless()) return 0;
    systemWindow_ = this;
    return 1;
  }
  return editorObject_ != nullptr ? editorObject_->Command(command, ptr, opt) : 0;
}
