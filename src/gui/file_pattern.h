// Which file names a file-open dialog offers: globs separated by spaces
// ("*.wav *.WAV"), matched against the whole name, case as written; no
// glob at all offers every file.
// Thread: any (a value).
#pragma once

#include <string>
#include <vector>

namespace gui {

class FilePattern {
 public:
  explicit FilePattern(const std::string& globs = "");

  bool Matches(const std::string& name) const;
  const std::vector<std::string>& globs() const { return globs_; }

 private:
  std::vector<std::string> globs_;
};

}  // namespace gui
