// Tests of the X11 platform on the virtual display: a host connection, the
// platform under test, and waiting for what the two connections do to meet
// (nothing is assumed to happen at once between separate X clients).
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "gui/listeners.h"
#include "gui/window.h"
#include "platform/x11_platform.h"
#include "test_host.h"
#include "virtual_display.h"

class X11Test : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string why;
    const x11test::DisplayState state = x11test::StartVirtualDisplay(why);
    if (state == x11test::DisplayState::kNoXvfb) GTEST_SKIP() << why;
    ASSERT_EQ(state, x11test::DisplayState::kRunning) << why;
    gui::SetUserInterfaceThread();
    gui::timers::Install();
    host = std::make_unique<x11test::TestHost>();
    ASSERT_TRUE(host->ok()) << "xcb error " << xcb_connection_has_error(host->connection());
    x11 = platform::X11Platform::Open();
    ASSERT_NE(x11, nullptr);
  }

  // Pumps the platform until done answers true, at most timeoutMs.
  bool PumpUntil(const std::function<bool()>& done, int timeoutMs = 3000) {
    const std::int64_t end = platform::NowMs() + timeoutMs;
    for (;;) {
      x11->Pump();
      SyncPlatform();
      if (done()) return true;
      if (platform::NowMs() > end) return false;
      x11->Wait(5);
    }
  }
  // Everything the platform sent has been handled by the server.
  void SyncPlatform() {
    if (!x11->ok()) return;
    xcb_connection_t* c = x11->connection().get();
    std::free(xcb_get_input_focus_reply(c, xcb_get_input_focus(c), nullptr));
  }
  // Waits for the screen to show the colour there; answers what it shows.
  std::uint32_t ScreenPixelOnceSettled(int x, int y, std::uint32_t expected) {
    std::uint32_t seen = 0;
    PumpUntil([&] { return (seen = host->ScreenPixel(x, y)) == expected; });
    return seen;
  }

  std::unique_ptr<x11test::TestHost> host;
  std::unique_ptr<platform::X11Platform> x11;
};

// Fills itself with one colour; records what reaches it.
struct Swatch : gui::Window {
  explicit Swatch(std::uint32_t rgb = 0) : colour(rgb) {}
  std::uint32_t colour;
  int paints = 0;
  std::vector<std::string> heard;
  void Paint(gui::GraphicsContext& g) override {
    ++paints;
    g.SetColour(colour >> 16, (colour >> 8) & 0xFF, colour & 0xFF, 1, 255);
    g.FillRect(0, 0, width, height);
  }
  void Note(const std::string& what, int x, int y) {
    heard.push_back(what + " " + std::to_string(x) + "," + std::to_string(y));
  }
  void OnLeftDown(int x, int y) override { Note(controlDown ? "ctrl-down" : "down", x, y); }
  void OnLeftUp(int x, int y) override { Note("up", x, y); }
  void OnRightDown(int x, int y) override { Note("right", x, y); }
  void OnMouseMove(int x, int y) override { Note("move", x, y); }
  void OnMouseWheel(int delta, int x, int y) override { Note("wheel" + std::to_string(delta), x, y); }
  void OnKey(const platform::KeyEvent& k) override {
    heard.push_back(k.key == platform::KeyEvent::kCharacter ? "char " + k.text : "key " + std::to_string(k.key));
  }
  bool Heard(const std::string& what) const {
    return std::find(heard.begin(), heard.end(), what) != heard.end();
  }
};
