// When the tests end, cairo's font caches and the fontconfig state behind
// them are freed, so the leak checker of the sanitizer build reports only
// leaks of our own.
#include <cairo.h>
#include <fontconfig/fontconfig.h>
#include <gtest/gtest.h>

namespace {

class FontCaches : public ::testing::Environment {
 public:
  void TearDown() override {
    cairo_debug_reset_static_data();
    FcFini();
  }
};

::testing::Environment* const kFontCaches = ::testing::AddGlobalTestEnvironment(new FontCaches);

}  // namespace
