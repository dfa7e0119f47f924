// An instrument with its editor open headless over a skin folder of the
// test's own (a few plain images, so what is drawn where can be read back),
// and the message boxes it shows, answered by the test.
#pragma once

#include <gtest/gtest.h>

#include <cairo.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "editor/gui.h"
#include "gui/message_box_frame.h"
#include "engine/instrument/zelvane.h"
#include "platform/headless_platform.h"
#include "shell/message_box.h"
#include "support/scoped_env.h"
#include "support/temp_dir.h"

class EditorTest : public ::testing::Test {
 protected:
  static vst2::VstIntPtr Host(vst2::AEffect*, vst2::VstInt32 opcode, vst2::VstInt32, vst2::VstIntPtr,
                              void*, float) {
    return opcode == vst2::audioMasterVersion ? 2400 : 0;
  }
  static MessageBoxAnswer Answer(const std::string& text, const std::string& caption, MessageBoxButtons) {
    boxes.push_back(caption + "|" + text);
    return reply;
  }

  EditorTest() : xdg_("XDG_DATA_HOME", home_.path().string()) {
    boxes.clear();
    reply = MessageBoxAnswer::kYes;
    previous_ = SetMessageBoxHandler(Answer);
    images_ = home_.path() / "Tarvenn Audio/Zelvane/Data/Images";
    std::filesystem::create_directories(images_);
  }
  ~EditorTest() override {
    editor.reset();
    z.reset();
    SetMessageBoxHandler(previous_);
  }

  // A plain image of one colour.
  void PutImage(const std::string& name, int w, int h, double r, double g, double b) {
    cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, w, h);
    cairo_t* cr = cairo_create(s);
    cairo_set_source_rgb(cr, r, g, b);
    cairo_paint(cr);
    cairo_destroy(cr);
    cairo_surface_write_to_png(s, (images_ / name).c_str());
    cairo_surface_destroy(s);
  }
  void PutTopBar() {
    PutImage("ZelvaneBackground.png", 767, 638, 0.1, 0.1, 0.3);
    PutImage("PerformBackground.png", 767, 638, 0.1, 0.3, 0.1);
    PutImage("PresetBackground.png", 767, 638, 0.3, 0.1, 0.1);
    for (const char* name : {"Help But Up.png", "Help But Down.png", "AboutButUp.png", "AboutButDown.png",
                             "FileButUp.png", "FileButDown.png", "PresetPreviousButUp.png",
                             "PresetPreviousButDown.png", "PresetNextButUp.png", "PresetNextButDown.png"}) {
      PutImage(name, 24, 24, 0.5, 0.5, 0.5);
    }
    PutImage("ZelvaneSplash.png", 400, 300, 1.0, 1.0, 0.0);
  }
  // Opens the editor; its message boxes then come to the test's handler.
  void Open() {
    z = std::make_unique<Zelvane>(Host, InstanceOptions{""});
    editor = std::make_unique<GUI>(z.get());
    ASSERT_TRUE(editor->OpenHeadless());
    headless = editor->headless();
    SetMessageBoxHandler(Answer);
    headless->Pump();
  }
  // Opens the editor with its own message box windows, which the test reads
  // and answers with its reply while their modal loop runs (boxes shown
  // while the editor is built included).
  void OpenAnsweringBoxWindows() {
    z = std::make_unique<Zelvane>(Host, InstanceOptions{""});
    editor = std::make_unique<GUI>(z.get());
    windowBoxes_ = true;
    auto own = std::make_unique<platform::HeadlessPlatform>();
    headless = own.get();
    headless->SetModalStep([this] { StepModal(); });
    ASSERT_TRUE(editor->OpenOn(std::move(own), 0));
  }
  void StepModal() {
    if (!windowBoxes_ || headless == nullptr) return;
    auto* w = headless->Topmost(platform::WindowKind::kFloating);
    if (w == nullptr) return;
    auto* box = dynamic_cast<gui::MessageBoxFrame*>(&static_cast<gui::TopLevel*>(w->client())->root());
    if (box == nullptr) return;
    std::string text;
    for (const std::string& line : box->lines()) text += (text.empty() ? "" : " ") + line;
    boxes.push_back(text);
    headless->Key(reply == MessageBoxAnswer::kNo ? platform::KeyEvent::kEscape : platform::KeyEvent::kReturn, w);
  }
  platform::NativeWindow* native() { return headless->Topmost(platform::WindowKind::kEmbedded); }
  std::uint32_t Pixel(int x, int y) {
    editor->Idle();
    return headless->Pixel(native(), x, y);
  }
  void Click(int x, int y) {
    headless->Click(native(), x, y);
    editor->Idle();
  }

  static inline std::vector<std::string> boxes;
  static inline MessageBoxAnswer reply = MessageBoxAnswer::kYes;
  TempDir home_;
  ScopedEnv xdg_;
  std::filesystem::path images_;
  MessageBoxHandler previous_ = nullptr;
  std::unique_ptr<Zelvane> z;
  std::unique_ptr<GUI> editor;
  platform::HeadlessPlatform* headless = nullptr;
  bool windowBoxes_ = false;
};

constexpr std::uint32_t Rgb(std::uint32_t r, std::uint32_t g, std::uint32_t b) {
  return 0xFF000000u | (r << 16) | (g << 8) | b;
}
