// The editor's own file-open dialog over a folder tree of the test's: what
// it lists and in which order, moving between folders, the ways of choosing
// a file and of declining, scrolling, and folders and names it cannot show
// as they are.
#include "gui/file_open_dialog.h"

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>

#include "gui/folder_listing.h"
#include "gui/text_metrics.h"
#include "gui_fixture.h"
#include "support/scoped_env.h"
#include "support/temp_dir.h"

namespace {

namespace fs = std::filesystem;
using platform::KeyEvent;
using platform::WindowKind;
using Step = std::function<void(platform::HeadlessWindow*, gui::FileOpenDialog&)>;

const char* const kWaves = "*.wav *.WAV";

std::vector<std::string> Names(const std::vector<gui::FolderEntry>& entries) {
  std::vector<std::string> names;
  for (const gui::FolderEntry& e : entries) names.push_back(e.name);
  return names;
}

class FileOpenDialogTest : public GuiTest {
 protected:
  FileOpenDialogTest() : base(dir.path()) {
    for (const char* folder : {"Alpha/Deep", "beta", ".hidden"})
      fs::create_directories(base / folder);
    for (const char* file : {"A.wav", "b.wav", "zeta.WAV", "Cymbal.Wav", "notes.txt", ".secret.wav",
                             "Alpha/inner.wav"}) {
      Touch(file);
    }
    fs::create_directory_symlink(base / "Alpha", base / "linked");
    fs::create_symlink(base / "nowhere.wav", base / "gone.wav");
    fs::create_symlink(base / "loop.wav", base / "loop.wav");
  }
  ~FileOpenDialogTest() override { headless.SetModalStep(nullptr); }

  void Touch(const std::string& relative) { std::ofstream(base / relative) << "RIFF"; }
  std::string At(const std::string& relative) const { return (base / relative).string(); }

  static gui::FileOpenDialog* DialogOf(platform::HeadlessWindow* w) {
    auto* top = w != nullptr ? dynamic_cast<gui::TopLevel*>(w->client()) : nullptr;
    return top != nullptr ? dynamic_cast<gui::FileOpenDialog*>(&top->root()) : nullptr;
  }

  // Runs ChooseFileToOpen over owner; the modal loop's turns run the steps
  // in order, one a turn. A dialog still open after them is a failure.
  std::optional<std::string> Choose(std::vector<Step> steps, const std::string& start,
                                    const std::string& pattern = kWaves,
                                    gui::Window* owner = nullptr) {
    std::size_t next = 0;
    headless.SetModalStep([&] {
      platform::HeadlessWindow* w = headless.Topmost(WindowKind::kFloating);
      gui::FileOpenDialog* dialog = DialogOf(w);
      if (dialog == nullptr) return;
      if (next < steps.size()) {
        steps[next++](w, *dialog);
      } else {
        ADD_FAILURE() << "the dialog stayed open";
        w->client()->NativeCloseRequested();
      }
    });
    std::optional<std::string> answer =
        gui::ChooseFileToOpen(owner != nullptr ? *owner : root, "Import WAV", start, pattern);
    headless.SetModalStep(nullptr);
    EXPECT_EQ(next, steps.size()) << "steps left undone";
    EXPECT_EQ(headless.Topmost(WindowKind::kFloating), nullptr) << "closed";
    EXPECT_TRUE(top->enabled());
    return answer;
  }

  // A visible row's middle in the dialog's native window.
  static gui::Point Row(gui::FileOpenDialog& d, int visibleRow) {
    const gui::Point o = d.list().OriginInTopLevel();
    return {o.x + 20,
            o.y + visibleRow * gui::FileListView::kRowHeight + gui::FileListView::kRowHeight / 2};
  }
  static int VisibleRowOf(gui::FileOpenDialog& d, const std::string& name) {
    const auto names = Names(d.list().entries());
    const auto it = std::find(names.begin(), names.end(), name);
    EXPECT_NE(it, names.end()) << name;
    return static_cast<int>(it - names.begin()) - d.list().firstRow();
  }
  void ClickRow(platform::HeadlessWindow* w, gui::FileOpenDialog& d, const std::string& name) {
    const gui::Point p = Row(d, VisibleRowOf(d, name));
    headless.Click(w, p.x, p.y);
  }
  void DoubleClickRow(platform::HeadlessWindow* w, gui::FileOpenDialog& d,
                      const std::string& name) {
    const gui::Point p = Row(d, VisibleRowOf(d, name));
    headless.DoubleClick(w, p.x, p.y);
  }
  void ClickOn(platform::HeadlessWindow* w, const gui::Window& button) {
    const gui::Point o = button.OriginInTopLevel();
    headless.Click(w, o.x + button.width / 2, o.y + button.height / 2);
  }
  // Clears the name field and types text into it.
  void Retype(gui::FileOpenDialog& d, const std::string& text) {
    d.nameField().SetText("");
    headless.Type(text);
  }
  std::uint32_t PixelIn(platform::HeadlessWindow* w, const gui::Window& in, int x, int y) {
    headless.Pump();
    const gui::Point o = in.OriginInTopLevel();
    return headless.Pixel(w, o.x + x, o.y + y);
  }

  TempDir dir;
  fs::path base;
};

const std::vector<std::string> kTopWaves{"..",    "Alpha", "beta",    "linked",
                                         "A.wav", "b.wav", "zeta.WAV"};

TEST_F(FileOpenDialogTest,
       FoldersComeFirstThenMatchingFilesEachSortedWithoutCaseHiddenAndBrokenLinksLeftOut) {
  const auto listing = gui::ListFolder(base, gui::FilePattern(kWaves));
  EXPECT_TRUE(listing.readable);
  EXPECT_EQ(Names(listing.entries), kTopWaves);
  EXPECT_EQ(listing.entries[0].kind, gui::FolderEntry::kParent);
  EXPECT_EQ(listing.entries[3].kind, gui::FolderEntry::kFolder) << "a link to a folder is a folder";
  EXPECT_EQ(listing.entries[4].kind, gui::FolderEntry::kFile);

  EXPECT_EQ(Names(gui::ListFolder(base, gui::FilePattern("")).entries),
            (std::vector<std::string>{"..", "Alpha", "beta", "linked", "A.wav", "b.wav",
                                      "Cymbal.Wav", "notes.txt", "zeta.WAV"}));
  EXPECT_EQ(Names(gui::ListFolder(base, gui::FilePattern("*.wav")).entries),
            (std::vector<std::string>{"..", "Alpha", "beta", "linked", "A.wav", "b.wav"}));
  EXPECT_TRUE(gui::FilePattern("  *.wav   *.WAV ").Matches("Z.WAV"));
  EXPECT_FALSE(gui::FilePattern("*.wav").Matches("take.wav.txt"));
  EXPECT_EQ(gui::FilePattern("*.wav *.WAV").globs().size(), 2u);

  // The top of the tree has nothing above it; a folder that is not there
  // lists only the way back and says it could not be read.
  EXPECT_NE(gui::ListFolder("/", gui::FilePattern()).entries.at(0).name, "..");
  const auto missing = gui::ListFolder(base / "missing", gui::FilePattern(kWaves));
  EXPECT_FALSE(missing.readable);
  EXPECT_EQ(Names(missing.entries), (std::vector<std::string>{".."}));

  // The dialog shows the same, under its title and folder line.
  const auto answer = Choose({[&](platform::HeadlessWindow*, gui::FileOpenDialog& d) {
                               EXPECT_EQ(d.title(), "Import WAV");
                               EXPECT_EQ(d.folder(), base);
                               EXPECT_EQ(d.shownPath(), base.string());
                               EXPECT_EQ(Names(d.list().entries()), kTopWaves);
                               EXPECT_EQ(d.status(), "");
                               EXPECT_EQ(d.list().selected(), -1);
                               headless.Key(KeyEvent::kEscape);
                             }},
                             base.string() + "/");
  EXPECT_EQ(answer, std::nullopt);
}

TEST_F(FileOpenDialogTest, TheDialogOpensCentredOverTheEditorAtTheNearestFolderThatExists) {
  gui::Window editor;
  editor.width = 767;
  editor.height = 638;
  gui::TopLevel editorTop(headless, WindowKind::kEmbedded, 0, nullptr, editor, 300, 200);
  gui::Window deep;  // any window of the editor owns the dialog
  deep.Create(&editor, 100, 100, 50, 50);
  platform::Rect bounds;
  fs::path opened;
  Choose({[&](platform::HeadlessWindow* w, gui::FileOpenDialog& d) {
           bounds = w->bounds();
           opened = d.folder();
           w->client()->NativeCloseRequested();
         }},
         At("Alpha/not/there"), kWaves, &deep);
  EXPECT_NEAR(bounds.x + bounds.width / 2, 300 + 767 / 2, 1);
  EXPECT_NEAR(bounds.y + bounds.height / 2, 200 + 638 / 2, 1);
  EXPECT_EQ(opened, base / "Alpha");

  // A long folder keeps its end in view.
  const fs::path longFolder = base / std::string(60, 'n') / std::string(60, 'm') / "Waves";
  fs::create_directories(longFolder);
  std::string shown;
  Choose({[&](platform::HeadlessWindow*, gui::FileOpenDialog& d) {
           shown = d.shownPath();
           headless.Key(KeyEvent::kEscape);
         }},
         longFolder.string());
  EXPECT_EQ(shown.substr(0, 3), "...");
  EXPECT_EQ(shown.substr(shown.size() - 6), "/Waves");
  EXPECT_LE(gui::MeasureTextWidth(shown),
            gui::FileOpenDialog::kWidth - 2 * gui::FileOpenDialog::kMargin);

  // An owner not on any screen gets no dialog, and no wait.
  gui::Window nowhere;
  EXPECT_EQ(gui::ChooseFileToOpen(nowhere, "Import WAV", base.string(), kWaves), std::nullopt);
}

TEST_F(FileOpenDialogTest, ADoubleClickEntersAFolderOrChoosesAFileAndTheParentRowLeadsBack) {
  const auto answer = Choose(
      {[&](platform::HeadlessWindow* w, gui::FileOpenDialog& d) {
         DoubleClickRow(w, d, "Alpha");
         EXPECT_EQ(d.folder(), base / "Alpha");
         EXPECT_EQ(Names(d.list().entries()),
                   (std::vector<std::string>{"..", "Deep", "inner.wav"}));
         EXPECT_EQ(d.nameField().text(), "") << "a new folder starts afresh";
         DoubleClickRow(w, d, "..");
         EXPECT_EQ(d.folder(), base);
         EXPECT_EQ(Names(d.list().entries()), kTopWaves);
         // Through a link and back by the way it came.
         DoubleClickRow(w, d, "linked");
         EXPECT_EQ(d.folder(), base / "linked");
         EXPECT_EQ(Names(d.list().entries()),
                   (std::vector<std::string>{"..", "Deep", "inner.wav"}));
         DoubleClickRow(w, d, "..");
         EXPECT_EQ(d.folder(), base);
       },
       [&](platform::HeadlessWindow* w, gui::FileOpenDialog& d) { DoubleClickRow(w, d, "b.wav"); }},
      base.string());
  ASSERT_EQ(answer, At("b.wav"));
  EXPECT_TRUE(fs::path(*answer).is_absolute());
}

TEST_F(FileOpenDialogTest, AFileIsChosenBySelectingAndOpenOrByTypingItsNameOrPath) {
  // A click selects and names the row; Open takes it.
  auto answer = Choose({[&](platform::HeadlessWindow* w, gui::FileOpenDialog& d) {
                         ClickRow(w, d, "A.wav");
                         EXPECT_EQ(d.list().selected(), 4);
                         EXPECT_EQ(d.nameField().text(), "A.wav");
                         EXPECT_EQ(PixelIn(w, d.list(), 100, 4 * gui::FileListView::kRowHeight + 1),
                                   Rgb(70, 100, 160));
                         EXPECT_EQ(PixelIn(w, d.list(), 100, 3 * gui::FileListView::kRowHeight + 1),
                                   Rgb(35, 35, 35));
                         ClickOn(w, d.openButton());
                       }},
                       base.string());
  EXPECT_EQ(answer, At("A.wav"));

  // Open on a selected folder enters it; a relative path goes from there.
  answer = Choose({[&](platform::HeadlessWindow* w, gui::FileOpenDialog& d) {
                    ClickRow(w, d, "Alpha");
                    ClickOn(w, d.openButton());
                    EXPECT_EQ(d.folder(), base / "Alpha");
                    Retype(d, "../zeta.WAV");
                    headless.Key(KeyEvent::kReturn);
                  }},
                  base.string());
  EXPECT_EQ(answer, At("zeta.WAV"));

  // Typed folders are entered (absolute or relative, a trailing "/" or
  // not); a name that is not there says so and the dialog stays.
  answer = Choose({[&](platform::HeadlessWindow*, gui::FileOpenDialog& d) {
                    Retype(d, "../Alpha");
                    headless.Key(KeyEvent::kReturn);
                    EXPECT_EQ(d.folder(), base / "Alpha");
                    Retype(d, "Deep/");
                    headless.Key(KeyEvent::kReturn);
                    EXPECT_EQ(d.folder(), base / "Alpha" / "Deep");
                    Retype(d, "missing.wav");
                    headless.Key(KeyEvent::kReturn);
                    EXPECT_EQ(d.status(), gui::FileOpenDialog::kNotFound);
                    EXPECT_EQ(d.folder(), base / "Alpha" / "Deep");
                    Retype(d, base.string());
                    headless.Key(KeyEvent::kReturn);
                    EXPECT_EQ(d.folder(), base);
                    EXPECT_EQ(d.status(), "");
                    Retype(d, "Alpha/./inner.wav");
                    headless.Key(KeyEvent::kReturn);
                  }},
                  At("beta"));
  EXPECT_EQ(answer, At("Alpha/inner.wav")) << "lexically normal";

  // A typed path is taken as typed, whatever the pattern offers.
  answer = Choose({[&](platform::HeadlessWindow* w, gui::FileOpenDialog& d) {
                    Retype(d, At("notes.txt"));
                    ClickOn(w, d.openButton());
                  }},
                  At("Alpha"));
  EXPECT_EQ(answer, At("notes.txt"));
}

TEST_F(FileOpenDialogTest, CancelEscapeAndTheCloseButtonAnswerNothing) {
  const std::vector<
      std::pair<std::string, std::function<void(platform::HeadlessWindow*, gui::FileOpenDialog&)>>>
      declines{
          {"Cancel", [&](platform::HeadlessWindow* w,
                         gui::FileOpenDialog& d) { ClickOn(w, d.cancelButton()); }},
          {"Escape", [&](platform::HeadlessWindow*,
                         gui::FileOpenDialog&) { headless.Key(KeyEvent::kEscape); }},
          {"close", [&](platform::HeadlessWindow* w,
                        gui::FileOpenDialog&) { w->client()->NativeCloseRequested(); }},
      };
  for (const auto& [how, decline] : declines) {
    const auto answer = Choose({[&](platform::HeadlessWindow* w, gui::FileOpenDialog& d) {
                                 ClickRow(w, d, "b.wav");  // a selected file is no answer yet
                                 decline(w, d);
                               }},
                               base.string());
    EXPECT_EQ(answer, std::nullopt) << how;
  }
  // Escape on the dialog itself, the field not holding the keys.
  const auto answer = Choose({[&](platform::HeadlessWindow* w, gui::FileOpenDialog& d) {
                               d.SetFocus();
                               headless.Key(KeyEvent::kEscape, w);
                             }},
                             base.string());
  EXPECT_EQ(answer, std::nullopt);
}

TEST_F(FileOpenDialogTest, TheWheelAndTheScrollBarShowLaterRows) {
  fs::create_directory(base / "many");
  for (int i = 1; i <= 40; ++i)
    Touch("many/take" + std::string(i < 10 ? "0" : "") + std::to_string(i) + ".wav");
  const int overflow = 41 - gui::FileOpenDialog::kListRows;
  const auto answer =
      Choose({[&](platform::HeadlessWindow* w, gui::FileOpenDialog& d) {
               gui::FileListView& list = d.list();
               EXPECT_EQ(list.visibleRows(), gui::FileOpenDialog::kListRows);
               const gui::Point middle = Row(d, 5);
               headless.Wheel(w, middle.x, middle.y, -1);  // a notch towards the user
               EXPECT_EQ(list.firstRow(), 3);
               ClickRow(w, d, "take03.wav");
               EXPECT_EQ(VisibleRowOf(d, "take03.wav"), 0);
               EXPECT_EQ(d.nameField().text(), "take03.wav");
               EXPECT_EQ(PixelIn(w, list, 100, 1), Rgb(70, 100, 160));

               // The bar's lower arrow moves one row on; its thumb follows.
               gui::ZScrollBar& bar = list.scrollBar();
               const int thumbBefore = bar.thumb().y;
               ClickOn(w, bar);  // the middle of the bar is its track: nothing
               EXPECT_EQ(list.firstRow(), 3);
               const gui::Point o = bar.OriginInTopLevel();
               headless.Click(w, o.x + 5, o.y + bar.height - 5);
               EXPECT_EQ(list.firstRow(), 4);
               EXPECT_GT(bar.thumb().y, thumbBefore);
               EXPECT_NE(PixelIn(w, list, 100, 1), Rgb(70, 100, 160))
                   << "the selected row went up out of view";

               // Scrolling stops at the last row, and at the first.
               headless.Wheel(w, middle.x, middle.y, -20);
               EXPECT_EQ(list.firstRow(), overflow);
               EXPECT_EQ(bar.thumb().y, gui::ZScrollBar::kArrowHeight + bar.travel());
               ClickRow(w, d, "take40.wav");
               EXPECT_EQ(VisibleRowOf(d, "take40.wav"), gui::FileOpenDialog::kListRows - 1);
               headless.Wheel(w, middle.x, middle.y, 30);
               EXPECT_EQ(list.firstRow(), 0);
               ClickOn(w, d.openButton());
             }},
             At("many"));
  EXPECT_EQ(answer, At("many/take40.wav"));
}

TEST_F(FileOpenDialogTest, AFolderThatCannotBeReadShowsAnEmptyListAndSaysSo) {
  // Gone between being listed and being entered (whoever runs the test).
  const auto answer =
      Choose({[&](platform::HeadlessWindow* w, gui::FileOpenDialog& d) {
               fs::remove(base / "beta");
               DoubleClickRow(w, d, "beta");
               EXPECT_EQ(d.folder(), base / "beta");
               EXPECT_EQ(Names(d.list().entries()), (std::vector<std::string>{".."}));
               EXPECT_EQ(d.status(), gui::FileOpenDialog::kUnreadable);
               DoubleClickRow(w, d, "..");
               EXPECT_EQ(d.status(), "");
               // A listed file gone before it is chosen.
               fs::remove(base / "b.wav");
               DoubleClickRow(w, d, "b.wav");
               EXPECT_EQ(d.status(), gui::FileOpenDialog::kNotFound);
               EXPECT_EQ(Names(d.list().entries()),
                         (std::vector<std::string>{"..", "Alpha", "linked", "A.wav", "zeta.WAV"}));
               headless.Key(KeyEvent::kEscape);
             }},
             base.string());
  EXPECT_EQ(answer, std::nullopt);
}

TEST_F(FileOpenDialogTest, AFolderWithoutReadPermissionShowsAnEmptyListAndSaysSo) {
  if (geteuid() == 0) GTEST_SKIP() << "root reads every folder";
  fs::create_directory(base / "locked");
  Touch("locked/secret.wav");
  fs::permissions(base / "locked", fs::perms::none);
  const auto answer =
      Choose({[&](platform::HeadlessWindow* w, gui::FileOpenDialog& d) {
               DoubleClickRow(w, d, "locked");
               EXPECT_EQ(d.folder(), base / "locked");
               EXPECT_EQ(Names(d.list().entries()), (std::vector<std::string>{".."}));
               EXPECT_EQ(d.status(), gui::FileOpenDialog::kUnreadable);
               Retype(d, "secret.wav");
               headless.Key(KeyEvent::kReturn);
               EXPECT_EQ(d.status(), gui::FileOpenDialog::kNotAFile) << "there, out of reach";
               DoubleClickRow(w, d, "..");
               EXPECT_EQ(d.folder(), base);
               headless.Key(KeyEvent::kEscape);
             }},
             base.string());
  fs::permissions(base / "locked", fs::perms::owner_all);
  EXPECT_EQ(answer, std::nullopt);
}

TEST_F(FileOpenDialogTest, NamesThatAreNotTextAreShownPrintableAndChosenAsTheyAre) {
  EXPECT_EQ(gui::PrintableText("Grüße.wav"), "Grüße.wav");
  EXPECT_EQ(gui::PrintableText("a\xc0\xaf"
                               "b"),
            "a??b")
      << "overlong";
  EXPECT_EQ(gui::PrintableText("\xed\xa0\x80"), "???") << "a surrogate";
  EXPECT_EQ(gui::PrintableText("\xef\xbf\xbe"), "???") << "a noncharacter";
  EXPECT_EQ(gui::PrintableText("\xe2\x82"), "??") << "cut short";
  EXPECT_EQ(gui::PrintableText("two\nlines\x7f"), "two?lines?");

  const std::string raw = "\xff\xfe take.wav";
  Touch(raw);
  const auto answer = Choose({[&](platform::HeadlessWindow* w, gui::FileOpenDialog& d) {
                               const auto& entries = d.list().entries();
                               ASSERT_EQ(entries.back().name, raw);
                               EXPECT_EQ(entries.back().label, "?? take.wav");
                               ClickRow(w, d, raw);
                               EXPECT_EQ(d.nameField().text(), "?? take.wav");
                               // Drawing the name spoilt nothing drawn after it.
                               EXPECT_EQ(PixelIn(w, d.openButton(), 3, 3), Rgb(70, 70, 70));
                               EXPECT_EQ(PixelIn(w, d.nameField(), 1, 1), Rgb(255, 255, 255));
                               headless.Key(KeyEvent::kReturn);
                             }},
                             base.string());
  EXPECT_EQ(answer, At(raw));
}

// The headless platform under the display's name: the editor counts as
// being on a screen where a chooser program can show itself.
class DisplayNamed : public platform::Platform {
 public:
  explicit DisplayNamed(platform::HeadlessPlatform& inner) : inner_(inner) {}
  std::unique_ptr<platform::NativeWindow> CreateWindow(
      platform::WindowKind kind, std::uintptr_t parent, platform::NativeWindow* owner,
      const platform::Rect& bounds, platform::NativeWindowClient* client) override {
    return inner_.CreateWindow(kind, parent, owner, bounds, client);
  }
  void Pump() override { inner_.Pump(); }
  void Wait(int timeoutMs) override { inner_.Wait(timeoutMs); }
  bool ok() const override { return true; }
  std::string name() const override { return "x11"; }

 private:
  platform::HeadlessPlatform& inner_;
};

TEST_F(FileOpenDialogTest, OnADisplayTheDesktopsChooserAnswersWhenThereIsOneAndOnlyWithAFile) {
  TempDir programs;
  ScopedEnv path("PATH", programs.path().string());
  ScopedEnv desktop("XDG_CURRENT_DESKTOP", std::nullopt);
  DisplayNamed display(headless);
  gui::Window editor;
  editor.width = 400;
  editor.height = 300;
  gui::TopLevel editorTop(display, WindowKind::kEmbedded, 0, nullptr, editor, 0, 0);
  // A zenity stand-in that writes down its arguments and prints answer.
  auto zenity = [&](const std::string& answer) {
    const std::string file = programs.File("zenity");
    std::ofstream(file) << "#!/bin/sh\nfor a in \"$@\"; do printf '%s\\n' \"$a\"; done > '"
                        << programs.File("args") << "'\nprintf '%s\\n' '" << answer << "'\n";
    fs::permissions(file, fs::perms::owner_all);
  };
  auto askedWith = [&] {
    std::stringstream s;
    s << std::ifstream(programs.File("args")).rdbuf();
    return s.str();
  };

  zenity(At("b.wav"));
  EXPECT_EQ(gui::ChooseFileToOpen(editor, "Import WAV", At("Alpha/gone"), kWaves), At("b.wav"));
  EXPECT_EQ(askedWith(), "--file-selection\n--title=Import WAV\n--filename=" + At("Alpha") +
                             "/\n--file-filter=*.wav *.WAV\n")
      << "from the nearest folder there is";
  EXPECT_EQ(headless.Topmost(WindowKind::kFloating), nullptr) << "no dialog of ours";
  zenity(At("Alpha"));
  EXPECT_EQ(gui::ChooseFileToOpen(editor, "Import WAV", base.string(), kWaves), std::nullopt);
  zenity(At("nowhere.wav"));
  EXPECT_EQ(gui::ChooseFileToOpen(editor, "Import WAV", base.string(), kWaves), std::nullopt);
  zenity(At("Alpha/../linked/inner.wav"));
  EXPECT_EQ(gui::ChooseFileToOpen(editor, "Import WAV", base.string(), kWaves),
            At("linked/inner.wav"));

  // Without a chooser program, the dialog of our own shows on the display.
  fs::remove(programs.File("zenity"));
  bool ownShown = false;
  headless.SetModalStep([&] {
    platform::HeadlessWindow* w = headless.Topmost(WindowKind::kFloating);
    if (gui::FileOpenDialog* d = DialogOf(w)) {
      ownShown = true;
      DoubleClickRow(w, *d, "zeta.WAV");
    }
  });
  EXPECT_EQ(gui::ChooseFileToOpen(editor, "Import WAV", base.string(), kWaves), At("zeta.WAV"));
  EXPECT_TRUE(ownShown);
}

}  // namespace
