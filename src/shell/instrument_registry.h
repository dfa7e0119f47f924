// The process-wide list of live instruments, so that an editor made for an
// effect can find the instrument it edits. An entry goes when its instrument
// is destroyed. Thread: any (guarded by its own short lock).
#pragma once

class InstrumentBase;

namespace instrument_registry {

void Add(InstrumentBase* instrument, const void* key);
void Remove(InstrumentBase* instrument);
// The instrument registered under key, or null.
InstrumentBase* Find(const void* key);
int Count();

}  // namespace instrument_registry
