// Groups parameters by storage kind, hears every change of them and reads and
// writes them in patches; child hosts follow their parent's own parameters.
// Thread: structure on the user-interface thread at construction; block
// ticks on the audio thread.
#pragma once

#include <vector>

#include "params/parameter.h"

class Reader;
class Writer;

class ParameterHost : public ParamUpdateListener, public NextBufferListener {
 public:
  ~ParameterHost() override = default;

  void ParameterChanged(float /*value*/, Parameter* /*which*/) override {}
  // One float per parameter: kind 0, kind 1, the third list, then children.
  virtual void ReadParameters(Reader& reader);
  virtual void WriteParameters(Writer& writer);

  // Appends p to the list of its storage kind and listens to it; the host
  // also passes its block ticks on to p. Sets p's owner.
  void AddParameter(Parameter* p);
  void AddChildHost(ParameterHost* child);
  // Every parameter of the list for kind (0, 1, or 2 and 3 for the third;
  // other kinds: none) notifies its listeners; children too when recursive.
  void NotifyParameters(int kind, bool recursive);

  const std::vector<Parameter*>& parameters(int list) const { return lists_[ListIndex(list)]; }
  const std::vector<ParameterHost*>& childHosts() const { return children_; }

 private:
  static int ListIndex(int kind) { return kind == 0 ? 0 : kind == 1 ? 1 : 2; }
  std::vector<Parameter*> lists_[3];
  std::vector<ParameterHost*> children_;
};
