#include "shell/instrument_registry.h"

#include <algorithm>
#include <mutex>
#include <vector>

namespace instrument_registry {
namespace {

struct Entry {
  InstrumentBase* instrument;
  const void* key;
};

// Never destroyed: an instrument destroyed while the process exits (one a
// host keeps in a static object, say) still finds both after this file's
// own statics would have gone.
std::mutex& Lock() {
  static auto* m = new std::mutex;
  return *m;
}

std::vector<Entry>& Entries() {
  static auto* entries = new std::vector<Entry>;
  return *entries;
}

}  // namespace

void Add(InstrumentBase* instrument, const void* key) {
  std::lock_guard lock(Lock());
  Entries().push_back({instrument, key});
}

void Remove(InstrumentBase* instrument) {
  std::lock_guard lock(Lock());
  std::erase_if(Entries(), [&](const Entry& e) { return e.instrument == instrument; });
}

InstrumentBase* Find(const void* key) {
  std::lock_guard lock(Lock());
  for (const Entry& e : Entries()) {
    if (e.key == key) return e.instrument;
  }
  return nullptr;
}

int Count() {
  std::lock_guard lock(Lock());
  return static_cast<int>(Entries().size());
}

}  // namespace instrument_registry
