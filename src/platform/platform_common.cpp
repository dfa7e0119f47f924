// The process clock, the timer tick hook and the desktop opener shared by
// both back ends.
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <string>
#include <algorithm>

#include "platform/platform.h"
#include "platform/program_lookup.h"

extern char** environ;

namespace platform {
namespace {

std::atomic<bool> manual{false};
std::atomic<std::int64_t> manualNow{0};
void (*timerTick)() = nullptr;

}  // namespace

std::string FindProgram(const std::string& program) {
  const char* path = std::getenv("PATH");
  std::string folders = path != nullptr ? path : "/usr/bin:/bin";
  std::size_t start = 0;
  while (start <= folders.size()) {
    const std::size_t end = std::min(folders.find(':', start), folders.size());
    const std::string candidate = folders.substr(start, end - start) + "/" + program;
    if (end > start && access(candidate.c_str(), X_OK) == 0) return candidate;
    start = end + 1;
  }
  return {};
}

std::int64_t NowMs() {
  if (manual.load(std::memory_order_relaxed)) return manualNow.load(std::memory_order_relaxed);
  using namespace std::chrono;
  return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

void SetManualClock(bool on) {
  if (on && !manual.load()) {
    // Starts where real time is, so no timer sees time go backwards.
    manualNow.store(NowMs());
  }
  manual.store(on);
}

void AdvanceManualClock(std::int64_t ms) { manualNow.fetch_add(ms); }
bool ManualClock() { return manual.load(); }

void SetTimerTick(void (*tick)()) { timerTick = tick; }
void RunTimerTick() {
  if (timerTick != nullptr) timerTick();
}

bool OpenWithDesktop(const std::string& target) {
  // A file that is not there fails here, not in a viewer's error window.
  if (!target.empty() && target[0] == '/' && access(target.c_str(), R_OK) != 0) return false;
  if (FindProgram("xdg-open").empty()) return false;
  // The shell puts xdg-open in the background and ends at once, so the
  // user-interface thread never waits for the viewer (some xdg-open set-ups
  // run it in the foreground); nothing is left to reap.
  char* argv[] = {const_cast<char*>("/bin/sh"), const_cast<char*>("-c"),
                  const_cast<char*>("xdg-open \"$0\" </dev/null >/dev/null 2>&1 &"),
                  const_cast<char*>(target.c_str()), nullptr};
  pid_t pid = 0;
  if (posix_spawn(&pid, "/bin/sh", nullptr, nullptr, argv, environ) != 0) return false;
  int status = 0;
  return waitpid(pid, &status, 0) == pid && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

}  // namespace platform
