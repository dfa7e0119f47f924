// scripts/install.sh against a stand-in build directory and a home of its
// own: where the plug-in and the skin go, and what it refuses.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "support/temp_dir.h"

namespace {

namespace fs = std::filesystem;

const std::string kScript = std::string(ZELVANE_SOURCE_DIR) + "/scripts/install.sh";

class InstallScript : public ::testing::Test {
 protected:
  InstallScript() {
    home = dir.path() / "home";
    build = dir.path() / "build";
    fs::create_directories(home);
    fs::create_directories(build / "skin/Data/Images");
    Write(build / "ZelvaneWinVst.so", "plug-in");
    Write(build / "skin/Data/Images/Knob.png", "knob");
    Write(build / "skin/Data/Images/Help But Up.png", "help");
  }

  static void Write(const fs::path& p, const std::string& text) { std::ofstream(p) << text; }
  // A path in single quotes for the shell. Built by appending: gcc 12 warns
  // wrongly about chains of string + at -O3.
  static std::string Quoted(const fs::path& p) {
    std::string q = "'";
    q += p.string();
    q += "'";
    return q;
  }
  static std::string Read(const fs::path& p) {
    std::ifstream in(p);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
  }

  // Runs the script with HOME set to the test's home and the given extra
  // environment; returns its exit status, keeps what it printed.
  int Run(const std::string& env, const std::string& args) {
    const fs::path out = dir.path() / "out.txt";
    std::string command = "env -u XDG_DATA_HOME -u LXVST_PATH HOME=";
    command += Quoted(home);
    command += " ";
    command += env;
    command += " bash ";
    command += Quoted(kScript);
    command += " ";
    command += args;
    command += " > ";
    command += Quoted(out);
    command += " 2>&1";
    const int status = std::system(command.c_str());
    printed = Read(out);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }

  TempDir dir;
  fs::path home, build;
  std::string printed;
};

TEST_F(InstallScript, CopiesThePluginAndEverySkinImageIntoTheUsersFolders) {
  ASSERT_EQ(Run("", Quoted(build)), 0) << printed;
  const fs::path images = home / ".local/share/Tarvenn Audio/Zelvane/Data/Images";
  EXPECT_EQ(Read(home / ".vst/ZelvaneWinVst.so"), "plug-in");
  EXPECT_EQ(Read(images / "Knob.png"), "knob");
  EXPECT_EQ(Read(images / "Help But Up.png"), "help") << "names with spaces are kept";
  EXPECT_NE(printed.find(images.string()), std::string::npos) << printed;
  EXPECT_NE(printed.find("LXVST_PATH"), std::string::npos) << "the hint for hosts that do not look in ~/.vst";

  // Again over an older install: files are replaced, not doubled.
  Write(build / "ZelvaneWinVst.so", "newer");
  ASSERT_EQ(Run("LXVST_PATH=" + Quoted(home / ".vst"), Quoted(build)), 0) << printed;
  EXPECT_EQ(Read(home / ".vst/ZelvaneWinVst.so"), "newer");
  EXPECT_EQ(printed.find("export LXVST_PATH"), std::string::npos) << "no hint when the path has ~/.vst already";
}

TEST_F(InstallScript, PutsTheSkinWhereThePluginLooksForIt) {
  const fs::path xdg = dir.path() / "xdg";
  ASSERT_EQ(Run("XDG_DATA_HOME=" + Quoted(xdg.string() + "/"), Quoted(build)), 0) << printed;
  EXPECT_TRUE(fs::exists(xdg / "Tarvenn Audio/Zelvane/Data/Images/Knob.png"));
  EXPECT_FALSE(fs::exists(home / ".local/share/Tarvenn Audio"));

  // A relative XDG_DATA_HOME is ignored by the plug-in, and so here.
  ASSERT_EQ(Run("XDG_DATA_HOME=relative/data", Quoted(build)), 0) << printed;
  EXPECT_TRUE(fs::exists(home / ".local/share/Tarvenn Audio/Zelvane/Data/Images/Knob.png"));
}

TEST_F(InstallScript, RefusesABuildWithoutPluginOrSkinAndTouchesNothing) {
  fs::remove(build / "ZelvaneWinVst.so");
  EXPECT_NE(Run("", Quoted(build)), 0);
  EXPECT_NE(printed.find("no plug-in"), std::string::npos) << printed;

  Write(build / "ZelvaneWinVst.so", "plug-in");
  fs::remove_all(build / "skin");
  EXPECT_NE(Run("", Quoted(build)), 0);
  EXPECT_NE(printed.find("no skin images"), std::string::npos) << printed;
  EXPECT_FALSE(fs::exists(home / ".vst"));
  EXPECT_FALSE(fs::exists(home / ".local"));
}

}  // namespace
