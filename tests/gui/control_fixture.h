// Controls under test: a headless editor with a skin folder of its own
// (images written by the test), message boxes recorded instead of shown,
// and input at points of a control's own coordinates.
#pragma once

#include <cairo.h>

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "gui_fixture.h"
#include "persist/data_folders.h"
#include "shell/message_box.h"
#include "support/scoped_env.h"
#include "support/temp_dir.h"

// Points the images folder at a fresh temporary tree while it lives.
class SkinFolder {
 public:
  SkinFolder() : env_(std::in_place, "XDG_DATA_HOME", dir_.path().string()) {
    images_ = InitDataFolders().images;
    CreateFolderWithParents(images_.substr(0, images_.size() - 1));
  }
  ~SkinFolder() {
    env_.reset();
    InitDataFolders();
  }
  SkinFolder(const SkinFolder&) = delete;
  SkinFolder& operator=(const SkinFolder&) = delete;

  // A PNG of one colour, 0xAARRGGBB.
  void Write(const std::string& file, int w, int h, std::uint32_t argb) const {
    cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, w, h);
    cairo_t* cr = cairo_create(s);
    cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
    cairo_set_source_rgba(cr, ((argb >> 16) & 0xFF) / 255.0, ((argb >> 8) & 0xFF) / 255.0, (argb & 0xFF) / 255.0,
                          (argb >> 24) / 255.0);
    cairo_paint(cr);
    cairo_destroy(cr);
    cairo_surface_write_to_png(s, Path(file).c_str());
    cairo_surface_destroy(s);
  }
  std::string Path(const std::string& file) const { return images_ + file; }

 private:
  TempDir dir_;
  std::optional<ScopedEnv> env_;
  std::string images_;
};

// Records every message box (caption, text) and answers OK at once.
class MessageBoxRecorder {
 public:
  MessageBoxRecorder() : previous_(SetMessageBoxHandler(&Record)) { Seen().clear(); }
  ~MessageBoxRecorder() { SetMessageBoxHandler(previous_); }
  MessageBoxRecorder(const MessageBoxRecorder&) = delete;
  MessageBoxRecorder& operator=(const MessageBoxRecorder&) = delete;

  static std::vector<std::pair<std::string, std::string>>& Seen() {
    static std::vector<std::pair<std::string, std::string>> seen;
    return seen;
  }

 private:
  static MessageBoxAnswer Record(const std::string& text, const std::string& caption, MessageBoxButtons) {
    Seen().emplace_back(caption, text);
    return MessageBoxAnswer::kOk;
  }
  MessageBoxHandler previous_;
};

class ControlTest : public GuiTest {
 protected:
  // A point of w's own coordinates in the editor's native window.
  static gui::Point At(const gui::Window& w, int x, int y) {
    const gui::Point o = w.OriginInTopLevel();
    return {o.x + x, o.y + y};
  }
  void ClickOn(const gui::Window& w, int x, int y) {
    const gui::Point p = At(w, x, y);
    headless.Click(&native(), p.x, p.y);
  }
  void DragOn(const gui::Window& w, int x0, int y0, int x1, int y1) {
    const gui::Point a = At(w, x0, y0), b = At(w, x1, y1);
    headless.Drag(&native(), a.x, a.y, b.x, b.y);
  }
  std::uint32_t PixelOf(const gui::Window& w, int x, int y) {
    const gui::Point p = At(w, x, y);
    return Pixel(p.x, p.y);
  }

  SkinFolder skin;
  MessageBoxRecorder boxes;
};

// Channels of a pixel as the headless platform reports it.
inline int Red(std::uint32_t p) { return static_cast<int>((p >> 16) & 0xFF); }
inline int Green(std::uint32_t p) { return static_cast<int>((p >> 8) & 0xFF); }
inline int Blue(std::uint32_t p) { return static_cast<int>(p & 0xFF); }
