#include "persist/preset_library.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <memory>
#include <system_error>

#include "persist/data_folders.h"
#include "shell/message_box.h"

LibraryKind WaveformLibraryKind() {
  return {"wfm", "Waveform", 1.0f, 1.0f, 1.0f};
}
LibraryKind PatchLibraryKind() {
  return {"zel", "ZelvanePatch", 1.0f, 1.0f, 1.0f};
}
LibraryKind TimelineLibraryKind() {
  return {"ztl", "Timeline", 1.0f, 1.0f, 1.0f};
}

namespace {

struct DirCloser {
  void operator()(DIR* d) const { closedir(d); }
};
using DirPtr = std::unique_ptr<DIR, DirCloser>;

// Deeper trees than this are not something a user made by hand; refusing
// them keeps the recursion bounded.
constexpr int kMaxFolderDepth = 64;

std::string ErrnoText() {
  return std::error_code(errno, std::generic_category()).message();
}

std::string Quoted(const std::string& name) {
  std::string shown;
  for (char c : name) {
    if (c == '\0') {
      shown += "\\0";
    } else {
      shown += c;
    }
  }
  return "'" + shown + "'";
}

// Case-blind (ASCII) order, so "bass" sits next to "Bass"; exact bytes break ties.
bool NameLess(const std::string& a, const std::string& b) {
  const auto fold = [](unsigned char c) { return c >= 'A' && c <= 'Z' ? c + ('a' - 'A') : c; };
  const std::size_t n = std::min(a.size(), b.size());
  for (std::size_t i = 0; i < n; ++i) {
    const int x = fold(static_cast<unsigned char>(a[i]));
    const int y = fold(static_cast<unsigned char>(b[i]));
    if (x != y) return x < y;
  }
  if (a.size() != b.size()) return a.size() < b.size();
  return a < b;
}

// Names of the folders (wantFolders) or regular files in folder; links are
// judged by what they point at, dangling ones are left out.
std::vector<std::string> ListFolder(const std::string& folder, bool wantFolders) {
  std::vector<std::string> names;
  DirPtr dir(opendir(folder.c_str()));
  if (dir == nullptr) return names;
  while (const dirent* entry = readdir(dir.get())) {
    const std::string name = entry->d_name;
    if (name == "." || name == "..") continue;
    struct stat st {};
    if (fstatat(dirfd(dir.get()), entry->d_name, &st, 0) != 0) continue;
    if (wantFolders ? S_ISDIR(st.st_mode) : S_ISREG(st.st_mode)) names.push_back(name);
  }
  return names;
}

// Removes the folder name inside parentFd with everything in it. Links met
// on the way are removed themselves, never entered: opening with O_NOFOLLOW
// also covers a folder swapped for a link between the check and the open.
bool RemoveTreeAt(int parentFd, const char* name, int depth) {
  if (depth > kMaxFolderDepth) return false;
  const int fd = openat(parentFd, name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
  if (fd < 0) return false;
  DirPtr dir(fdopendir(fd));
  if (dir == nullptr) {
    close(fd);
    return false;
  }
  // Read everything first: removing entries while reading leaves it open
  // whether later ones are still returned.
  std::vector<std::string> names;
  while (const dirent* entry = readdir(dir.get())) {
    const std::string_view n = entry->d_name;
    if (n != "." && n != "..") names.emplace_back(n);
  }
  bool ok = true;
  const int here = dirfd(dir.get());
  for (const std::string& n : names) {
    struct stat st {};
    if (fstatat(here, n.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0) {
      ok = ok && errno == ENOENT;
      continue;
    }
    if (S_ISDIR(st.st_mode)) {
      ok = RemoveTreeAt(here, n.c_str(), depth + 1) && ok;
    } else if (unlinkat(here, n.c_str(), 0) != 0 && errno != ENOENT) {
      ok = false;
    }
  }
  dir.reset();
  return unlinkat(parentFd, name, AT_REMOVEDIR) == 0 && ok;
}

// Plain rename(2) silently replaces an existing file or empty folder; a
// library rename must fail instead.
bool RenameWithoutReplacing(const std::string& from, const std::string& to) {
  if (renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) return true;
  if (errno != EINVAL && errno != ENOSYS) return false;
  // A filesystem without the flag: check first and accept the small race.
  struct stat st {};
  if (lstat(to.c_str(), &st) == 0) {
    errno = EEXIST;
    return false;
  }
  return std::rename(from.c_str(), to.c_str()) == 0;
}

bool Exists(const std::string& path) {
  struct stat st {};
  return lstat(path.c_str(), &st) == 0;
}

}  // namespace

bool PresetLibrary::IsValidName(std::string_view name) {
  return !name.empty() && name != "." && name != ".." &&
         name.find_first_of(std::string_view("/\0", 2)) == std::string_view::npos;
}

void PresetLibrary::Init(std::string root, LibraryKind kind) {
  Configure(std::move(root), std::move(kind));
  Rescan();
}

void PresetLibrary::Configure(std::string root, LibraryKind kind) {
  root_ = std::move(root);
  kind_ = std::move(kind);
}

void PresetLibrary::Rescan() {
  categories_.clear();
  flat_.clear();
  if (root_.empty()) return;

  // Directory order is arbitrary here; the lists are meant to read alphabetically.
  std::vector<std::string> folders = ListFolder(root_, true);
  std::sort(folders.begin(), folders.end(), NameLess);
  for (std::string& folder : folders) {
    Category category{std::move(folder), {}};
    for (const std::string& file : ListFolder(CategoryPath(category.name), false)) {
      const std::size_t dot = file.rfind('.');
      if (dot == std::string::npos ||
          file.compare(dot + 1, std::string::npos, kind_.extension) != 0) {
        continue;
      }
      std::string item = file.substr(0, dot);
      // ".zel" or "...zel" would give names no operation accepts.
      if (IsValidName(item)) category.items.push_back(std::move(item));
    }
    std::sort(category.items.begin(), category.items.end(), NameLess);
    categories_.push_back(std::move(category));
  }
  for (const Category& c : categories_) {
    for (const std::string& item : c.items) flat_.push_back({c.name, item});
  }
}

bool PresetLibrary::OpenForRead(const std::string& category, const std::string& name,
                                ParameterFileReader& reader) {
  reader.kind = kind_;
  if (!CheckNames({&category, &name})) return false;
  const std::string path = ItemPath(category, name);
  if (!reader.Open(path)) {
    return Fail(Quoted(path) + " could not be opened or is not a " + kind_.typeWord + " file.");
  }
  lastError_.clear();
  return true;
}

bool PresetLibrary::OpenForWrite(const std::string& category, const std::string& name,
                                 ParameterFileWriter& writer) {
  writer.kind = kind_;
  declined_ = false;
  if (!CheckNames({&category, &name})) return false;
  std::string fileName = name;
  if (!fileName.ends_with(kUserSuffix)) fileName += kUserSuffix;
  const std::string path = ItemPath(category, fileName);

  if (Exists(path) && ShowMessageBox("File already exists. Overwrite?", "File Save",
                                     MessageBoxButtons::kYesNo) != MessageBoxAnswer::kYes) {
    declined_ = true;
    return Fail(Quoted(path) + " already exists and was kept.");
  }
  // The category, and even the root, may be missing: a fresh installation,
  // or a folder deleted from outside since the last scan.
  if (!writer.Open(path) &&
      !(CreateFolderWithParents(CategoryPath(category)) && writer.Open(path))) {
    return Fail(Quoted(path) + " could not be created: " + ErrnoText() + ".");
  }
  try {
    writer.WriteHeader();
  } catch (const StreamError& e) {
    writer.Close();
    return Fail(Quoted(path) + ": " + e.what() + ".");
  }
  lastError_.clear();
  return true;
}

bool PresetLibrary::CreateCategory(const std::string& name) {
  if (!CheckNames({&name})) return false;
  const std::string path = CategoryPath(name);
  if (Exists(path))
    return Done(false, "A category or file named " + Quoted(name) + " already exists.");
  const bool ok = CreateFolderWithParents(path);
  return Done(ok, "The folder " + Quoted(path) + " could not be created: " + ErrnoText() + ".");
}

bool PresetLibrary::RenameCategory(const std::string& oldName, const std::string& newName) {
  if (!CheckNames({&oldName, &newName})) return false;
  const std::string from = CategoryPath(oldName);
  struct stat st {};
  if (stat(from.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) {
    return Done(false, "There is no category named " + Quoted(oldName) + ".");
  }
  const bool ok = RenameWithoutReplacing(from, CategoryPath(newName));
  return Done(ok,
              "The category could not be renamed to " + Quoted(newName) + ": " + ErrnoText() + ".");
}

bool PresetLibrary::DeleteCategory(const std::string& name) {
  if (!CheckNames({&name})) return false;
  const int rootFd = open(root_.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (rootFd < 0) {
    const bool gone = errno == ENOENT;  // no root, no category
    return Done(gone, "The library folder could not be opened: " + ErrnoText() + ".");
  }
  std::string whyNot;
  struct stat st {};
  if (fstatat(rootFd, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0) {
    if (S_ISLNK(st.st_mode)) {
      // A linked category: the link goes, what it points at stays.
      if (unlinkat(rootFd, name.c_str(), 0) != 0) whyNot = ErrnoText();
    } else if (S_ISDIR(st.st_mode)) {
      if (!RemoveTreeAt(rootFd, name.c_str(), 0)) whyNot = "not everything in it could be removed";
    } else {
      whyNot = "it is not a folder";
    }
  } else if (errno != ENOENT) {
    whyNot = ErrnoText();
  }
  const bool gone = fstatat(rootFd, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0 && errno == ENOENT;
  close(rootFd);
  return Done(gone, "The category " + Quoted(name) + " could not be deleted: " + whyNot + ".");
}

bool PresetLibrary::RenameItem(const std::string& category, const std::string& oldName,
                               const std::string& newName) {
  if (!CheckNames({&category, &oldName, &newName})) return false;
  const std::string from = ItemPath(category, oldName);
  struct stat st {};
  if (lstat(from.c_str(), &st) != 0 || S_ISDIR(st.st_mode)) {
    return Done(false, "There is no item " + Quoted(oldName) + " in " + Quoted(category) + ".");
  }
  const bool ok = RenameWithoutReplacing(from, ItemPath(category, newName));
  return Done(ok, "The item could not be renamed to " + Quoted(newName) + ": " + ErrnoText() + ".");
}

bool PresetLibrary::DeleteItem(int categoryIndex, const std::string& name) {
  if (categoryIndex < 0 || static_cast<std::size_t>(categoryIndex) >= categories_.size()) {
    return Fail("No category is selected.");
  }
  const std::string& category = categories_[static_cast<std::size_t>(categoryIndex)].name;
  if (!CheckNames({&category, &name})) return false;
  const std::string path = ItemPath(category, name);
  struct stat st {};
  // unlink removes a linked item's link, never the file it points at.
  const bool ok =
      lstat(path.c_str(), &st) == 0 && !S_ISDIR(st.st_mode) && unlink(path.c_str()) == 0;
  return Done(ok, Quoted(path) + " could not be deleted.");
}

std::optional<PresetLibrary::Entry> PresetLibrary::NextItem(const std::string& category,
                                                            const std::string& name) const {
  if (flat_.empty()) return std::nullopt;
  const int at = FindEntry(category, name);
  if (at < 0) return flat_.front();
  return flat_[(static_cast<std::size_t>(at) + 1) % flat_.size()];
}

std::optional<PresetLibrary::Entry> PresetLibrary::PreviousItem(const std::string& category,
                                                                const std::string& name) const {
  if (flat_.empty()) return std::nullopt;
  const int at = FindEntry(category, name);
  if (at < 0) return flat_.front();
  return flat_[(static_cast<std::size_t>(at) + flat_.size() - 1) % flat_.size()];
}

std::string PresetLibrary::ItemPath(const std::string& category, const std::string& name) const {
  if (root_.empty() || !IsValidName(category) || !IsValidName(name)) return {};
  return CategoryPath(category) + "/" + name + "." + kind_.extension;
}

std::string PresetLibrary::CategoryPath(const std::string& category) const {
  return root_ + (root_.ends_with('/') ? "" : "/") + category;
}

bool PresetLibrary::CheckNames(std::initializer_list<const std::string*> names) {
  if (root_.empty()) return Fail("The library has no folder.");
  for (const std::string* name : names) {
    if (!IsValidName(*name)) {
      return Fail("The name " + Quoted(*name) +
                  " cannot be used: a name must not be empty, \".\" or \"..\", or contain \"/\".");
    }
  }
  return true;
}

bool PresetLibrary::Fail(std::string why) {
  lastError_ = std::move(why);
  return false;
}

bool PresetLibrary::Done(bool ok, std::string whyNot) {
  Rescan();
  if (ok) {
    lastError_.clear();
  } else {
    lastError_ = std::move(whyNot);
  }
  return ok;
}

int PresetLibrary::FindEntry(const std::string& category, const std::string& name) const {
  for (std::size_t i = 0; i < flat_.size(); ++i) {
    if (flat_[i].item == name && flat_[i].category == category) return static_cast<int>(i);
  }
  return -1;
}
