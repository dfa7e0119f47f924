#include "persist/data_folders.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>

#include "persist/preset_library.h"
#include "support/scoped_env.h"
#include "support/temp_dir.h"


TEST(DataFolders, TreeLiesUnderXdgDataHomeOrHomeAndIsNotCreated) {
  TempDir dir;
  const std::string xdg = dir.File("xdg"), home = dir.File("home");
  ScopedEnv xdgEnv("XDG_DATA_HOME", xdg + "/");
  ScopedEnv homeEnv("HOME", home);

  const DataFolders f = InitDataFolders();
  const std::string root = xdg + "/Tarvenn Audio/Zelvane/";
  EXPECT_EQ(f.root, root);
  EXPECT_EQ(f.images, root + "Data/Images/");
  EXPECT_EQ(f.data, root + "Data/");
  EXPECT_EQ(f.midiLearnFile, root + "Data/MidiLearnMappings.dat");
  EXPECT_EQ(f.patches, root + "Patches");
  EXPECT_EQ(f.waveforms, root + "Waveforms");
  EXPECT_EQ(f.timeline, root + "Timeline");
  EXPECT_EQ(f.manual, root + "Zelvane 1.0 User Manual.pdf");
  EXPECT_EQ(CurrentDataFolders().patches, f.patches);
  EXPECT_FALSE(std::filesystem::exists(xdg));

  // Empty and relative values are not data directories.
  const std::string fallback = home + "/.local/share";
  xdgEnv.Set("");
  EXPECT_EQ(GetAppDataFolder(), fallback);
  xdgEnv.Set("relative/data");
  EXPECT_EQ(MakeDataFolders(GetAppDataFolder()).timeline,
            fallback + "/Tarvenn Audio/Zelvane/Timeline");
  xdgEnv.Set(std::nullopt);
  EXPECT_EQ(ManualPath(), fallback + "/Tarvenn Audio/Zelvane/Zelvane 1.0 User Manual.pdf");

  // Without HOME the account's home is asked for; without any, the tree
  // starts at the filesystem root.
  homeEnv.Set(std::nullopt);
  const std::string asked = GetAppDataFolder();
  EXPECT_TRUE(asked.empty() || (asked.front() == '/' && asked.ends_with("/.local/share")));
  EXPECT_EQ(MakeDataFolders("").patches, "/Tarvenn Audio/Zelvane/Patches");
}

TEST(DataFolders, FirstSaveOfAFreshInstallationCreatesTheFolders) {
  TempDir dir;
  ScopedEnv xdgEnv("XDG_DATA_HOME", dir.File("data"));
  const DataFolders f = InitDataFolders();

  PresetLibrary patches;
  patches.Init(f.patches, PatchLibraryKind());
  EXPECT_TRUE(patches.categories().empty());
  ParameterFileWriter writer;
  ASSERT_TRUE(patches.OpenForWrite("Bass", "Growl", writer)) << patches.lastError();
  EXPECT_TRUE(writer.Close());
  patches.Rescan();
  EXPECT_EQ(patches.flatList(), (std::vector<PresetLibrary::Entry>{{"Bass", "Growl(User)"}}));
  EXPECT_TRUE(std::filesystem::is_regular_file(f.patches + "/Bass/Growl(User).zel"));
  struct stat st {};
  ASSERT_EQ(stat(f.root.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0700u);

  // A file where a folder should be stops the creation.
  std::ofstream(dir.File("plain"));
  EXPECT_FALSE(CreateFolderWithParents(dir.File("plain") + "/sub"));
  EXPECT_TRUE(CreateFolderWithParents(f.root));
}
