// Controllers, retargetable bridges and timeline edit proxies.
#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "params/bridge_parameter.h"
#include "params/parameter_controller.h"
#include "params/parameter_host.h"
#include "params/zparam.h"
#include "recorder.h"

namespace {

using Heard = std::vector<std::pair<float, Parameter*>>;

struct Control : ParameterController {
  Heard heard;
  void ParameterChanged(float value, Parameter* which) override { heard.emplace_back(value, which); }
};

TEST(ParameterController, WritesInvertedAndUnbinds) {
  Parameter p("P", 0.0f, 10.0f), q("Q", 0.0f, 1.0f);
  Recorder other;
  p.Subscribe(&other);
  {
    Control c;
    c.Bind(&p);
    c.Bind(&q);
    c.SetInverted(true);
    c.SetNormalized(0.25f);
    EXPECT_EQ(p.rawValue(), 7.5f);
    EXPECT_EQ(q.rawValue(), 0.75f);
    EXPECT_TRUE(c.heard.empty());  // its own write is not reported to it
    EXPECT_EQ(other.heard, (Heard{{7.5f, &p}}));

    p.SetValue(1.0f);
    EXPECT_EQ(c.heard, (Heard{{1.0f, &p}}));

    c.Unbind(&q);
    q.SetValue(0.1f);
    c.SetNormalized(1.0f);
    EXPECT_EQ(q.rawValue(), 0.1f);
    EXPECT_EQ(p.rawValue(), 0.0f);
    EXPECT_EQ(c.heard.size(), 1u);
    EXPECT_EQ(c.boundParameters(), std::vector<Parameter*>{&p});
  }
  EXPECT_EQ(p.listeners(), std::vector<ParamUpdateListener*>{&other});
  EXPECT_TRUE(q.listeners().empty());
}

TEST(BridgeParameter, WithoutTargetIsInert) {
  BridgeParameter bridge;
  Recorder r;
  bridge.Subscribe(&r);
  EXPECT_EQ(bridge.SetValue(3.0f), 0.0f);
  EXPECT_EQ(bridge.SetNormalized(0.5f, nullptr), 0.0f);
  bridge.SetBool(true);
  bridge.NotifyListeners();
  EXPECT_TRUE(r.heard.empty());
  EXPECT_EQ(bridge.GetNormalized(), 0.0f);
  EXPECT_EQ(bridge.GetTargetValue(), 0.0f);
  EXPECT_EQ(bridge.GetMaximum(), 0.0f);
  EXPECT_FALSE(bridge.GetBool());
  EXPECT_TRUE(bridge.GetName().empty());
}

TEST(BridgeParameter, DelegatesNotifiesTwiceAndRetargets) {
  Parameter unison("Unison", 1.0f, 8.0f, Parameter::kInteger, 1);
  Parameter release("Release", 0.0f, 2.0f, Parameter::kContinuous, 0, Parameter::kCubic);
  BridgeParameter bridge;
  Recorder r;
  bridge.Subscribe(&r);
  bridge.SetTarget(&unison);
  EXPECT_EQ(bridge.GetName(), "Unison");
  EXPECT_TRUE(bridge.HasName("Unison"));
  EXPECT_TRUE(bridge.IsInteger());
  EXPECT_EQ(bridge.GetStorageKind(), 1);
  EXPECT_EQ(bridge.GetMinimum(), 1.0f);
  EXPECT_EQ(bridge.GetMaximum(), 8.0f);

  // Once from the controller part, once with the value SetValue answered.
  EXPECT_EQ(bridge.SetValue(2.5f), 3.0f);
  EXPECT_EQ(unison.rawValue(), 3.0f);
  EXPECT_EQ(r.heard, (Heard{{3.0f, &bridge}, {3.0f, &bridge}}));
  r.heard.clear();
  bridge.SetBool(true);
  EXPECT_EQ(r.heard, (Heard{{1.0f, &bridge}, {1.0f, &bridge}}));
  r.heard.clear();

  // A control bound to the bridge moves the target and hears it back once.
  Control knob;
  knob.Bind(&bridge);
  knob.SetNormalized(1.0f);
  EXPECT_EQ(unison.rawValue(), 8.0f);
  EXPECT_EQ(r.heard, (Heard{{8.0f, &bridge}}));
  EXPECT_EQ(knob.heard, (Heard{{8.0f, &bridge}}));
  EXPECT_FLOAT_EQ(bridge.GetNormalized(), 1.0f);
  EXPECT_EQ(bridge.GetTargetValue(), 8.0f);

  bridge.SetTarget(&release);
  r.heard.clear();
  unison.SetValue(5.0f);
  EXPECT_TRUE(r.heard.empty());  // the old target is no longer heard
  release.SetValue(0.25f);
  EXPECT_EQ(r.heard, (Heard{{0.25f, &bridge}}));
  EXPECT_EQ(bridge.GetTargetValue(), 0.25f);
  EXPECT_FLOAT_EQ(bridge.Denormalize(0.5f), 0.25f);  // the target's cubic curve
  knob.SetNormalized(0.0f);
  EXPECT_EQ(release.rawValue(), 0.0f);
  EXPECT_EQ(unison.listeners().size(), 0u);
  knob.Unbind(&bridge);
  {
    BridgeParameter shortLived;
    shortLived.SetTarget(&release);
  }
  EXPECT_EQ(release.listeners(), std::vector<ParamUpdateListener*>{&bridge});
}

struct FakeOwner : TimelineEditOwner {
  ParameterHost host;
  float stored = 0.0f;
  std::vector<std::tuple<int, int, float>> writes;
  float ReadProxyValue(const ZParam&) override { return stored; }
  void WriteProxyValue(ZParam& proxy, float value) override {
    writes.emplace_back(proxy.group(), proxy.index(), value);
  }
  ParameterHost& proxyHost() override { return host; }
};

TEST(ZParam, ReadsAndWritesThroughItsOwner) {
  FakeOwner owner;
  ZParam steps, pan;
  steps.Init(owner, 3, 1, 0.0f, 2.0f, Parameter::kInteger);
  pan.Init(owner, 1, 2, 1.0f, -1.0f, Parameter::kContinuous);
  EXPECT_EQ(steps.GetStorageKind(), 1);
  EXPECT_TRUE(steps.GetName().empty());
  EXPECT_EQ(steps.owner(), &owner.host);
  EXPECT_EQ(owner.host.parameters(1), (std::vector<Parameter*>{&steps, &pan}));
  EXPECT_EQ(pan.rawValue(), 1.0f);
  EXPECT_EQ(pan.previousValue(), 1.0f);
  EXPECT_FALSE(pan.IsAscending());

  owner.stored = 1.5f;  // rounded half up and kept
  EXPECT_FLOAT_EQ(steps.GetNormalized(), 1.0f);
  EXPECT_EQ(steps.rawValue(), 2.0f);

  Recorder r;
  steps.Subscribe(&r);
  owner.stored = 0.4f;
  owner.host.NotifyParameters(1, false);  // a refresh is not written back
  EXPECT_TRUE(owner.writes.empty());
  EXPECT_EQ(r.heard.front(), std::make_pair(0.0f, static_cast<Parameter*>(&steps)));
  EXPECT_EQ(pan.rawValue(), 0.4f);

  steps.SetValue(1.2f);
  pan.SetNormalized(0.75f, &r);
  EXPECT_EQ(owner.writes,
            (std::vector<std::tuple<int, int, float>>{{3, 1, 1.0f}, {1, 2, -0.5f}}));
  EXPECT_EQ(r.heard.back(), std::make_pair(1.0f, static_cast<Parameter*>(&steps)));

  steps.SetCurve(Parameter::kCubic);
  steps.SetType(Parameter::kContinuous);
  owner.stored = 0.25f;
  EXPECT_FLOAT_EQ(steps.GetNormalized(), 0.5f);
}

}  // namespace
