// A multiple selection of timeline breakpoints as the editor keeps it:
// (line, breakpoint index) pairs of the selected layer.
// Thread: user-interface thread.
#pragma once

#include <vector>

struct PointSelection {
  struct Point {
    int line;
    int index;
  };
  std::vector<Point> points;
  int size() const { return static_cast<int>(points.size()); }
};
