#include <algorithm>
#include <vector>

#include "gui/listeners.h"
#include "platform/platform.h"

namespace gui {
namespace {

struct Entry {
  unsigned id;
  void* context;
  TimerListener* listener;
  int period;
  std::int64_t due;
  bool running = false;  // its handler is on the stack (pumping inside it)
};

// Only the user-interface thread uses it: no lock.
std::vector<Entry>& Table() {
  static std::vector<Entry> table;
  return table;
}
unsigned nextId = 0;

}  // namespace

TimerListener::~TimerListener() {
  std::erase_if(Table(), [this](const Entry& e) { return e.listener == this; });
}

void TimerListener::StartTimer(void* context, int milliseconds) {
  milliseconds = std::max(milliseconds, 1);
  const std::int64_t now = platform::NowMs();
  for (Entry& e : Table()) {
    if (e.listener == this && e.context == context) {
      e.period = milliseconds;
      e.due = now + milliseconds;
      return;
    }
  }
  Table().push_back({++nextId, context, this, milliseconds, now + milliseconds, false});
}

void TimerListener::StopTimer(void* context) {
  std::erase_if(Table(), [&](const Entry& e) { return e.listener == this && e.context == context; });
}

namespace timers {

void Tick() {
  // Re-entered when a handler pumps messages (a blocking animation, a modal
  // dialog): the other timers go on, the running one waits for its return.
  const std::int64_t now = platform::NowMs();
  // By id: handlers may start and stop timers while this runs.
  std::vector<unsigned> due;
  for (const Entry& e : Table()) {
    if (e.due <= now && !e.running) due.push_back(e.id);
  }
  for (unsigned id : due) {
    auto it = std::find_if(Table().begin(), Table().end(), [&](const Entry& e) { return e.id == id; });
    if (it == Table().end()) continue;
    // Late ticks are not made up for: the next one is a period from now.
    it->due = now + it->period;
    it->running = true;
    TimerListener* listener = it->listener;
    void* context = it->context;
    listener->OnTimer(context);
    it = std::find_if(Table().begin(), Table().end(), [&](const Entry& e) { return e.id == id; });
    if (it != Table().end()) it->running = false;
  }
}

int MillisecondsToNext() {
  if (Table().empty()) return -1;
  const std::int64_t now = platform::NowMs();
  std::int64_t next = Table().front().due;
  for (const Entry& e : Table()) next = std::min(next, e.due);
  return static_cast<int>(std::clamp<std::int64_t>(next - now, 0, 1000000));
}

int EntryCount() { return static_cast<int>(Table().size()); }

void Install() { platform::SetTimerTick(&Tick); }

}  // namespace timers
}  // namespace gui
