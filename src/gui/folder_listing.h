// What a file-open dialog shows of one folder: ".." (except at "/"), the
// sub-folders, then the files a pattern offers, each group sorted without
// regard to case; hidden names (a leading ".") are left out. Links are
// followed one step to see what they point at; a broken link, a loop of
// links and anything that is neither a folder nor a regular file are left
// out. Nothing here throws: a folder that cannot be read lists only "..".
// Thread: any; the file-open dialog calls it on the user-interface thread.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "gui/file_pattern.h"

#include "gui/utf8_text.h"

namespace gui {

struct FolderEntry {
  enum Kind { kParent, kFolder, kFile };
  std::string name;   // as on disk, any bytes
  std::string label;  // the name as text that can be drawn
  Kind kind = kFile;
};

struct FolderListing {
  std::filesystem::path folder;  // absolute, without a trailing "/"
  std::vector<FolderEntry> entries;
  bool readable = true;
};

FolderListing ListFolder(const std::filesystem::path& folder, const FilePattern& pattern);

// The folder a dialog opens at: start made absolute, or the nearest folder
// above it that exists; $HOME for an empty start, "/" when all else fails.
std::filesystem::path StartingFolder(const std::string& start);

// An absolute, lexically normal path without a trailing "/"; relative paths
// are taken from base.
std::filesystem::path AbsoluteFrom(const std::filesystem::path& base,
                                   const std::filesystem::path& p);

// path, made absolute from the process's working folder, when it names an
// existing regular file (through links); none otherwise.
std::optional<std::string> ExistingRegularFile(const std::string& path);

}  // namespace gui
