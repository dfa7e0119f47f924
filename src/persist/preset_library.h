// A library of user files of one kind: the root's subfolders are the
// categories, the files with the kind's extension inside them the items.
// There is no index; the folder tree is the library, read again by Rescan
// after every change made through it.
//
// Every category or item name passed in must be a plain name (not empty,
// not "." or "..", no "/" and no zero byte), so that nothing is ever made,
// renamed or removed outside the root; other names fail without touching
// anything. Deleting never follows a symbolic link: a linked category or
// item loses only its link.
//
// Operations report by their result; lastError() says why the last one
// failed. The only message the library shows itself is the overwrite question.
// Thread: the user-interface thread (or the thread making the instrument).
#pragma once

#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "persist/streams.h"

using LibraryKind = FileKind;

LibraryKind WaveformLibraryKind();  // "wfm", "Waveform", 1.0
LibraryKind PatchLibraryKind();     // "zel", "ZelvanePatch", 1.0
LibraryKind TimelineLibraryKind();  // "ztl", "Timeline", 1.0

class PresetLibrary {
 public:
  struct Category {
    std::string name;
    std::vector<std::string> items;
  };
  struct Entry {
    std::string category;
    std::string item;
    bool operator==(const Entry&) const = default;
  };

  static constexpr std::string_view kUserSuffix = "(User)";

  // Stores both and rescans.
  void Init(std::string root, LibraryKind kind);
  // Stores both without reading the disk (an instance made while a host only
  // scans the plug-in touches no files); Rescan lists it later.
  void Configure(std::string root, LibraryKind kind);
  // Reads the categories and their items again, both sorted by name without
  // regard to case. A missing root gives an empty library.
  void Rescan();

  // Copies the kind into the reader and opens the item's file; the reader
  // checks the header. True when open.
  bool OpenForRead(const std::string& category, const std::string& name,
                   ParameterFileReader& reader);
  // Saves as name + "(User)" unless it already ends so; asks before
  // replacing a file, creates missing folders, writes the header. True when
  // open with the header written. The caller writes the body, rescans, closes.
  bool OpenForWrite(const std::string& category, const std::string& name,
                    ParameterFileWriter& writer);

  // Each rescans and answers whether it succeeded. Creating an existing
  // category and renaming onto an existing name fail.
  bool CreateCategory(const std::string& name);
  bool RenameCategory(const std::string& oldName, const std::string& newName);
  // True when the category folder is gone afterwards.
  bool DeleteCategory(const std::string& name);
  // The new name is taken as given: no "(User)" is added.
  bool RenameItem(const std::string& category, const std::string& oldName,
                  const std::string& newName);
  // The category by its position in categories(), as the lists report it.
  bool DeleteItem(int categoryIndex, const std::string& name);

  // The entry after or before (category, name) in the flat list, wrapping at
  // both ends; the first entry when the pair is not listed; none when the
  // library is empty.
  std::optional<Entry> NextItem(const std::string& category, const std::string& name) const;
  std::optional<Entry> PreviousItem(const std::string& category, const std::string& name) const;

  // root + "/" + category + "/" + name + "." + extension, or empty when a
  // name is not acceptable.
  std::string ItemPath(const std::string& category, const std::string& name) const;
  static bool IsValidName(std::string_view name);

  const std::string& root() const { return root_; }
  const LibraryKind& kind() const { return kind_; }
  const std::vector<Category>& categories() const { return categories_; }
  // Every (category, item) pair in listing order.
  const std::vector<Entry>& flatList() const { return flat_; }
  const std::string& lastError() const { return lastError_; }
  // True when the last OpenForWrite failed because the user kept the file.
  bool declined() const { return declined_; }

 private:
  std::string CategoryPath(const std::string& category) const;
  bool CheckNames(std::initializer_list<const std::string*> names);
  bool Fail(std::string why);
  bool Done(bool ok, std::string whyNot);
  int FindEntry(const std::string& category, const std::string& name) const;

  std::string root_;
  LibraryKind kind_;
  std::vector<Category> categories_;
  std::vector<Entry> flat_;
  std::string lastError_;
  bool declined_ = false;
};
