// The instrument's whole state as one opaque chunk for the host.
// Thread: user-interface thread (effGetChunk / effSetChunk).
#pragma once

#include <cstddef>
#include <string>

class PluginState {
 public:
  virtual ~PluginState() = default;
  // The state bytes; they stay valid until the next call.
  virtual const std::string& GetState() = 0;
  // Restores from bytes the host owns (copy what is kept); false when refused.
  virtual bool SetState(const void* data, std::size_t size) = 0;
};
