#include "persist/data_folders.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <mutex>
#include <vector>

namespace {

constexpr const char* kMakerAndProduct = "/Tarvenn Audio/Zelvane/";

std::string WithoutTrailingSlashes(std::string path) {
  while (!path.empty() && path.back() == '/') path.pop_back();
  return path;
}

std::string HomeFolder() {
  if (const char* home = std::getenv("HOME"); home != nullptr && home[0] == '/') return home;
  // HOME can be missing in daemons and sandboxes; the account still has one.
  long size = sysconf(_SC_GETPW_R_SIZE_MAX);
  std::vector<char> buffer(size > 0 ? static_cast<std::size_t>(size) : 16384);
  passwd entry{};
  passwd* found = nullptr;
  if (getpwuid_r(getuid(), &entry, buffer.data(), buffer.size(), &found) == 0 && found != nullptr &&
      found->pw_dir != nullptr && found->pw_dir[0] == '/') {
    return found->pw_dir;
  }
  return {};
}

bool IsFolder(const std::string& path) {
  struct stat st {};
  return stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

std::mutex gTableMutex;
bool gTableFilled = false;
DataFolders gTable;

}  // namespace

std::string GetAppDataFolder() {
  // A relative XDG_DATA_HOME is invalid and ignored, as the base directory
  // convention asks; it would otherwise depend on the host's working folder.
  if (const char* xdg = std::getenv("XDG_DATA_HOME"); xdg != nullptr && xdg[0] == '/') {
    return WithoutTrailingSlashes(xdg);
  }
  const std::string home = HomeFolder();
  if (home.empty()) return {};
  return WithoutTrailingSlashes(home) + "/.local/share";
}

DataFolders MakeDataFolders(const std::string& appDataFolder) {
  DataFolders f;
  f.root = WithoutTrailingSlashes(appDataFolder) + kMakerAndProduct;
  f.data = f.root + "Data/";
  f.images = f.data + "Images/";
  f.midiLearnFile = f.data + "MidiLearnMappings.dat";
  f.patches = f.root + "Patches";
  f.waveforms = f.root + "Waveforms";
  f.timeline = f.root + "Timeline";
  f.manual = f.root + "Zelvane 1.0 User Manual.pdf";
  return f;
}

DataFolders InitDataFolders() {
  DataFolders folders = MakeDataFolders(GetAppDataFolder());
  std::lock_guard lock(gTableMutex);
  gTable = folders;
  gTableFilled = true;
  return folders;
}

DataFolders CurrentDataFolders() {
  {
    std::lock_guard lock(gTableMutex);
    if (gTableFilled) return gTable;
  }
  return InitDataFolders();
}

std::string ManualPath() {
  return MakeDataFolders(GetAppDataFolder()).manual;
}

bool CreateFolderWithParents(const std::string& path) {
  if (path.empty()) return false;
  // Walk down from the outermost level, creating each one that is missing.
  std::size_t end = 0;
  while (end != std::string::npos) {
    end = path.find('/', end + 1);
    const std::string level = path.substr(0, end);
    if (level.empty() || level.back() == '/' || IsFolder(level)) continue;
    if (mkdir(level.c_str(), 0700) != 0 && !(errno == EEXIST && IsFolder(level))) return false;
  }
  return IsFolder(path);
}
