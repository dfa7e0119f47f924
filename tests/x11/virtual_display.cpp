#include "virtual_display.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <thread>
#include <vector>

#include "platform/program_lookup.h"

extern char** environ;

namespace x11test {
namespace {

constexpr int kStartTimeoutMs = 10000;

struct Server {
  DisplayState state = DisplayState::kFailed;
  std::string why;
  pid_t pid = 0;
  bool tried = false;
};

Server& TheServer() {
  static Server server;
  return server;
}

void Stop() {
  Server& s = TheServer();
  StopChild(s.pid);
  s.pid = 0;
}

// Stops the server when the tests are done.
class StopAtEnd : public ::testing::Environment {
 public:
  void TearDown() override { Stop(); }
};
[[maybe_unused]] ::testing::Environment* const gStopAtEnd = ::testing::AddGlobalTestEnvironment(new StopAtEnd);

void Start(Server& s) {
  const std::string xvfb = platform::FindProgram("Xvfb");
  if (xvfb.empty()) {
    s.state = DisplayState::kNoXvfb;
    s.why = "Xvfb is not installed (scripts/setup.sh installs the xvfb package); the X11 tests need it";
    return;
  }
  int fds[2];
  if (pipe2(fds, O_CLOEXEC) != 0) {
    s.why = "no pipe for Xvfb";
    return;
  }
  // Without -noreset the server resets whenever its last client leaves, as
  // between two tests, and refuses connections while it does.
  std::vector<std::string> args{xvfb,      "-displayfd", "3",   "-screen",  "0",
                                "1280x1024x24", "-nolisten", "tcp", "-noreset"};
  const pid_t pid = SpawnChild(args, {}, fds[1]);
  close(fds[1]);
  if (pid < 0) {
    close(fds[0]);
    s.why = "cannot start Xvfb";
    return;
  }
  s.pid = pid;
  // Xvfb writes the display number it took and a newline once it listens.
  std::string number;
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(kStartTimeoutMs);
  while (number.find('\n') == std::string::npos && std::chrono::steady_clock::now() < deadline) {
    pollfd p{fds[0], POLLIN, 0};
    if (poll(&p, 1, 100) <= 0) continue;
    char buffer[32];
    const ssize_t n = read(fds[0], buffer, sizeof buffer);
    if (n <= 0) break;  // it exited
    number.append(buffer, static_cast<std::size_t>(n));
  }
  close(fds[0]);
  if (number.find('\n') == std::string::npos) {
    s.why = "Xvfb did not start within " + std::to_string(kStartTimeoutMs / 1000) + " s";
    Stop();
    return;
  }
  number.resize(number.find('\n'));
  setenv("DISPLAY", (":" + number).c_str(), 1);
  s.state = DisplayState::kRunning;
}

}  // namespace

pid_t SpawnChild(std::vector<std::string> args, const std::vector<std::string>& environment, int fd3) {
  std::vector<char*> argv;
  for (std::string& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);
  // The environment is ours with the entries given replacing theirs.
  std::vector<std::string> entries;
  for (char** e = environ; *e != nullptr; ++e) {
    const std::string entry = *e;
    bool replaced = false;
    for (const std::string& x : environment) replaced |= entry.rfind(x.substr(0, x.find('=') + 1), 0) == 0;
    if (!replaced) entries.push_back(entry);
  }
  entries.insert(entries.end(), environment.begin(), environment.end());
  std::vector<char*> envp;
  for (std::string& e : entries) envp.push_back(e.data());
  envp.push_back(nullptr);
  const pid_t parent = getpid();
  const pid_t pid = fork();
  if (pid == 0) {
    // A test that crashes takes its helpers with it.
    prctl(PR_SET_PDEATHSIG, SIGTERM);
    if (getppid() != parent) _exit(127);
    if (fd3 >= 0) dup2(fd3, 3);  // dup2 clears close-on-exec
    if (fd3 == 3) fcntl(3, F_SETFD, 0);  // but not onto itself
    const int devNull = open("/dev/null", O_RDWR);
    dup2(devNull, 0);
    dup2(devNull, 1);
    dup2(devNull, 2);
    close_range(fd3 >= 0 ? 4 : 3, ~0u, 0);
    execve(argv[0], argv.data(), envp.data());
    _exit(127);
  }
  return pid;
}

void StopChild(pid_t pid) {
  if (pid <= 0) return;
  kill(pid, SIGTERM);
  for (int i = 0; i < 200; ++i) {
    if (waitpid(pid, nullptr, WNOHANG) == pid) return;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  kill(pid, SIGKILL);
  waitpid(pid, nullptr, 0);
}

DisplayState StartVirtualDisplay(std::string& why) {
  Server& s = TheServer();
  if (!s.tried) {
    s.tried = true;
    Start(s);
  }
  why = s.why;
  return s.state;
}

}  // namespace x11test
