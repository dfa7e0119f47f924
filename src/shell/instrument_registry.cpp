#include "shell/instrument_registry.h"

#include <algorithm>
#include <mutex>
#include <type_traits>
#include <vector>

namespace instrument_registry {
namespace {

struct Entry {
  InstrumentBase* instrument;
  const void* key;
};

// Nothing here is torn down at exit: an instrument destroyed while the
// process exits (one a host keeps in a static object, say) still finds the
// lock and the list. The list itself is freed when its last entry goes, so
// unloading the library leaves nothing behind.
static_assert(std::is_trivially_destructible_v<std::mutex>);
constinit std::mutex lock;
constinit std::vector<Entry>* entries = nullptr;

std::mutex& Lock() { return lock; }

}  // namespace

void Add(InstrumentBase* instrument, const void* key) {
  std::lock_guard lock(Lock());
  if (entries == nullptr) entries = new std::vector<Entry>;
  entries->push_back({instrument, key});
}

void Remove(InstrumentBase* instrument) {
  std::lock_guard lock(Lock());
  if (entries == nullptr) return;
  std::erase_if(*entries, [&](const Entry& e) { return e.instrument == instrument; });
  if (entries->empty()) {
    delete entries;
    entries = nullptr;
  }
}

InstrumentBase* Find(const void* key) {
  std::lock_guard lock(Lock());
  if (entries == nullptr) return nullptr;
  for (const Entry& e : *entries) {
    if (e.key == key) return e.instrument;
  }
  return nullptr;
}

int Count() {
  std::lock_guard lock(Lock());
  return entries == nullptr ? 0 : static_cast<int>(entries->size());
}

}  // namespace instrument_registry
