#include "platform/file_chooser.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <vector>

#include "platform/program_lookup.h"

extern char** environ;

namespace platform {
namespace {

struct Chooser {
  std::string path;
  bool kdialog = false;
};

// Longer answers are no path a person chose.
constexpr std::size_t kMaxAnswer = 64 * 1024;

std::optional<Chooser> FindChooser() {
  const std::string zenity = FindProgram("zenity"), kdialog = FindProgram("kdialog");
  const char* desktop = std::getenv("XDG_CURRENT_DESKTOP");
  const bool kde = desktop != nullptr && std::string(desktop).find("KDE") != std::string::npos;
  // KDE's own where the desktop is KDE, zenity everywhere else.
  if (!kdialog.empty() && (kde || zenity.empty())) return Chooser{kdialog, true};
  if (!zenity.empty()) return Chooser{zenity, false};
  return std::nullopt;
}

std::vector<std::string> Arguments(const Chooser& chooser, const std::string& title, const std::string& folder,
                                   const std::string& pattern) {
  if (chooser.kdialog) {
    // The start folder comes before the filter, so it cannot be left out.
    std::string start = folder;
    if (start.empty()) {
      const char* home = std::getenv("HOME");
      start = home != nullptr ? home : "/";
    }
    std::vector<std::string> args{"kdialog", "--title", title, "--getopenfilename", start};
    if (!pattern.empty()) args.push_back(pattern);
    return args;
  }
  std::vector<std::string> args{"zenity", "--file-selection", "--title=" + title};
  // A trailing slash opens the folder rather than selecting it.
  if (!folder.empty()) args.push_back("--filename=" + folder + (folder.back() == '/' ? "" : "/"));
  if (!pattern.empty()) args.push_back("--file-filter=" + pattern);
  return args;
}

// Runs the program with stdout into a pipe; answers what it wrote and
// whether it succeeded (true too when the host reaps children itself and
// the status is lost).
std::optional<std::string> RunForOutput(const std::string& path, std::vector<std::string> args) {
  int fds[2];
  if (pipe2(fds, O_CLOEXEC) != 0) return std::nullopt;
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_adddup2(&actions, fds[1], 1);
  // The toolkit's warnings are nobody's business in a host's terminal.
  posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
  // The host's own descriptors stay with the host.
  posix_spawn_file_actions_addclosefrom_np(&actions, 3);
  std::vector<char*> argv;
  for (std::string& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);
  pid_t pid = 0;
  const int spawned = posix_spawn(&pid, path.c_str(), &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  close(fds[1]);
  if (spawned != 0) {
    close(fds[0]);
    return std::nullopt;
  }
  std::string out;
  char buffer[4096];
  for (;;) {
    const ssize_t n = read(fds[0], buffer, sizeof buffer);
    if (n > 0) {
      if (out.size() < kMaxAnswer) out.append(buffer, static_cast<std::size_t>(n));
    } else if (n == 0 || errno != EINTR) {
      break;
    }
  }
  close(fds[0]);
  int status = 0;
  pid_t reaped;
  do {
    reaped = waitpid(pid, &status, 0);
  } while (reaped < 0 && errno == EINTR);
  const bool succeeded = reaped == pid ? WIFEXITED(status) && WEXITSTATUS(status) == 0 : errno == ECHILD;
  if (!succeeded || out.size() >= kMaxAnswer) return std::nullopt;
  return out;
}

}  // namespace

bool DesktopFileChooserAvailable() { return FindChooser().has_value(); }

std::optional<std::string> ChooseFileWithDesktop(const std::string& title, const std::string& startFolder,
                                                 const std::string& pattern) {
  const std::optional<Chooser> chooser = FindChooser();
  if (!chooser) return std::nullopt;
  std::optional<std::string> out = RunForOutput(chooser->path, Arguments(*chooser, title, startFolder, pattern));
  if (!out) return std::nullopt;  // cancelled
  // One path on one line.
  const std::size_t end = out->find_first_of("\r\n");
  if (end != std::string::npos) out->resize(end);
  if (out->empty()) return std::nullopt;
  return out;
}

}  // namespace platform
