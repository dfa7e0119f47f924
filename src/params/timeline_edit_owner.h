// What an edit proxy (ZParam) needs of the object that owns the timeline
// being edited: the value it stands for, and a place to write changes.
// Thread: user-interface thread (editor) or the host's parameter thread.
#pragma once

class ParameterHost;
class ZParam;

class TimelineEditOwner {
 public:
  virtual ~TimelineEditOwner() = default;
  // The current value of the proxy's (line, value index): the selected
  // voice's breakpoint at the edit time, or the multiple selection's value.
  virtual float ReadProxyValue(const ZParam& proxy) = 0;
  // A value written into the proxy, to go into the breakpoint(s) being edited.
  virtual void WriteProxyValue(ZParam& proxy, float value) = 0;
  // The parameter host the proxies are added to.
  virtual ParameterHost& proxyHost() = 0;
};
