#include "gui/text_metrics.h"

#include <cairo.h>

namespace gui {
namespace {

// A scratch context of one pixel: fonts measure the same there as in a paint.
class Scratch {
 public:
  Scratch()
      : surface_(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 1, 1)), cr_(cairo_create(surface_)),
        g_(cr_, 1, 1, 1.0f) {}
  ~Scratch() {
    cairo_destroy(cr_);
    cairo_surface_destroy(surface_);
  }
  Scratch(const Scratch&) = delete;
  Scratch& operator=(const Scratch&) = delete;
  GraphicsContext& g() { return g_; }

 private:
  cairo_surface_t* surface_;
  cairo_t* cr_;
  GraphicsContext g_;
};

}  // namespace

std::size_t Utf8SequenceLength(unsigned char c) {
  if (c >= 0xF0 && c < 0xF8) return 4;
  if (c >= 0xE0 && c < 0xF0) return 3;
  if (c >= 0xC0 && c < 0xE0) return 2;
  return 1;
}

int MeasureTextWidth(const std::string& text, int size, const std::string& family, bool bold) {
  if (text.empty()) return 0;
  Scratch s;
  s.g().SetFont(size, family, bold);
  return s.g().TextWidth(text);
}

int MeasureLineHeight(int size, const std::string& family, bool bold) {
  Scratch s;
  s.g().SetFont(size, family, bold);
  return s.g().TextHeight();
}

std::vector<std::string> WrapText(const std::string& text, int maxWidth, int size) {
  Scratch s;
  GraphicsContext& g = s.g();
  g.SetFont(size);
  std::vector<std::string> lines;
  auto fits = [&](const std::string& line) { return g.TextWidth(line) <= maxWidth; };

  std::size_t start = 0;
  while (true) {
    const std::size_t end = text.find('\n', start);
    const std::string paragraph = text.substr(start, end == std::string::npos ? std::string::npos : end - start);
    std::string line;
    const std::size_t before = lines.size();
    std::size_t i = 0;
    while (i < paragraph.size()) {
      // The next word with the spaces before it.
      std::size_t j = i;
      while (j < paragraph.size() && paragraph[j] == ' ') ++j;
      while (j < paragraph.size() && paragraph[j] != ' ') ++j;
      const std::string piece = paragraph.substr(i, j - i);
      if (fits(line + piece)) {
        line += piece;
        i = j;
        continue;
      }
      if (!line.empty()) {
        lines.push_back(line);
        line.clear();
        // The spaces that broke the line are dropped.
        while (i < paragraph.size() && paragraph[i] == ' ') ++i;
        continue;
      }
      // One word alone is too wide: as many characters as fit, at least one.
      std::size_t k = i;
      while (k < j) {
        const std::size_t n = Utf8SequenceLength(static_cast<unsigned char>(paragraph[k]));
        if (k > i && !fits(paragraph.substr(i, k + n - i))) break;
        k += n;
      }
      lines.push_back(paragraph.substr(i, k - i));
      i = k;
    }
    // An empty paragraph is an empty line; a full one adds no blank after it.
    if (!line.empty() || lines.size() == before) lines.push_back(line);
    if (end == std::string::npos) break;
    start = end + 1;
  }
  return lines;
}

}  // namespace gui
