#include "gui/file_pattern.h"

#include <fnmatch.h>

#include <sstream>

namespace gui {

FilePattern::FilePattern(const std::string& globs) {
  std::istringstream in(globs);
  std::string glob;
  while (in >> glob) globs_.push_back(glob);
}

bool FilePattern::Matches(const std::string& name) const {
  if (globs_.empty()) return true;
  for (const std::string& glob : globs_) {
    if (fnmatch(glob.c_str(), name.c_str(), 0) == 0) return true;
  }
  return false;
}

}  // namespace gui
