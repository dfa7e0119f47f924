// The desktop's file chooser run as a program: stand-ins for zenity and
// kdialog on a PATH of their own record what they were asked and answer
// as the user would.
#include "platform/file_chooser.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <fstream>
#include <sstream>

#include "support/scoped_env.h"
#include "support/temp_dir.h"

namespace {

class DesktopChooser : public ::testing::Test {
 protected:
  DesktopChooser() : path("PATH", dir.path().string()), desktop("XDG_CURRENT_DESKTOP", std::nullopt) {}

  // A stand-in that writes its arguments, one a line, and then does what
  // the script's end says.
  void Install(const std::string& name, const std::string& then) {
    const std::string file = dir.File(name);
    std::ofstream out(file);
    out << "#!/bin/sh\nfor a in \"$@\"; do printf '%s\\n' \"$a\"; done > '" << dir.File(name + ".args") << "'\n"
        << then << "\n";
    out.close();
    chmod(file.c_str(), 0755);
  }
  std::string Args(const std::string& name) {
    std::ifstream in(dir.File(name + ".args"));
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
  }

  TempDir dir;
  ScopedEnv path, desktop;
};

TEST_F(DesktopChooser, WithoutAChooserThereIsNoneAndNothingIsChosen) {
  EXPECT_FALSE(platform::DesktopFileChooserAvailable());
  EXPECT_EQ(platform::ChooseFileWithDesktop("Import", "/tmp", "*.wav"), std::nullopt);
}

TEST_F(DesktopChooser, ZenityIsAskedInItsOwnTermsAndItsAnswerIsThePath) {
  Install("zenity", "echo '/home/someone/My Waves/pad one.wav'");
  ASSERT_TRUE(platform::DesktopFileChooserAvailable());
  EXPECT_EQ(platform::ChooseFileWithDesktop("Import WAV", "/home/someone/My Waves", "*.wav *.WAV"),
            "/home/someone/My Waves/pad one.wav");
  EXPECT_EQ(Args("zenity"),
            "--file-selection\n--title=Import WAV\n--filename=/home/someone/My Waves/\n--file-filter=*.wav *.WAV\n");
}

TEST_F(DesktopChooser, CancellingOrFailingChoosesNothing) {
  Install("zenity", "exit 1");
  EXPECT_EQ(platform::ChooseFileWithDesktop("Import", "", ""), std::nullopt);
  EXPECT_EQ(Args("zenity"), "--file-selection\n--title=Import\n");
  Install("zenity", "echo /half/chosen.wav; exit 5");
  EXPECT_EQ(platform::ChooseFileWithDesktop("Import", "", ""), std::nullopt);
  Install("zenity", "exit 0");
  EXPECT_EQ(platform::ChooseFileWithDesktop("Import", "", ""), std::nullopt) << "no path is no choice";
}

TEST_F(DesktopChooser, KdialogServesKdeDesktopsAndWhereZenityIsMissing) {
  Install("kdialog", "echo /chosen/by/kde.wfm");
  EXPECT_EQ(platform::ChooseFileWithDesktop("Load", "/waves", "*.wfm"), "/chosen/by/kde.wfm");
  EXPECT_EQ(Args("kdialog"), "--title\nLoad\n--getopenfilename\n/waves\n*.wfm\n");
  Install("zenity", "echo /chosen/by/zenity.wfm");
  EXPECT_EQ(platform::ChooseFileWithDesktop("Load", "/waves", "*.wfm"), "/chosen/by/zenity.wfm");
  desktop.Set("ubuntu:KDE");
  EXPECT_EQ(platform::ChooseFileWithDesktop("Load", "/waves", "*.wfm"), "/chosen/by/kde.wfm");
}

}  // namespace
