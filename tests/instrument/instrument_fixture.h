// An instrument made in the test program, with a host callback that counts
// automation reports.
#pragma once

#include <gtest/gtest.h>

#include <future>
#include <memory>
#include <mutex>
#include <vector>

#include "engine/instrument/zelvane.h"

class InstrumentTest : public ::testing::Test {
 protected:
  struct Automation {
    int index;
    float value;
  };
  static inline std::vector<Automation> automation;
  static inline std::mutex automationLock;  // hosts report from any thread
  static inline std::recursive_mutex* watchLock = nullptr;
  static inline int calledUnderLock = 0;

  static vst2::VstIntPtr Host(vst2::AEffect*, vst2::VstInt32 opcode, vst2::VstInt32 index,
                              vst2::VstIntPtr, void*, float opt) {
    if (opcode == vst2::audioMasterVersion) return 2400;
    if (opcode == vst2::audioMasterAutomate) {
      {
        std::lock_guard lock(automationLock);
        automation.push_back({index, opt});
      }
      if (watchLock != nullptr) {
        // Another thread can take the instrument's mutex: we were not called under it.
        auto free = std::async(std::launch::async, [] {
          const bool got = watchLock->try_lock();
          if (got) watchLock->unlock();
          return got;
        });
        if (!free.get()) ++calledUnderLock;
      }
    }
    return 0;
  }

  InstrumentTest() {
    automation.clear();
    z = std::make_unique<Zelvane>(Host, InstanceOptions{""});
  }

  void Render(int frames = 64) {
    std::vector<float> l(static_cast<std::size_t>(frames)), r(static_cast<std::size_t>(frames));
    float* out[2] = {l.data(), r.data()};
    z->processReplacing(nullptr, out, frames);
  }

  std::unique_ptr<Zelvane> z;
};
