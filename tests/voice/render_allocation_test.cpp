// The audio thread's work never allocates and never opens a file once warmed
// up. This program counts every heap allocation and every file opened while
// the instrument's audio-thread entry points run (MIDI intake and blocks):
// busy playing, learned controllers, patch and state loads between blocks,
// and a long run.
#include <dlfcn.h>
#include <fcntl.h>

#include <atomic>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <new>

#include "persist/streams.h"
#include "playing.h"
#include "shell/message_box.h"
#include "support/scoped_env.h"
#include "support/temp_dir.h"

namespace {
std::atomic<long> allocations{0};
std::atomic<long> filesOpened{0};
// Set only around calls the host makes on its audio thread.
thread_local bool onAudioThread = false;
}  // namespace

void* operator new(std::size_t size) {
  if (onAudioThread) allocations.fetch_add(1, std::memory_order_relaxed);
  if (void* p = std::malloc(size == 0 ? 1 : size)) return p;
  throw std::bad_alloc();
}
// GCC pairs this free with the replaced new it cannot see through.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
#pragma GCC diagnostic pop

// Every way a file is opened passes through here first.
namespace {
template <typename F>
F Next(const char* name) {
  return reinterpret_cast<F>(dlsym(RTLD_NEXT, name));
}
void CountFile() {
  if (onAudioThread) filesOpened.fetch_add(1, std::memory_order_relaxed);
}
}  // namespace
extern "C" {
FILE* fopen(const char* path, const char* mode) {
  CountFile();
  return Next<FILE* (*)(const char*, const char*)>("fopen")(path, mode);
}
FILE* fopen64(const char* path, const char* mode) {
  CountFile();
  return Next<FILE* (*)(const char*, const char*)>("fopen64")(path, mode);
}
int open(const char* path, int flags, ...) {
  CountFile();
  va_list args;
  va_start(args, flags);
  const mode_t mode = (flags & O_CREAT) ? static_cast<mode_t>(va_arg(args, int)) : 0;
  va_end(args);
  return Next<int (*)(const char*, int, ...)>("open")(path, flags, mode);
}
int open64(const char* path, int flags, ...) {
  CountFile();
  va_list args;
  va_start(args, flags);
  const mode_t mode = (flags & O_CREAT) ? static_cast<mode_t>(va_arg(args, int)) : 0;
  va_end(args);
  return Next<int (*)(const char*, int, ...)>("open64")(path, flags, mode);
}
int openat(int dir, const char* path, int flags, ...) {
  CountFile();
  va_list args;
  va_start(args, flags);
  const mode_t mode = (flags & O_CREAT) ? static_cast<mode_t>(va_arg(args, int)) : 0;
  va_end(args);
  return Next<int (*)(int, const char*, int, ...)>("openat")(dir, path, flags, mode);
}
}

namespace {

class RenderSafety : public PlayingTest {
 protected:
  RenderSafety() : xdg_("XDG_DATA_HOME", home_.path().string()) {
    previous_ = SetMessageBoxHandler([](const std::string&, const std::string&, MessageBoxButtons) {
      return MessageBoxAnswer::kYes;
    });
    z = std::make_unique<Zelvane>(Host, InstanceOptions{""});
    automation.reserve(1 << 16);  // the test host's own log must not count
  }
  ~RenderSafety() override { SetMessageBoxHandler(previous_); }

  void BusyPatch() {
    for (int k = 0; k < 4; ++k) {
      VoiceSettings& s = z->voiceSettings(k);
      s.setting(VoiceSettings::kLayerOn).SetValue(1.0f);
      s.setting(VoiceSettings::kUnisonCount).SetValue(4.0f);
      s.setting(VoiceSettings::kFilterOn).SetValue(1.0f);
      s.setting(VoiceSettings::kReleaseLength).SetValue(3000.0f);
      SetLine(k, VoiceSettings::kWave, {0.3f, -0.2f, 0.6f});
      SetLine(k, VoiceSettings::kEffects, {0, 0.3f, 0.3f, 0.3f});
      // Matrix row 0: LFO1 to the vector X.
      s.routing(0) = ModRouting{true, nullptr, 0, nullptr, kVectorX, 0.0f, false, true};
      s.routing(0).amount = 0.5f;
    }
    for (int i = 0; i < 16; ++i) {
      for (int k = 0; k < 4; ++k) z->znote(i).layer(k).SyncRoutings();
    }
    z->delay().enabled().SetValue(1.0f);
    z->reverb().enabled().SetValue(1.0f);
    z->distortion().enabled().SetValue(1.0f);
    z->masterFilter(0).enabled().SetValue(1.0f);
  }

  // What the host does on its audio thread for one block.
  void AudioBlock(int b, int frames) {
    onAudioThread = true;
    const int key = 40 + (b * 7) % 40;
    Key(key, 60 + b % 60, b % frames);
    if (b % 3 == 0) KeyUp(40 + ((b - 9) * 7 % 40 + 40) % 40, 17 % frames);
    if (b % 50 == 0) z->HandleEvent(0, 0xE0, 0, b % 128, 0);
    if (b % 97 == 0) z->HandleEvent(0, 0xB0, 64, b % 2 ? 127 : 0, 0);
    if (b % 5 == 0) z->HandleEvent(b % 16, 0xB0, 21 + b % 3, b % 128, 0);  // learned
    float* out[2] = {bufferL_.data(), bufferR_.data()};
    z->processReplacing(nullptr, out, frames);
    onAudioThread = false;
  }
  void Busy(int blocks, int frames = 256) {
    for (int b = 0; b < blocks; ++b) AudioBlock(b, frames);
  }

  TempDir home_;
  ScopedEnv xdg_;
  MessageBoxHandler previous_ = nullptr;
  std::vector<float> bufferL_ = std::vector<float>(256), bufferR_ = std::vector<float>(256);
};

TEST_F(RenderSafety, BusyPlayingWithLearnedControllersAllocatesNothing) {
  BusyPatch();
  // Controllers 21 to 23 drive two pads and the freeze position; one more
  // is learned while playing (the mapping waits for the user-interface thread).
  MidiLearnManager& learn = z->learnManager();
  for (auto [p, c] : {std::pair{&z->performSource(0).x(), 21}, {&z->performSource(3).y(), 22},
                      {&z->freezePosition(), 23}}) {
    learn.SetLearnTarget(p);
    z->HandleEvent(0, 0xB0, c, 0, 0);
  }
  Busy(500);  // warm-up: lists reach their working sizes
  const long before = allocations.load();
  learn.SetLearnTarget(&z->performSource(5).x());
  Busy(3000);
  EXPECT_EQ(allocations.load() - before, 0);
  EXPECT_EQ(filesOpened.load(), 0);
  EXPECT_EQ(learn.Mappings().size(), 4u);
  EXPECT_NE(z->performSource(0).x().GetValue(), 0.0f);
}

TEST_F(RenderSafety, PatchAndStateLoadsBetweenBlocksLeaveTheAudioThreadAlone) {
  BusyPatch();
  z->voiceSettings(2).waveSet().BuildFromSamples(3, std::vector<float>(4096, 0.1f));
  ASSERT_TRUE(z->SavePatch("Safe", "Busy"));
  const std::string state = z->GetState();
  Busy(500);
  const long before = allocations.load();
  for (int round = 0; round < 40; ++round) {
    // The user-interface thread's work, between the audio thread's blocks.
    if (round % 2 == 0) {
      ASSERT_TRUE(z->LoadPatch("Safe", "Busy(User)"));
    } else {
      z->SetState(state.data(), state.size());
    }
    z->GetState();
    z->SelectVoice(round % 4);
    Busy(50);
  }
  EXPECT_EQ(allocations.load() - before, 0);
  EXPECT_EQ(filesOpened.load(), 0);
}

TEST_F(RenderSafety, AHundredThousandBlocksAllocateNothing) {
  BusyPatch();
  z->voiceSettings(1).setting(VoiceSettings::kUnisonCount).SetValue(1.0f);
  z->voiceSettings(2).setting(VoiceSettings::kLayerOn).SetValue(0.0f);
  z->voiceSettings(3).setting(VoiceSettings::kLayerOn).SetValue(0.0f);
  Busy(500, 16);
  const long before = allocations.load();
  Busy(100000, 16);
  EXPECT_EQ(allocations.load() - before, 0);
  EXPECT_EQ(filesOpened.load(), 0);
}

}  // namespace
