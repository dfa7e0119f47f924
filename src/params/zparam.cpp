#include "params/zparam.h"

#include "params/parameter_host.h"

ZParam::~ZParam() = default;

void ZParam::Init(TimelineEditOwner& owner, int group, int index, float start, float end,
                  int type) {
  editOwner_ = &owner;
  group_ = group;
  index_ = index;
  Parameter::Init(std::string(), start, end, type, 1, kLinear);
  owner.proxyHost().AddParameter(this);
  Subscribe(selfListener());
}

float ZParam::FetchValue() const {
  if (editOwner_ == nullptr) return GetValue();
  float v = editOwner_->ReadProxyValue(*this);
  if (GetType() == kInteger) v = RoundHalfUp(v);
  StoreValue(v);
  return v;
}

float ZParam::GetNormalized() const { return Normalize(FetchValue()); }

void ZParam::NotifyListeners() { NotifyAllBut(FetchValue(), selfListener()); }

void ZParam::ParameterChanged(float value, Parameter* /*which*/) {
  if (editOwner_ != nullptr) editOwner_->WriteProxyValue(*this, value);
}
