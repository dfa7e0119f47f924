// Parameter values, notification rules, patch order and host automation.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "params/automatable_parameter_server.h"
#include "params/parameter_host.h"
#include "persist/streams.h"
#include "recorder.h"

namespace {

using Heard = std::vector<std::pair<float, Parameter*>>;

TEST(Parameter, RoundsClampsAndMapsCurves) {
  Parameter steps("Steps", -10.0f, 10.0f, Parameter::kInteger);
  EXPECT_EQ(steps.SetValue(2.5f), 3.0f);
  EXPECT_EQ(steps.SetValue(-2.5f), -2.0f);
  EXPECT_EQ(steps.SetValue(-2.7f), -2.0f);  // negatives truncate
  EXPECT_EQ(steps.SetValue(2.49f), 2.0f);
  EXPECT_EQ(steps.SetValue(99.0f), 10.0f);

  Parameter poly("Polyphony", 2.0f, 16.0f, Parameter::kInteger);
  poly.SetNormalized(0.5f, nullptr);
  EXPECT_EQ(poly.rawValue(), 9.0f);

  Parameter down("Down", 10.0f, 0.0f);
  EXPECT_FALSE(down.IsAscending());
  EXPECT_EQ(down.SetValue(20.0f), 10.0f);
  EXPECT_EQ(down.SetValue(-5.0f), 0.0f);
  down.SetNormalized(0.25f, nullptr);
  EXPECT_EQ(down.rawValue(), 7.5f);
  EXPECT_FLOAT_EQ(down.GetNormalized(), 0.25f);

  Parameter cubic("Cubic", 0.0f, 1.0f, Parameter::kContinuous, 1, Parameter::kCubic);
  const float answered = cubic.SetNormalized(0.5f, nullptr);
  EXPECT_EQ(cubic.rawValue(), 0.125f);
  EXPECT_NEAR(answered, 0.5f, 1e-6f);
  EXPECT_NEAR(cubic.GetNormalized(), 0.5f, 1e-6f);
  EXPECT_FLOAT_EQ(cubic.Denormalize(1.0f), 1.0f);
}

TEST(Parameter, NotifiesAndKeepsPreviousValue) {
  Parameter p("Level", 0.0f, 1.0f);
  Recorder a, b;
  p.Subscribe(&a);
  p.Subscribe(&b);

  p.SetNormalized(0.0f, nullptr);  // already held: nobody hears
  EXPECT_TRUE(a.heard.empty());
  p.SetValue(0.0f);  // already held: everybody hears
  EXPECT_EQ(a.heard, (Heard{{0.0f, &p}}));
  EXPECT_EQ(b.heard, (Heard{{0.0f, &p}}));

  p.SetNormalized(0.5f, &a);  // the source is skipped, previous untouched
  p.SetNormalized(0.6f, &a);
  EXPECT_EQ(a.heard.size(), 1u);
  EXPECT_EQ(b.heard.back(), std::make_pair(0.6f, &p));
  EXPECT_EQ(p.previousValue(), 0.0f);

  p.SetValue(0.75f, &b);
  EXPECT_EQ(a.heard.back(), std::make_pair(0.75f, &p));
  EXPECT_EQ(b.heard.size(), 3u);
  EXPECT_EQ(p.previousValue(), 0.6f);
  p.NotifyAfterBlock();
  EXPECT_EQ(p.previousValue(), 0.75f);

  p.Unsubscribe(&a);
  p.NotifyListeners();
  EXPECT_EQ(a.heard.size(), 2u);
  EXPECT_EQ(b.heard.back(), std::make_pair(0.75f, &p));

  // SetBool stores 1.0 whatever the range.
  Parameter half("Half", 0.0f, 0.5f);
  half.Subscribe(&a);
  half.SetBool(true);
  EXPECT_EQ(half.rawValue(), 1.0f);
  EXPECT_TRUE(half.GetBool());
  EXPECT_EQ(a.heard.back(), std::make_pair(1.0f, &half));
  half.SetBool(false);
  EXPECT_EQ(half.previousValue(), 1.0f);
  EXPECT_FALSE(half.GetBool());
}

TEST(Parameter, ModulationInputScalesValueUnlessOwnerAppliesIt) {
  Parameter p("Cutoff", 0.0f, 2.0f);
  p.SetValue(1.6f);
  p.modulationInput().buffer[0] = 0.5f;
  EXPECT_FLOAT_EQ(p.GetValue(), 1.6f);  // inactive input
  p.modulationInput().active = true;
  EXPECT_FLOAT_EQ(p.GetValue(), 0.8f);
  EXPECT_FLOAT_EQ(p.GetNormalized(), 0.4f);
  EXPECT_EQ(p.GetIntValue(), 0);
  EXPECT_FLOAT_EQ(p.rawValue(), 1.6f);
  p.SetOwnerAppliesModulation(true);
  EXPECT_FLOAT_EQ(p.GetValue(), 1.6f);
  EXPECT_FLOAT_EQ(p.GetNormalized(), 0.8f);
}

std::vector<float> Floats(const std::string& bytes) {
  StringReader reader(bytes.data(), bytes.size());
  std::vector<float> out;
  while (reader.Remaining() >= 4) out.push_back(reader.ReadFloat());
  return out;
}

TEST(ParameterHost, WritesReadsAndNotifiesByStorageKind) {
  ParameterHost host, child;
  Parameter k2("k2", 0, 20, 0, 2), k1a("k1a", 0, 20, 0, 1), k0("k0", 0, 20, 0, 0),
      k3("k3", 0, 20, 0, 3), k1b("k1b", 0, 20, 0, 1), c0("c0", 0, 20, 0, 0);
  for (Parameter* p : {&k2, &k1a, &k0, &k3, &k1b}) host.AddParameter(p);
  child.AddParameter(&c0);
  host.AddChildHost(&child);
  EXPECT_EQ(k0.owner(), &host);
  EXPECT_EQ(k1a.listeners(), std::vector<ParamUpdateListener*>{&host});

  float v = 1.0f;
  for (Parameter* p : {&k2, &k1a, &k0, &k3, &k1b, &c0}) p->SetValue(v++);
  k0.modulationInput().buffer[0] = 0.5f;
  k0.modulationInput().active = true;  // the stored value is written, not the product
  std::string bytes;
  StringWriter writer(bytes);
  host.WriteParameters(writer);
  EXPECT_EQ(Floats(bytes), (std::vector<float>{3, 2, 5, 1, 4, 6}));

  std::string patch;
  StringWriter patchWriter(patch);
  for (float f : {7.0f, 8.0f, 9.0f, 10.0f, 11.0f, 12.0f}) patchWriter.WriteFloat(f);
  Recorder r;
  k1a.Subscribe(&r);
  StringReader reader(patch.data(), patch.size());
  host.ReadParameters(reader);
  EXPECT_EQ(reader.Remaining(), 0u);
  EXPECT_EQ((std::vector<float>{k0.rawValue(), k1a.rawValue(), k1b.rawValue(), k2.rawValue(),
                                k3.rawValue(), c0.rawValue()}),
            (std::vector<float>{7, 8, 9, 10, 11, 12}));
  EXPECT_EQ(r.heard, (Heard{{8.0f, &k1a}, {8.0f, &k1a}}));  // loaded values are heard twice

  Recorder all;
  for (Parameter* p : {&k2, &k1a, &k0, &k3, &k1b, &c0}) p->Subscribe(&all);
  auto notified = [&](int kind, bool recursive) {
    all.heard.clear();
    host.NotifyParameters(kind, recursive);
    std::vector<Parameter*> who;
    for (const auto& h : all.heard) who.push_back(h.second);
    return who;
  };
  EXPECT_EQ(notified(2, false), (std::vector<Parameter*>{&k2, &k3}));
  EXPECT_EQ(notified(3, false), (std::vector<Parameter*>{&k2, &k3}));
  EXPECT_EQ(notified(1, true), (std::vector<Parameter*>{&k1a, &k1b}));
  EXPECT_EQ(notified(0, false), (std::vector<Parameter*>{&k0}));
  EXPECT_EQ(notified(0, true), (std::vector<Parameter*>{&k0, &c0}));
  EXPECT_TRUE(notified(7, true).empty());
}

struct FakeServer : AutomatableParameterServer {
  std::vector<std::pair<int, float>> sent;
  void NotifyHost(int index, float normalised) override { sent.emplace_back(index, normalised); }
};

TEST(AutomatableParameterServer, ReportsChangesNotMadeByTheHost) {
  FakeServer server;
  Parameter gain("Gain", 0.0f, 10.0f), poly("Polyphony", 2.0f, 16.0f, Parameter::kInteger);
  server.AddAutomatable(&gain);
  server.AddAutomatable(&poly);
  Recorder editor;
  poly.Subscribe(&editor);

  server.SetFromHost(1, 0.5f);
  EXPECT_EQ(poly.rawValue(), 9.0f);
  EXPECT_EQ(poly.previousValue(), 2.0f);
  EXPECT_TRUE(server.sent.empty());  // never echoed
  EXPECT_EQ(editor.heard, (Heard{{9.0f, &poly}}));
  EXPECT_FLOAT_EQ(server.GetForHost(1), 0.5f);

  poly.SetValue(4.0f);
  gain.SetNormalized(0.25f, nullptr);
  ASSERT_EQ(server.sent.size(), 2u);
  EXPECT_EQ(server.sent[0].first, 1);
  EXPECT_FLOAT_EQ(server.sent[0].second, 2.0f / 14.0f);
  EXPECT_EQ(server.sent[1], std::make_pair(0, 0.25f));

  Parameter stray("Stray", 0.0f, 1.0f);
  stray.Subscribe(&server.updateListener());
  stray.SetValue(0.3f);
  server.SetFromHost(2, 0.5f);
  server.SetFromHost(-1, 0.5f);
  EXPECT_EQ(server.sent.size(), 2u);
  EXPECT_EQ(server.GetForHost(2), 0.0f);
}

}  // namespace
