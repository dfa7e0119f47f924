// LFO shapes and rates, and the routing evaluation.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "engine/modulation/lfo.h"
#include "engine/modulation/midi_event_mod_source.h"
#include "engine/modulation/routing_table.h"

namespace {

// A Modulation list of one point: LFO1 depth, rate, shape; the rest 1.
Envelope ModulationLine(float depth, float rate, float shape) {
  Envelope line(23);
  Breakpoint& p = line.Append(0.0f, 1.0f);
  p.values[0] = depth;
  p.values[1] = rate;
  p.values[2] = shape;
  return line;
}

// The LFO's values over a run of blocks, one per 32-frame step.
std::vector<float> RunLfo(ZLFO& lfo, int blocks, int frames = 512) {
  std::vector<float> values;
  for (int b = 0; b < blocks; ++b) {
    ZModValues out(1);
    lfo.ComputeOutput(out, frames, 0);
    for (int i = 0; i + 1 < out.size(); ++i) values.push_back(out[i].values[0]);
  }
  return values;
}

int Crossings(const std::vector<float>& v) {
  int n = 0;
  for (std::size_t i = 1; i < v.size(); ++i) n += (v[i - 1] < 0.0f) != (v[i] < 0.0f) ? 1 : 0;
  return n;
}

TEST(ZLFO, ShapesAndPolarity) {
  Envelope line = ModulationLine(1.0f, 1.0f, 2.0f);
  ZLFO ramp(0, 7);
  ramp.SetModulationList(&line);
  const std::vector<float> r = RunLfo(ramp, 40);
  EXPECT_FLOAT_EQ(r[0], 1.0f);  // falling ramp from +1
  EXPECT_LT(r[100], r[50]);

  Envelope sineLine = ModulationLine(1.0f, 5.0f, 0.0f);
  ZLFO sine(0, 7);
  sine.SetModulationList(&sineLine);
  sine.SetPositiveOnly(true);
  const std::vector<float> s = RunLfo(sine, 100);
  const auto zeros = std::count(s.begin(), s.end(), 0.0f);
  EXPECT_NEAR(static_cast<double>(zeros) / static_cast<double>(s.size()), 0.5, 0.05);
  EXPECT_EQ(*std::min_element(s.begin(), s.end()), 0.0f);
}

TEST(ZLFO, FreeRateKeepsItsSpeedAtAnySampleRateAndSyncFollowsTheBeat) {
  Envelope line = ModulationLine(1.0f, 5.0f, 0.0f);
  for (float rate : {44100.0f, 88200.0f}) {
    ZLFO lfo(0, 3);
    lfo.SetModulationList(&line);
    lfo.SetSampleRate(rate);
    const int blocks = static_cast<int>(rate / 512.0f);  // about one second
    const double cycles = Crossings(RunLfo(lfo, blocks)) / 2.0;
    EXPECT_NEAR(cycles, 17.5, 0.6) << rate;
  }
  // Synced at 120 BPM, rate 1: one cycle a beat, two a second.
  Envelope synced = ModulationLine(1.0f, 1.0f, 0.0f);
  ZLFO beat(0, 3);
  beat.SetModulationList(&synced);
  beat.SetTempoSync(true);
  EXPECT_NEAR(Crossings(RunLfo(beat, 172)) / 2.0, 4.0, 0.6);  // two seconds
  Envelope standing = ModulationLine(1.0f, 6.0f, 0.0f);
  ZLFO still(0, 3);
  still.SetModulationList(&standing);
  still.SetTempoSync(true);
  RunLfo(still, 10);
  EXPECT_EQ(still.phase(), 0.0f);
}

// A source that counts how often it is asked.
struct CountingSource : ZModSource {
  CountingSource() : ZModSource(1) {}
  int calls = 0;
  void ComputeOutput(ZModValues& list, int frames, int) override {
    ++calls;
    list.Append(0.0f, 0.5f);
    list.Append(static_cast<float>(frames), 0.5f);
  }
};

TEST(RoutingTable, RowsAddComputeEachSourceOnceAndSkipLooseEnds) {
  CountingSource source;
  ZModTarget target(7);
  ModulationContext context;
  context.modWheel = &source;
  context.voiceTarget = &target;
  RoutingTable table(context);
  for (int r : {0, 1}) {
    table.SetSource(r, 10);
    table.SetTarget(r, kVectorX);
    table.row(r).enabled = true;
    table.row(r).amountFromLine = false;
    table.row(r).amount = r == 0 ? 1.0f : 0.5f;
  }
  table.SetSource(2, 10);  // no target: does nothing
  table.row(2).enabled = true;
  table.SetTarget(3, kVectorY);  // no source
  table.row(3).enabled = true;
  Envelope line(23);
  line.Append(0.0f, 0.0f);
  table.Evaluate(256, line);
  EXPECT_EQ(source.calls, 1);
  const ZModValues& x = target.input(kVectorX);
  EXPECT_TRUE(x.hasModulation);
  EXPECT_FLOAT_EQ(x[0].values[0], 0.75f);
  EXPECT_FLOAT_EQ(x.last().values[0], 0.75f);
  EXPECT_FALSE(target.input(kVectorY).hasModulation);
  EXPECT_EQ(ZGetModTargetName(5), "Filter Freq.");
  EXPECT_EQ(ZGetModTargetName(9), "Error in ZGetModTargetName");
}

TEST(ZMidiEventModSource, ControllerValuesMapToPlusMinusOne) {
  ZMidiEventModSource wheel(0xB0, 1, -1.0f);
  wheel.HandleEvent(0, 0xB0, 1, 0, 0);
  EXPECT_FLOAT_EQ(wheel.value(), -1.0f);
  wheel.HandleEvent(5, 0xB0, 1, 64, 0);
  EXPECT_FLOAT_EQ(wheel.value(), 0.0f);
  ZModValues out(1);
  wheel.ComputeOutput(out, 100, 0);
  EXPECT_FLOAT_EQ(out[0].values[0], -1.0f);  // from the previous block's value
  EXPECT_FLOAT_EQ(out[1].values[0], 0.0f);
}

}  // namespace
