// The editor root as the plug-in shell sees it: a fixed size, opened inside
// the host's window and closed again. Thread: user-interface thread.
#pragma once

class EffectGUIBase {
 public:
  virtual ~EffectGUIBase() = default;
  virtual int Width() const = 0;
  virtual int Height() const = 0;
  // parentWindow is what the host passed with effEditOpen.
  virtual bool Open(void* parentWindow) = 0;
  virtual void Close() = 0;
  virtual void Idle() {}
};
