// zelvane-render --editor as a user runs it on a display: a window of the
// editor's size holding the plug-in's editor, closed by the window manager's
// close button, the state saved after; and a clear refusal without a display.
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include "support/temp_dir.h"
#include "x11_fixture.h"

extern char** environ;

namespace {

struct Launch {
  pid_t pid = -1;
  std::string out, err;
};

// Starts the program with the environment changed as given ("NAME" alone
// removes it); sanitizer leak checks are the in-process tests' business.
Launch Start(const TempDir& dir, std::vector<std::string> args, const std::vector<std::string>& changes) {
  args.insert(args.begin(), ZELVANE_RENDER_PATH);
  std::vector<char*> argv;
  for (std::string& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);
  std::vector<std::string> environment;
  for (char** e = environ; *e != nullptr; ++e) {
    const std::string entry = *e;
    bool changed = entry.rfind("ASAN_OPTIONS=", 0) == 0;
    for (const std::string& c : changes) changed |= entry.rfind(c.substr(0, c.find('=')) + "=", 0) == 0;
    if (!changed) environment.push_back(entry);
  }
  for (const std::string& c : changes) {
    if (c.find('=') != std::string::npos) environment.push_back(c);
  }
  environment.push_back("ASAN_OPTIONS=detect_leaks=0");
  std::vector<char*> envp;
  for (std::string& e : environment) envp.push_back(e.data());
  envp.push_back(nullptr);
  Launch run;
  run.out = dir.File("stdout.txt");
  run.err = dir.File("stderr.txt");
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, run.out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  posix_spawn_file_actions_addopen(&actions, 2, run.err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  if (posix_spawn(&run.pid, argv[0], &actions, nullptr, argv.data(), envp.data()) != 0) run.pid = -1;
  posix_spawn_file_actions_destroy(&actions);
  return run;
}

// The exit status, or -1 while the program still runs after timeoutMs.
int Finish(const Launch& run, int timeoutMs) {
  int status = 0;
  for (int waited = 0; waited <= timeoutMs; waited += 10) {
    if (waitpid(run.pid, &status, WNOHANG) == run.pid) return WIFEXITED(status) ? WEXITSTATUS(status) : -2;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return -1;
}

// Ends a program the test gave up on.
struct KillOnExit {
  pid_t pid;
  ~KillOnExit() {
    if (kill(pid, 0) == 0 && waitpid(pid, nullptr, WNOHANG) == 0) {
      kill(pid, SIGKILL);
      waitpid(pid, nullptr, 0);
    }
  }
};

std::string Slurp(const std::string& path) {
  std::ifstream in(path);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

TEST(RenderEditorWithoutDisplay, SaysSoAndExitsWithStatusTwo) {
  TempDir dir;
  const Launch run = Start(dir, {"--editor"}, {"DISPLAY"});
  ASSERT_GT(run.pid, 0);
  const KillOnExit guard{run.pid};
  EXPECT_EQ(Finish(run, 60000), 2);
  EXPECT_NE(Slurp(run.err).find("--editor needs an X display, and DISPLAY is not set"), std::string::npos)
      << Slurp(run.err);
}

TEST_F(X11Test, RenderEditorShowsTheEditorInItsWindowUntilTheUserClosesIt) {
  TempDir dir;
  const std::string state = dir.File("edited.state");
  const Launch run = Start(dir, {"--editor", "--save-state", state}, {});
  ASSERT_GT(run.pid, 0);
  const KillOnExit guard{run.pid};
  xcb_window_t window = XCB_NONE;
  xcb_window_t editor = XCB_NONE;
  // Dialogs the editor opens (an image missing from an empty data folder)
  // are closed as a user would, whenever they show.
  auto closeDialogs = [&] {
    for (xcb_window_t w : host->RootChildrenBottomToTop()) {
      const std::string cls = host->PropertyText(w, XCB_ATOM_WM_CLASS);
      if (cls.rfind("zelvane-render", 0) == 0) window = w;
      if (cls.rfind(std::string("zelvane\0", 8), 0) == 0) host->SendDeleteWindow(w);
    }
  };
  // Open once the host says so; loading the plug-in under the sanitizers
  // takes a while.
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
  while (Slurp(run.out).find("editor open") == std::string::npos && std::chrono::steady_clock::now() < deadline) {
    closeDialogs();
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  closeDialogs();
  ASSERT_NE(window, XCB_NONE) << Slurp(run.err);
  if (auto* tree = xcb_query_tree_reply(host->connection(), xcb_query_tree(host->connection(), window), nullptr)) {
    if (xcb_query_tree_children_length(tree) > 0) editor = xcb_query_tree_children(tree)[0];
    std::free(tree);
  }
  auto* geometry = xcb_get_geometry_reply(host->connection(), xcb_get_geometry(host->connection(), window), nullptr);
  ASSERT_NE(geometry, nullptr);
  EXPECT_EQ(geometry->width, 767);
  EXPECT_EQ(geometry->height, 638);
  std::free(geometry);
  EXPECT_NE(editor, XCB_NONE) << "the plug-in's editor is a child of the host's window";

  host->SendDeleteWindow(window);
  int status = -1;
  for (int waited = 0; waited < 30000 && status == -1; waited += 50) {
    closeDialogs();
    status = Finish(run, 50);
  }
  EXPECT_EQ(status, 0) << Slurp(run.err);
  const std::string out = Slurp(run.out);
  EXPECT_NE(out.find("editor open (767 x 638)"), std::string::npos) << out;
  EXPECT_NE(out.find("editor closed"), std::string::npos) << out;
  EXPECT_TRUE(std::filesystem::exists(state) && std::filesystem::file_size(state) > 0)
      << "the state is saved after the editor closed";
  EXPECT_EQ(Slurp(run.err).find("X error"), std::string::npos) << Slurp(run.err);
}

}  // namespace
