#include "persist/preset_library.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

#include "shell/message_box.h"
#include "support/temp_dir.h"

namespace fs = std::filesystem;
using Entry = PresetLibrary::Entry;

namespace {

void Touch(const fs::path& file, const std::string& bytes = "") {
  fs::create_directories(file.parent_path());
  std::ofstream(file, std::ios::binary) << bytes;
}

std::string Load(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// Every path below dir, links not entered.
std::set<std::string> Snapshot(const fs::path& dir) {
  std::set<std::string> paths;
  for (const auto& e : fs::recursive_directory_iterator(dir)) paths.insert(e.path().string());
  return paths;
}

std::vector<std::string> CategoryNames(const PresetLibrary& lib) {
  std::vector<std::string> names;
  for (const auto& c : lib.categories()) names.push_back(c.name);
  return names;
}

// Answers questions as the test says and counts them.
MessageBoxAnswer gAnswer = MessageBoxAnswer::kNo;
std::vector<std::string> gAsked;
MessageBoxAnswer Answer(const std::string& text, const std::string& caption, MessageBoxButtons) {
  gAsked.push_back(caption + "|" + text);
  return gAnswer;
}
struct ScopedAnswers {
  explicit ScopedAnswers(MessageBoxAnswer a) : previous(SetMessageBoxHandler(&Answer)) {
    gAnswer = a;
    gAsked.clear();
  }
  ~ScopedAnswers() { SetMessageBoxHandler(previous); }
  MessageBoxHandler previous;
};

}  // namespace

TEST(PresetLibraryListing, ExactExtensionDottedNamesAndCaseBlindOrder) {
  TempDir dir;
  const fs::path root = dir.path() / "lib";
  for (const char* f :
       {"Alpha/Bass(User).zel", "Alpha/Lead(User).ZEL", "Alpha/Pad.old.zel", "Alpha/arp.zel",
        "Alpha/notes", "Alpha/wave.wfm", "Alpha/.zel", "Alpha/Sub.zel/inner.zel", "gamma/b.zel",
        "gamma/A.zel", "gamma/c.zel", "Zulu/z.zel", "loose.zel"}) {
    Touch(root / f);
  }
  fs::create_directories(root / "beta");

  PresetLibrary lib;
  lib.Init(root.string(), PatchLibraryKind());
  EXPECT_EQ(CategoryNames(lib), (std::vector<std::string>{"Alpha", "beta", "gamma", "Zulu"}));
  EXPECT_EQ(lib.flatList(), (std::vector<Entry>{{"Alpha", "arp"},
                                                {"Alpha", "Bass(User)"},
                                                {"Alpha", "Pad.old"},
                                                {"gamma", "A"},
                                                {"gamma", "b"},
                                                {"gamma", "c"},
                                                {"Zulu", "z"}}));
  EXPECT_TRUE(lib.categories()[1].items.empty());

  PresetLibrary waves;
  waves.Init(root.string(), WaveformLibraryKind());
  EXPECT_EQ(waves.flatList(), (std::vector<Entry>{{"Alpha", "wave"}}));
  waves.Init((root / "missing").string(), WaveformLibraryKind());
  EXPECT_TRUE(waves.categories().empty());
}

TEST(PresetLibraryNavigation, NextAndPreviousWrapAndStartFromTheFirst) {
  TempDir dir;
  for (const char* f : {"A/1.ztl", "A/2.ztl", "B/3.ztl"}) Touch(dir.path() / f);
  PresetLibrary lib;
  lib.Init(dir.path().string(), TimelineLibraryKind());
  EXPECT_EQ(lib.NextItem("A", "1"), (Entry{"A", "2"}));
  EXPECT_EQ(lib.NextItem("A", "2"), (Entry{"B", "3"}));
  EXPECT_EQ(lib.NextItem("B", "3"), (Entry{"A", "1"}));
  EXPECT_EQ(lib.PreviousItem("A", "1"), (Entry{"B", "3"}));
  EXPECT_EQ(lib.PreviousItem("B", "3"), (Entry{"A", "2"}));
  EXPECT_EQ(lib.NextItem("<untitled>", "<untitled>"), (Entry{"A", "1"}));
  EXPECT_EQ(lib.PreviousItem("B", "1"), (Entry{"A", "1"}));  // the pair must match
  lib.Init((dir.path() / "none").string(), TimelineLibraryKind());
  EXPECT_FALSE(lib.NextItem("A", "1").has_value());
  EXPECT_FALSE(lib.PreviousItem("A", "1").has_value());
}

TEST(PresetLibraryFiles, SaveAsksBeforeOverwritingAndReadsBackWithHeaderCheck) {
  TempDir dir;
  const fs::path root = dir.path() / "Patches";
  PresetLibrary lib;
  lib.Init(root.string(), PatchLibraryKind());
  ScopedAnswers answers(MessageBoxAnswer::kNo);

  ParameterFileWriter w;
  ASSERT_TRUE(lib.OpenForWrite("Keys", "Piano", w));
  w.WriteInt(1);
  ASSERT_TRUE(w.Close());
  const fs::path file = root / "Keys/Piano(User).zel";
  const std::string first = Load(file);
  EXPECT_EQ(first, std::string("ZelvanePatch\r\x00\x00\x80\x3F\x01\x00\x00\x00", 21));
  EXPECT_TRUE(gAsked.empty());

  // "(User)" is not added twice; No keeps the old file untouched.
  EXPECT_FALSE(lib.OpenForWrite("Keys", "Piano(User)", w));
  EXPECT_EQ(gAsked, (std::vector<std::string>{"File Save|File already exists. Overwrite?"}));
  EXPECT_EQ(Load(file), first);

  gAnswer = MessageBoxAnswer::kYes;
  ASSERT_TRUE(lib.OpenForWrite("Keys", "Piano", w));
  w.WriteInt(2);
  ASSERT_TRUE(w.Close());
  lib.Rescan();
  EXPECT_EQ(lib.flatList(), (std::vector<Entry>{{"Keys", "Piano(User)"}}));
  ParameterFileReader r;
  ASSERT_TRUE(lib.OpenForRead("Keys", "Piano(User)", r));
  EXPECT_EQ(r.ReadInt(), 2);
  r.Close();

  // A patch's bytes under a waveform name fail the waveform header check.
  fs::copy_file(file, root / "Keys/Fake.wfm");
  PresetLibrary waves;
  waves.Init(root.string(), WaveformLibraryKind());
  EXPECT_FALSE(waves.OpenForRead("Keys", "Fake", r));
  EXPECT_FALSE(waves.lastError().empty());
  EXPECT_FALSE(lib.OpenForRead("Keys", "Missing", r));

  // Folders deleted from outside come back on the next save.
  fs::remove_all(root);
  ASSERT_TRUE(lib.OpenForWrite("Keys", "ab", w));
  EXPECT_TRUE(w.Close());
  EXPECT_TRUE(fs::is_regular_file(root / "Keys/ab(User).zel"));
}

TEST(PresetLibraryFolders, CategoryAndItemOperationsNeverReplace) {
  TempDir dir;
  const fs::path root = dir.path();
  for (const char* f : {"Keys/Piano.zel", "Keys/Organ.zel", "Keys/deep/er/x.zel"}) Touch(root / f);
  PresetLibrary lib;
  lib.Init(root.string(), PatchLibraryKind());

  EXPECT_TRUE(lib.CreateCategory("Pads"));
  EXPECT_FALSE(lib.CreateCategory("Pads"));
  EXPECT_FALSE(lib.RenameCategory("Pads", "Keys"));
  EXPECT_TRUE(fs::is_directory(root / "Pads"));
  EXPECT_TRUE(fs::exists(root / "Keys/Piano.zel"));
  EXPECT_FALSE(lib.lastError().empty());
  EXPECT_TRUE(lib.RenameCategory("Pads", "Strings"));
  EXPECT_FALSE(lib.RenameCategory("Missing", "Other"));
  EXPECT_EQ(CategoryNames(lib), (std::vector<std::string>{"Keys", "Strings"}));

  EXPECT_TRUE(lib.RenameItem("Keys", "Piano", "Grand"));  // no "(User)" added
  EXPECT_TRUE(fs::exists(root / "Keys/Grand.zel"));
  EXPECT_FALSE(lib.RenameItem("Keys", "Grand", "Organ"));
  EXPECT_TRUE(fs::exists(root / "Keys/Grand.zel") && fs::exists(root / "Keys/Organ.zel"));

  EXPECT_TRUE(lib.DeleteItem(0, "Grand"));
  EXPECT_FALSE(lib.DeleteItem(0, "Grand"));
  EXPECT_FALSE(lib.DeleteItem(-1, "Organ"));
  EXPECT_FALSE(lib.DeleteItem(2, "Organ"));
  EXPECT_EQ(lib.flatList(), (std::vector<Entry>{{"Keys", "Organ"}}));

  EXPECT_TRUE(lib.DeleteCategory("Keys"));
  EXPECT_FALSE(fs::exists(root / "Keys"));
  EXPECT_EQ(CategoryNames(lib), (std::vector<std::string>{"Strings"}));
}

TEST(PresetLibrarySafety, NamesThatLeaveTheLibraryAreRefused) {
  TempDir dir;
  const fs::path root = dir.path() / "lib";
  Touch(root / "Cat/item.zel");
  Touch(dir.path() / "outside/victim.zel");
  PresetLibrary lib;
  lib.Init(root.string(), PatchLibraryKind());
  ScopedAnswers answers(MessageBoxAnswer::kYes);
  const std::set<std::string> before = Snapshot(dir.path());

  ParameterFileWriter w;
  ParameterFileReader r;
  for (const std::string& bad :
       {std::string(), std::string("."), std::string(".."), std::string("../outside"),
        std::string("a/b"), std::string("/tmp"), std::string("a\0b", 3)}) {
    SCOPED_TRACE(bad);
    EXPECT_FALSE(lib.CreateCategory(bad));
    EXPECT_FALSE(lib.RenameCategory("Cat", bad));
    EXPECT_FALSE(lib.RenameCategory(bad, "New"));
    EXPECT_FALSE(lib.DeleteCategory(bad));
    EXPECT_FALSE(lib.RenameItem("Cat", "item", bad));
    EXPECT_FALSE(lib.RenameItem(bad, "victim", "x"));
    EXPECT_FALSE(lib.DeleteItem(0, bad));
    EXPECT_FALSE(lib.OpenForWrite(bad, "victim", w));
    EXPECT_FALSE(lib.OpenForWrite("Cat", bad, w));
    EXPECT_FALSE(lib.OpenForRead(bad, "item", r));
    EXPECT_FALSE(lib.lastError().empty());
  }
  EXPECT_EQ(Snapshot(dir.path()), before);
  EXPECT_TRUE(gAsked.empty());
}

TEST(PresetLibrarySafety, DeletingRemovesLinksNotWhatTheyPointAt) {
  TempDir dir;
  const fs::path root = dir.path() / "lib", outside = dir.path() / "outside";
  Touch(outside / "keep.zel");
  Touch(outside / "sub/keep.txt");
  Touch(root / "Cat/real.zel");
  fs::create_directory_symlink(outside, root / "Cat/dirlink");
  fs::create_directories(root / "Cat/nested");
  fs::create_directory_symlink(outside / "sub", root / "Cat/nested/deeplink");
  fs::create_symlink(outside / "keep.zel", root / "Cat/linked.zel");
  fs::create_directory_symlink(outside, root / "Linked");
  PresetLibrary lib;
  lib.Init(root.string(), PatchLibraryKind());
  ASSERT_EQ(CategoryNames(lib), (std::vector<std::string>{"Cat", "Linked"}));

  EXPECT_TRUE(lib.DeleteItem(0, "linked"));
  EXPECT_FALSE(fs::is_symlink(root / "Cat/linked.zel"));
  EXPECT_TRUE(lib.DeleteCategory("Cat"));
  EXPECT_TRUE(lib.DeleteCategory("Linked"));
  EXPECT_FALSE(fs::exists(root / "Cat") || fs::is_symlink(root / "Linked"));
  EXPECT_TRUE(fs::exists(outside / "keep.zel") && fs::exists(outside / "sub/keep.txt"));
  EXPECT_TRUE(lib.categories().empty());
}
