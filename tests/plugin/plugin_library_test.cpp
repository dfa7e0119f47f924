// The library file as a host's loader and scanner meet it.
#include <gtest/gtest.h>
#include <malloc.h>

#include <algorithm>
#include <filesystem>
#include <set>

#include "elf_reader.h"
#include "plugin_host.h"
#include "support/temp_dir.h"

using namespace zhost;

namespace {

TEST(PluginLibrary, ExportsOnlyTheEntryPoints) {
  const ElfDynamicInfo info = ReadElfDynamicInfo(ZELVANE_PLUGIN_PATH);
  std::set<std::string> exported(info.exportedSymbols.begin(), info.exportedSymbols.end());
  EXPECT_EQ(exported, (std::set<std::string>{"VSTPluginMain", "main"}));
}

TEST(PluginLibrary, NeedsOnlySystemLibrariesEveryDesktopHas) {
  const ElfDynamicInfo info = ReadElfDynamicInfo(ZELVANE_PLUGIN_PATH);
  const std::set<std::string> allowed = {"libstdc++.so.6", "libm.so.6",      "libgcc_s.so.1",
                                         "libc.so.6",      "ld-linux-x86-64.so.2",
                                         "libX11.so.6",    "libcairo.so.2",   "libasan.so.8",
                                         "libubsan.so.1",  "libtsan.so.2",    "libfftw3f.so.3",
                                         "libsndfile.so.1", "libxcb.so.1",   "libxcb-keysyms.so.1"};
  for (const std::string& lib : info.neededLibraries) {
    EXPECT_TRUE(allowed.contains(lib)) << "unexpected dependency " << lib;
  }
  EXPECT_FALSE(info.neededLibraries.empty());
}

TEST(PluginLibrary, ARenamedCopyIsRefusedWithoutCrashing) {
  TempDir dir;
  const std::string copy = dir.File("Renamed.so");
  std::filesystem::copy_file(ZELVANE_PLUGIN_PATH, copy);
  PluginLibrary library(copy);
  ASSERT_NE(library.entry(), nullptr);
  EXPECT_THROW(PluginInstance instance(library), HostError);
}

int OpenFileCount() {
  return static_cast<int>(std::distance(std::filesystem::directory_iterator("/proc/self/fd"),
                                        std::filesystem::directory_iterator{}));
}

TEST(PluginLibrary, RepeatedCreateAndDestroyLeavesNothingBehind) {
  PluginLibrary library(ZELVANE_PLUGIN_PATH);
  auto cycle = [&] {
    PluginInstance plugin(library);
    plugin.Start(48000.0, 256);
    float l[256], r[256];
    plugin.Process(l, r, 256);
  };
  for (int i = 0; i < 5; ++i) cycle();  // warm-up: one-time statics
  const int files = OpenFileCount();
  const std::size_t heap = mallinfo2().uordblks;
  for (int i = 0; i < 200; ++i) cycle();
  EXPECT_EQ(OpenFileCount(), files);
  // A few kilobytes of slack for the allocator's own bookkeeping; one leaked
  // instance is far larger than this.
  EXPECT_LT(mallinfo2().uordblks, heap + 16 * 1024);
}

}  // namespace
