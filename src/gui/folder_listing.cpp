#include "gui/folder_listing.h"

#include <algorithm>
#include <cstdlib>
#include <system_error>

namespace gui {
namespace fs = std::filesystem;
namespace {

char Lower(char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool CaseInsensitiveLess(const FolderEntry& a, const FolderEntry& b) {
  const auto n = std::min(a.name.size(), b.name.size());
  for (std::size_t i = 0; i < n; ++i) {
    const char ca = Lower(a.name[i]), cb = Lower(b.name[i]);
    if (ca != cb) return static_cast<unsigned char>(ca) < static_cast<unsigned char>(cb);
  }
  if (a.name.size() != b.name.size()) return a.name.size() < b.name.size();
  return a.name < b.name;  // names differing only in case keep one order
}

}  // namespace

fs::path AbsoluteFrom(const fs::path& base, const fs::path& p) {
  fs::path full = (p.is_absolute() ? p : base / p).lexically_normal();
  // "/a/b/" keeps an empty last element; the folder itself is meant.
  if (!full.has_filename() && full != full.root_path()) full = full.parent_path();
  return full;
}

fs::path StartingFolder(const std::string& start) {
  std::error_code ec;
  std::string from = start;
  if (from.empty()) {
    const char* home = std::getenv("HOME");
    from = home != nullptr ? home : "";
  }
  if (from.empty()) return "/";
  fs::path cwd = fs::current_path(ec);
  if (ec) cwd = "/";
  fs::path folder = AbsoluteFrom(cwd, from);
  while (!fs::is_directory(folder, ec) && folder != folder.root_path())
    folder = folder.parent_path();
  if (!fs::is_directory(folder, ec)) return "/";
  return folder;
}

std::optional<std::string> ExistingRegularFile(const std::string& path) {
  if (path.empty()) return std::nullopt;
  std::error_code ec;
  fs::path cwd = fs::current_path(ec);
  if (ec) {
    if (!fs::path(path).is_absolute()) return std::nullopt;
    cwd = "/";
  }
  const fs::path full = AbsoluteFrom(cwd, path);
  if (!fs::is_regular_file(full, ec)) return std::nullopt;
  return full.string();
}

FolderListing ListFolder(const fs::path& folder, const FilePattern& pattern) {
  FolderListing listing;
  listing.folder = folder;
  if (folder != folder.root_path()) listing.entries.push_back({"..", "..", FolderEntry::kParent});

  std::vector<FolderEntry> folders, files;
  std::error_code ec;
  fs::directory_iterator it(folder, ec);
  for (; !ec && it != fs::directory_iterator(); it.increment(ec)) {
    std::string name = it->path().filename().string();
    if (name.empty() || name.front() == '.') continue;
    // Follows a link to what it names; a dangling link or a loop errs.
    std::error_code statusError;
    const fs::file_status status = it->status(statusError);
    if (statusError) continue;
    FolderEntry entry{name, PrintableText(name), FolderEntry::kFile};
    if (fs::is_directory(status)) {
      entry.kind = FolderEntry::kFolder;
      folders.push_back(std::move(entry));
    } else if (fs::is_regular_file(status) && pattern.Matches(name)) {
      files.push_back(std::move(entry));
    }
  }
  listing.readable = !ec;
  std::sort(folders.begin(), folders.end(), CaseInsensitiveLess);
  std::sort(files.begin(), files.end(), CaseInsensitiveLess);
  listing.entries.insert(listing.entries.end(), folders.begin(), folders.end());
  listing.entries.insert(listing.entries.end(), files.begin(), files.end());
  return listing;
}

}  // namespace gui
