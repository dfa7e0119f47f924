// Text from outside (file names, patch names) may hold any bytes, but the
// text renderer takes only valid UTF-8: one invalid string would put the
// shared drawing context into an error state and blank the rest of a paint.
// Thread: any.
#pragma once

#include <string>

namespace gui {

// text with every byte that is not part of valid UTF-8, and every control
// character, replaced by '?'.
std::string PrintableText(const std::string& text);
bool IsPrintableText(const std::string& text);

}  // namespace gui
