#include "gui/utf8_text.h"

#include <optional>
#include <utility>

namespace gui {
namespace {

// The code point of the UTF-8 sequence at text[i] and its length, or none
// for a stray, cut, overlong or out-of-range sequence. Noncharacters count
// as invalid too: the text renderer refuses them.
std::optional<std::pair<char32_t, std::size_t>> DecodeAt(const std::string& text, std::size_t i) {
  const auto lead = static_cast<unsigned char>(text[i]);
  std::size_t length = 0;
  char32_t cp = 0;
  if (lead < 0x80) return std::make_pair(static_cast<char32_t>(lead), std::size_t{1});
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
    cp = lead & 0x1F;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    cp = lead & 0x0F;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    cp = lead & 0x07;
  } else {
    return std::nullopt;
  }
  if (i + length > text.size()) return std::nullopt;
  for (std::size_t k = 1; k < length; ++k) {
    const auto c = static_cast<unsigned char>(text[i + k]);
    if ((c & 0xC0) != 0x80) return std::nullopt;
    cp = (cp << 6) | (c & 0x3F);
  }
  static constexpr char32_t kSmallest[] = {0, 0, 0x80, 0x800, 0x10000};
  if (cp < kSmallest[length] || cp > 0x10FFFF) return std::nullopt;
  if (cp >= 0xD800 && cp <= 0xDFFF) return std::nullopt;
  if ((cp >= 0xFDD0 && cp <= 0xFDEF) || (cp & 0xFFFE) == 0xFFFE) return std::nullopt;
  return std::make_pair(cp, length);
}

bool Control(char32_t cp) { return cp < 0x20 || (cp >= 0x7F && cp < 0xA0); }

}  // namespace

std::string PrintableText(const std::string& text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size();) {
    const auto decoded = DecodeAt(text, i);
    const bool control = decoded && Control(decoded->first);
    if (!decoded || control) {
      out += '?';
      ++i;
    } else {
      out.append(text, i, decoded->second);
      i += decoded->second;
    }
  }
  return out;
}

bool IsPrintableText(const std::string& text) {
  for (std::size_t i = 0; i < text.size();) {
    const auto decoded = DecodeAt(text, i);
    if (!decoded || Control(decoded->first)) return false;
    i += decoded->second;
  }
  return true;
}

}  // namespace gui
