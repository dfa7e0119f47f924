// The plug-in's own editor on the virtual display, as a host shows it: the
// host's window, effEditOpen with its id, effEditIdle as the only pump, a
// person's click on the About button, and many opens and closes while the
// audio thread plays.
#include <atomic>
#include <chrono>
#include <filesystem>
#include <thread>

#include "plugin_host.h"
#include "support/scoped_env.h"
#include "support/temp_dir.h"
#include "x11_fixture.h"

namespace {

int OpenFileCount() {
  return static_cast<int>(std::distance(std::filesystem::directory_iterator("/proc/self/fd"),
                                        std::filesystem::directory_iterator{}));
}

class PluginEditorX11 : public X11Test {
 protected:
  void SetUp() override {
    X11Test::SetUp();
    if (IsSkipped() || HasFatalFailure()) return;
    // The skin the build drew, where the plug-in looks for it.
    const std::filesystem::path data = dir_.path() / "Tarvenn Audio/Zelvane/Data";
    std::filesystem::create_directories(data);
    std::filesystem::create_directory_symlink(ZELVANE_SKIN_IMAGES, data / "Images");
    xdg_.emplace("XDG_DATA_HOME", dir_.path().string());
    library_ = std::make_unique<zhost::PluginLibrary>(ZELVANE_PLUGIN_PATH);
    plugin_ = std::make_unique<zhost::PluginInstance>(*library_);
    plugin_->Start(44100, 256);
    vst2::ERect* rect = nullptr;
    ASSERT_EQ(plugin_->Dispatch(vst2::effEditGetRect, 0, 0, &rect), 1);
    width_ = rect->right;
    height_ = rect->bottom;
    hostWindow_ = host->CreateWindow(kX, kY, width_, height_);
  }
  void TearDown() override {
    plugin_.reset();
    library_.reset();
  }
  bool Open() {
    return plugin_->Dispatch(vst2::effEditOpen, 0, 0, reinterpret_cast<void*>(std::uintptr_t{hostWindow_})) == 1;
  }
  // Idles the editor as a host does until the screen shows what is wanted.
  bool IdleUntil(const std::function<bool()>& done, int timeoutMs = 4000) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (std::chrono::steady_clock::now() < end) {
      plugin_->Dispatch(vst2::effEditIdle);
      host->Sync();
      if (done()) return true;
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return false;
  }
  std::size_t HostChildren() {
    auto* tree = xcb_query_tree_reply(host->connection(), xcb_query_tree(host->connection(), hostWindow_), nullptr);
    const std::size_t n = tree != nullptr ? xcb_query_tree_children_length(tree) : 0;
    std::free(tree);
    return n;
  }

  static constexpr int kX = 40, kY = 30;
  TempDir dir_;
  std::optional<ScopedEnv> xdg_;
  std::unique_ptr<zhost::PluginLibrary> library_;
  std::unique_ptr<zhost::PluginInstance> plugin_;
  xcb_window_t hostWindow_ = 0;
  int width_ = 0, height_ = 0;
};

TEST_F(PluginEditorX11, OpensInTheHostWindowAndTheAboutButtonShowsTheSplash) {
  ASSERT_EQ(width_, 767);
  ASSERT_EQ(height_, 638);
  testing::internal::CaptureStderr();
  ASSERT_TRUE(Open());
  EXPECT_EQ(HostChildren(), 1u) << "the editor is a child of the host's window";
  // The page's background reaches the screen: the corner is no longer black.
  const int cx = kX + width_ / 2, cy = kY + height_ / 2;
  ASSERT_TRUE(IdleUntil([&] { return host->ScreenPixel(kX + 700, kY + 600) != 0; }));
  IdleUntil([] { return false; }, 200);  // settled
  const std::uint32_t page = host->ScreenPixel(cx, cy);

  host->Click(kX + 50, kY + 18);  // About
  ASSERT_TRUE(IdleUntil([&] { return host->ScreenPixel(cx, cy) != page; })) << "no splash";
  IdleUntil([] { return false; }, 300);
  const std::uint32_t splash = host->ScreenPixel(cx, cy);
  EXPECT_NE(splash, page);
  host->Click(cx, cy);  // the splash goes again
  EXPECT_TRUE(IdleUntil([&] { return host->ScreenPixel(cx, cy) == page; }));

  plugin_->Dispatch(vst2::effEditClose);
  host->Sync();
  EXPECT_EQ(HostChildren(), 0u) << "closed cleanly";
  const std::string said = testing::internal::GetCapturedStderr();
  EXPECT_EQ(said.find("rror"), std::string::npos) << said;
}

TEST_F(PluginEditorX11, AHundredOpensAndClosesWhileTheAudioThreadPlays) {
  std::atomic<bool> stop{false};
  std::atomic<long> blocks{0};
  std::thread audio([&] {
    std::vector<float> l(256), r(256);
    for (int b = 0; !stop; ++b) {
      if (b % 8 == 0) plugin_->SendMidi({{0, {0x90, static_cast<std::uint8_t>(48 + b % 24), 100}}});
      if (b % 8 == 4) plugin_->SendMidi({{0, {0x80, static_cast<std::uint8_t>(48 + (b - 4) % 24), 0}}});
      plugin_->Process(l.data(), r.data(), 256);
      ++blocks;
      std::this_thread::sleep_for(std::chrono::microseconds(500));
    }
  });
  testing::internal::CaptureStderr();
  ASSERT_TRUE(Open());
  plugin_->Dispatch(vst2::effEditIdle);
  plugin_->Dispatch(vst2::effEditClose);
  const int files = OpenFileCount();
  for (int i = 0; i < 100; ++i) {
    ASSERT_TRUE(Open()) << "open " << i;
    plugin_->Dispatch(vst2::effEditIdle);
    if (i % 25 == 0) plugin_->Dispatch(vst2::effEditOpen, 0, 0, reinterpret_cast<void*>(std::uintptr_t{hostWindow_}));
    plugin_->Dispatch(vst2::effEditIdle);
    plugin_->Dispatch(vst2::effEditClose);
  }
  stop = true;
  audio.join();
  host->Sync();
  EXPECT_EQ(OpenFileCount(), files);
  EXPECT_EQ(HostChildren(), 0u);
  EXPECT_GT(blocks.load(), 100);
  const std::string said = testing::internal::GetCapturedStderr();
  EXPECT_EQ(said.find("rror"), std::string::npos) << said;
}

}  // namespace
