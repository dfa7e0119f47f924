// Breakpoint lists measured: values between, before and after breakpoints,
// insertion while editing, storage growth, arithmetic across lists with
// different breakpoint times, block windows with loops and line ends, and a
// steady state that allocates nothing.
#include "engine/envelope/envelope.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>
#include <utility>
#include <vector>

namespace {
std::atomic<long> gAllocations{0};
}  // namespace

// Counts every allocation the binary makes, so a loop can prove it made none.
// Once inlined, the replacements below pair operator new with free, which
// the compiler would flag as a mismatch.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
void* operator new(std::size_t size) {
  gAllocations.fetch_add(1, std::memory_order_relaxed);
  if (void* p = std::malloc(size == 0 ? 1 : size)) return p;
  throw std::bad_alloc();
}
void* operator new[](std::size_t size) { return ::operator new(size); }
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }
#pragma GCC diagnostic pop

namespace {

using Points = std::vector<std::pair<float, float>>;

Envelope Line(const Points& points) {
  Envelope e(1);
  for (auto [t, v] : points) e.Append(t, v);
  return e;
}

float At(const Envelope& e, float t, int& hint) {
  float v = -99.0f;
  e.Evaluate(t, hint, &v);
  return v;
}

// Times and first values of e against the expected pairs.
void ExpectPoints(const Envelope& e, const Points& expected) {
  ASSERT_EQ(e.size(), static_cast<int>(expected.size()));
  for (int i = 0; i < e.size(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_NEAR(e[i].time, expected[static_cast<std::size_t>(i)].first, 1e-4f);
    EXPECT_NEAR(e[i].values[0], expected[static_cast<std::size_t>(i)].second, 1e-5f);
  }
}

TEST(EnvelopeEvaluate, ConstantInterpolatedAndPastTheEnds) {
  const Envelope single = Line({{5.0f, 0.7f}});
  int hint = 0;
  for (float t : {-100.0f, 0.0f, 5.0f, 1e6f}) EXPECT_FLOAT_EQ(At(single, t, hint), 0.7f) << t;

  Envelope empty(2);
  float pair[2] = {5.0f, 5.0f};
  hint = 0;
  empty.Evaluate(3.0f, hint, pair);
  EXPECT_EQ(pair[0], 0.0f);
  EXPECT_EQ(pair[1], 0.0f);

  // A jump at 20: the value before it is reached first, the one after it
  // takes over just past 20.
  const Envelope line = Line({{0, 0}, {10, 1}, {20, 0}, {20, 0.5f}, {30, 1}});
  hint = 0;
  EXPECT_FLOAT_EQ(At(line, 5.0f, hint), 0.5f);
  EXPECT_EQ(hint, 0);
  EXPECT_FLOAT_EQ(At(line, 15.0f, hint), 0.5f);
  EXPECT_EQ(hint, 1);
  EXPECT_FLOAT_EQ(At(line, 20.0f, hint), 0.0f);
  EXPECT_FLOAT_EQ(At(line, 25.0f, hint), 0.75f);
  EXPECT_EQ(hint, 3);
  EXPECT_FLOAT_EQ(At(line, 40.0f, hint), 1.0f);
  EXPECT_EQ(hint, 4);
  // The hint never walks back: earlier times now answer the last values.
  EXPECT_FLOAT_EQ(At(line, 5.0f, hint), 1.0f);

  // Before the first breakpoint no segment holds t, even from hint 0.
  const Envelope late = Line({{10, 0.2f}, {20, 0.8f}});
  hint = 0;
  EXPECT_FLOAT_EQ(At(late, 0.0f, hint), 0.8f);
  EXPECT_EQ(hint, 1);
}

TEST(EnvelopeInsert, ContinuesTheLineWhereverItLands) {
  Envelope empty(2);
  int hint = 5;
  EXPECT_EQ(empty.Insert(7.0f, true, hint), 0);
  EXPECT_EQ(hint, 0);
  EXPECT_EQ(empty[0].time, 7.0f);
  EXPECT_EQ(empty[0].values, (std::vector<float>{0.0f, 0.0f}));

  Envelope line = Line({{0, 0}, {10, 1}});
  hint = 0;
  EXPECT_EQ(line.Insert(5.0f, true, hint), 1);
  EXPECT_EQ(hint, 1);
  hint = 0;
  EXPECT_EQ(line.Insert(10.0f, true, hint), 3);  // a jump: a second breakpoint at 10
  hint = 0;
  EXPECT_EQ(line.Insert(15.0f, true, hint), 4);
  EXPECT_EQ(hint, 4);
  ExpectPoints(line, {{0, 0}, {5, 0.5f}, {10, 1}, {10, 1}, {15, 1}});
  hint = 0;
  EXPECT_EQ(line.Insert(2.5f, false, hint), 1);
  EXPECT_EQ(line[1].values[0], 0.0f);

  Envelope two = Line({{10, 0.4f}, {20, 0.9f}});
  hint = 0;
  EXPECT_EQ(two.Insert(2.0f, true, hint), 0);
  ExpectPoints(two, {{2, 0.4f}, {10, 0.4f}, {20, 0.9f}});

  // A lone breakpoint gives nothing to continue before it.
  Envelope one = Line({{10, 0.4f}});
  hint = 0;
  EXPECT_EQ(one.Insert(2.0f, true, hint), 0);
  ExpectPoints(one, {{2, 0.0f}, {10, 0.4f}});
}

TEST(EnvelopeStorage, GrowsInStepsAndReusesClearedBreakpoints) {
  Envelope e(3);
  EXPECT_EQ(e.capacity(), 8);
  for (int i = 0; i < 8; ++i) e.Append(static_cast<float>(i), 1.0f);
  EXPECT_EQ(e.capacity(), 8);
  e.Append(8.0f, 1.0f);
  EXPECT_EQ(e.capacity(), 264);
  while (e.size() < 264) e.Append(static_cast<float>(e.size()));
  EXPECT_EQ(e.capacity(), 264);
  e.Append(264.0f);
  EXPECT_EQ(e.capacity(), 520);

  const float* firstValues = e[0].values.data();
  e.Clear();
  EXPECT_TRUE(e.empty());
  e.Append(1.0f, 0.25f);
  EXPECT_EQ(e.capacity(), 520);
  EXPECT_EQ(e[0].values.data(), firstValues);
  EXPECT_EQ(e[0].values, (std::vector<float>{0.25f, 0.25f, 0.25f}));

  e.SetValuesPerPoint(5);
  EXPECT_EQ(e[0].values.size(), 5u);
  EXPECT_EQ(e[519].values.size(), 5u);  // spares too, so later appends need no resize

  Envelope line = Line({{0, 0}, {1, 1}, {2, 2}});
  Envelope copy(line);
  line.Remove(1);
  ExpectPoints(line, {{0, 0}, {2, 2}});
  ExpectPoints(copy, {{0, 0}, {1, 1}, {2, 2}});
  EXPECT_EQ(line.capacity(), 8);
  line.Append(3.0f, 3.0f);
  EXPECT_EQ(line[2].values.size(), 1u);  // the removed breakpoint's array, reused
}

TEST(EnvelopeTransform, ScaleShiftClampAndColumns) {
  Envelope e = Line({{0, 0}, {3, 0}, {7, 0}});
  e.Scale(0.5f);  // 1.5 truncates, the last 3.5 rounds half up
  ExpectPoints(e, {{0, 0}, {1, 0}, {4, 0}});
  e.Shift(2.5f);
  ExpectPoints(e, {{2.5f, 0}, {3.5f, 0}, {6.5f, 0}});

  Envelope c = Line({{0, -2.0f}, {1, 0.3f}, {2, 1.5f}});
  c.Clamp(-1.0f);
  ExpectPoints(c, {{0, -1.0f}, {1, 0.3f}, {2, 1.0f}});

  Envelope wide(4);
  wide.Append(0.0f).values = {1, 2, 3, 4};
  wide.Append(9.0f).values = {5, 6, 7, 8};
  Envelope columns(1);
  columns.Append(-1.0f, 0.0f);
  columns.ColumnExtract(wide, 1, 2);
  EXPECT_EQ(columns.valuesPerPoint(), 2);
  ASSERT_EQ(columns.size(), 3);
  EXPECT_EQ(columns[1].time, 0.0f);
  EXPECT_EQ(columns[1].values, (std::vector<float>{2, 3}));
  EXPECT_EQ(columns[2].time, 9.0f);
  EXPECT_EQ(columns[2].values, (std::vector<float>{6, 7}));
}

TEST(EnvelopeCombine, ProductAndSumAcrossDifferentTimes) {
  const Envelope a = Line({{0, 2}, {8, 6}, {10, 6}});
  const Envelope b = Line({{0, 1}, {4, 3}, {12, 7}});
  Envelope out(1);
  out.Append(99.0f, 99.0f);  // replaced, not appended to
  Product(a, b, out);
  // b's 12 lies past a's end and is left out.
  ExpectPoints(out, {{0, 2}, {4, 12}, {8, 30}, {10, 36}});
  Sum(a, b, out);
  ExpectPoints(out, {{0, 3}, {4, 7}, {8, 11}, {10, 12}});

  // A shorter b holds its last values.
  Product(a, Line({{0, 1}, {4, 3}}), out);
  ExpectPoints(out, {{0, 2}, {4, 12}, {8, 18}, {10, 18}});

  // In place, and with the destination as an operand, matches the above.
  Envelope c(a);
  c.MultiplyBy(b);
  ExpectPoints(c, {{0, 2}, {4, 12}, {8, 30}, {10, 36}});
  c = a;
  c.Add(b);
  ExpectPoints(c, {{0, 3}, {4, 7}, {8, 11}, {10, 12}});
  c = b;
  Product(a, c, c);
  ExpectPoints(c, {{0, 2}, {4, 12}, {8, 30}, {10, 36}});

  // A jump survives the walk.
  Envelope jump = Line({{0, 1}, {5, 1}, {5, 2}, {10, 2}});
  jump.MultiplyBy(Line({{0, 1}, {10, 3}}));
  ExpectPoints(jump, {{0, 1}, {5, 2}, {5, 4}, {10, 6}});

  Envelope x(2), y(2);
  x.Append(0.0f).values = {1, 2};
  x.Append(10.0f).values = {1, 2};
  y.Append(0.0f).values = {3, 4};
  y.Append(10.0f).values = {5, 6};
  x.MultiplyBy(y);
  EXPECT_EQ(x[0].values, (std::vector<float>{3, 8}));
  EXPECT_EQ(x[1].values, (std::vector<float>{5, 12}));
}

TEST(EnvelopeWindow, ConsecutiveWindowsAndTheLineEnd) {
  const Envelope line = Line({{0, 0}, {100, 1}, {250, 0.5f}});
  Envelope out(1);
  int hint = 0;
  EXPECT_EQ(WindowExtract(line, out, 0, 64, hint, false, nullptr), 64.0f);
  ExpectPoints(out, {{0, 0}, {64, 0.64f}});
  out.Clear();
  WindowExtract(line, out, 64, 128, hint, false, nullptr, -64);
  ExpectPoints(out, {{0, 0.64f}, {36, 1}, {64, 1 - 28.0f / 300}});
  out.Clear();
  WindowExtract(line, out, 128, 256, hint, false, nullptr, -128);
  ExpectPoints(out, {{0, 1 - 28.0f / 300}, {122, 0.5f}, {128, 0.5f}});
  EXPECT_EQ(hint, 2);
  out.Clear();
  WindowExtract(line, out, 256, 320, hint, false, nullptr, -256);
  ExpectPoints(out, {{0, 0.5f}, {64, 0.5f}});

  // With zeroAfterEnd the window holding the last breakpoint ramps to zero,
  // and the line is silent after it.
  hint = 0;
  out.Clear();
  WindowExtract(line, out, 192, 256, hint, true, nullptr, -192);
  ExpectPoints(out, {{0, 1 - 92.0f / 300}, {58, 0.5f}, {64, 0}});
  out.Clear();
  WindowExtract(line, out, 256, 320, hint, true, nullptr, -256);
  ExpectPoints(out, {{0, 0}, {64, 0}});

  Envelope empty(3), wide(3);
  hint = 0;
  WindowExtract(empty, wide, 0, 64, hint, false, nullptr);
  ASSERT_EQ(wide.size(), 2);
  EXPECT_EQ(wide[1].values, (std::vector<float>{0, 0, 0}));
}

TEST(EnvelopeWindow, LoopsWrapOrHold) {
  const Envelope line = Line({{0, 0}, {1000, 1}, {2000, 0}});
  LoopRecord loop;
  loop.on = true;
  loop.start = 200;
  loop.end = 1000;
  Envelope out(1);
  int hint = 0;
  // Crossing the loop end: the end's and the start's values at one time.
  EXPECT_EQ(WindowExtract(line, out, 900, 1100, hint, true, &loop), 300.0f);
  ExpectPoints(out, {{900, 0.9f}, {1000, 1}, {1000, 0.2f}, {1100, 0.3f}});
  EXPECT_EQ(loop.resumePosition, 300.0f);
  out.Clear();
  WindowExtract(line, out, 300, 500, hint, true, &loop);
  ExpectPoints(out, {{300, 0.3f}, {500, 0.5f}});
  EXPECT_EQ(loop.resumePosition, 500.0f);

  // A loop shorter than its minimum length holds at its end.
  loop.start = loop.end = 500;
  out.Clear();
  hint = 0;
  EXPECT_EQ(WindowExtract(line, out, 400, 600, hint, false, &loop), 500.0f);
  ExpectPoints(out, {{400, 0.4f}, {500, 0.5f}, {600, 0.5f}});
  for (int block = 0; block < 3; ++block) {
    out.Clear();
    WindowExtract(line, out, loop.resumePosition, loop.resumePosition + 200, hint, false, &loop);
    ExpectPoints(out, {{500, 0.5f}, {700, 0.5f}});
    EXPECT_EQ(loop.resumePosition, 500.0f);
  }
  loop.on = false;
  out.Clear();
  WindowExtract(line, out, loop.resumePosition, loop.resumePosition + 200, hint, false, &loop);
  ExpectPoints(out, {{500, 0.5f}, {700, 0.7f}});
  EXPECT_EQ(loop.resumePosition, 700.0f);
}

TEST(EnvelopeAllocation, SteadyBlocksAllocateNothing) {
  // A voice-like block: a looping timeline line windowed, scaled to frames,
  // shifted, multiplied and summed with per-block lists.
  EventEnvelope line(5);
  for (int i = 0; i < 40; ++i) line.Append(static_cast<float>(i * 100), static_cast<float>(i % 3));
  LoopRecord loop;
  loop.on = true;
  loop.start = 1000;
  loop.end = 3000;
  ZModValues window(5), gain(5), sum(5);
  Envelope lfo(5);
  for (int i = 0; i <= 16; ++i) lfo.Append(static_cast<float>(i * 4), 0.5f);

  int hint = 0;
  auto block = [&] {
    window.Clear();
    const float s = loop.resumePosition;
    WindowExtract(line, window, s, s + 64, hint, true, &loop);
    window.Shift(-s);
    window.Scale(1.0f);
    window.MultiplyBy(lfo);
    window.Add(lfo);
    window.Clamp(0.0f);
    Product(window, lfo, gain);
    Sum(gain, window, sum);
  };
  for (int i = 0; i < 200; ++i) block();
  const float* data = window[0].values.data();
  const int capacity = window.capacity();

  const long before = gAllocations.load();
  for (int i = 0; i < 2000; ++i) block();
  EXPECT_EQ(gAllocations.load() - before, 0);
  EXPECT_EQ(window.capacity(), capacity);
  EXPECT_EQ(window[0].values.data(), data);
  EXPECT_GT(window.size(), 2);
}

}  // namespace
