// A headless editor-sized top-level to put windows in, with helpers to click
// and read pixels in the root's coordinates.
#pragma once

#include <gtest/gtest.h>

#include <memory>

#include "gui/listeners.h"
#include "gui/top_level.h"
#include "gui/window.h"
#include "platform/headless_platform.h"

class GuiTest : public ::testing::Test {
 protected:
  GuiTest() {
    gui::SetUserInterfaceThread();
    gui::timers::Install();
    root.width = 400;
    root.height = 300;
    top = std::make_unique<gui::TopLevel>(headless, platform::WindowKind::kEmbedded, 0, nullptr, root, 0, 0);
    headless.Pump();
  }
  ~GuiTest() override { top.reset(); }

  platform::NativeWindow& native() { return top->native(); }
  std::uint32_t Pixel(int x, int y) {
    headless.Pump();
    return headless.Pixel(&native(), x, y);
  }
  void Click(int x, int y) { headless.Click(&native(), x, y); }

  platform::HeadlessPlatform headless;
  gui::Window root;
  std::unique_ptr<gui::TopLevel> top;
};

// Opaque colours as the headless platform reports them.
constexpr std::uint32_t Rgb(std::uint32_t r, std::uint32_t g, std::uint32_t b) {
  return 0xFF000000u | (r << 16) | (g << 8) | b;
}
