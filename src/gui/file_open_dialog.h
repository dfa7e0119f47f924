// The editor's own file-open dialog, for desktops without a chooser
// program: a modal frame centred over the editor with a title line, the
// folder shown, its entries in a scrolling list, a name field and Open and
// Cancel. A click selects a row, a double click enters a folder or chooses
// a file; Return (or Open) enters a typed folder or chooses a typed file,
// relative to the folder shown or absolute. Escape, Cancel and the window
// manager's close answer nothing.
// Thread: user-interface thread.
#pragma once

#include <filesystem>
#include <optional>
#include <string>

#include "gui/controls/simple_text_button.h"
#include "gui/dialog_chrome.h"
#include "gui/file_list_view.h"
#include "gui/file_pattern.h"
#include "gui/frame.h"
#include "gui/text_field.h"

namespace gui {

class FileOpenDialog : public Frame,
                       public ButtonListener,
                       public TextFieldListener,
                       public FileListListener {
 public:
  static constexpr int kWidth = 440;
  static constexpr int kMargin = dialog_chrome::kMargin;
  static constexpr int kTitleHeight = dialog_chrome::kTitleHeight;
  static constexpr int kPathTop = 28;
  static constexpr int kListTop = 48;
  static constexpr int kListRows = 14;
  static constexpr int kStatusTop = kListTop + kListRows * FileListView::kRowHeight + 4;
  static constexpr int kFieldTop = kStatusTop + 20;
  static constexpr int kFieldHeight = 20;
  static constexpr int kButtonTop = kFieldTop + kFieldHeight + 10;
  static constexpr int kButtonWidth = 72;
  static constexpr int kButtonHeight = 22;
  static constexpr int kHeight = kButtonTop + kButtonHeight + kMargin;
  static constexpr std::size_t kMaxTyped = 4096;
  enum ButtonId { kOpenButton = 0, kCancelButton = 1 };

  static constexpr const char* kUnreadable = "This folder cannot be read.";
  static constexpr const char* kNotFound = "There is no such file or folder.";
  static constexpr const char* kNotAFile = "This is not a file that can be opened.";

  // startFolder: where it opens (see StartingFolder); pattern: globs
  // separated by spaces, empty for every file.
  FileOpenDialog(std::string title, const std::string& startFolder, const std::string& pattern);

  using Frame::Create;
  // Centred over owner's top-level window.
  void Create(Window& owner);

  // Lists a folder (absolute) and shows it.
  void ShowFolder(const std::filesystem::path& folder);
  // The typed text, or the selected row's name: a folder is entered, a
  // file chosen.
  void Submit();

  const std::optional<std::string>& chosen() const { return chosen_; }
  const std::filesystem::path& folder() const { return folder_; }
  const std::string& status() const { return status_; }
  // The folder as the line at the top shows it.
  const std::string& shownPath() const { return shownPath_; }
  const std::string& title() const { return title_; }
  FileListView& list() { return list_; }
  TextField& nameField() { return field_; }
  SimpleTextButton& openButton() { return open_; }
  SimpleTextButton& cancelButton() { return cancel_; }

  void Paint(GraphicsContext& g) override;
  void OnKey(const platform::KeyEvent& key) override;
  void OnClose() override;
  void ButtonClicked(int id) override;
  void TextEntered(int id) override;
  void TextCancelled(int id) override;
  void RowSelected(int row) override;
  void RowActivated(int row) override;

 private:
  void Cancel();
  void Open(const std::filesystem::path& path);
  void SetStatus(std::string text);
  // The folder's path cut at the left to fit the width.
  std::string FittedPath() const;

  std::string title_;
  FilePattern pattern_;
  std::filesystem::path folder_;
  std::optional<std::string> chosen_;
  std::string status_;
  std::string shownPath_;
  // The row whose name the field holds, while it still does: names on disk
  // may hold bytes the field cannot show.
  std::optional<FolderEntry> fieldEntry_;
  FileListView list_;
  TextField field_;
  SimpleTextButton open_, cancel_;
};

// Asks the user for a file to open: the desktop's chooser when the editor
// is on a display and a chooser program exists, otherwise FileOpenDialog
// over owner's editor. Answers the absolute path of an existing regular
// file, or none (cancelled, or nowhere to ask).
std::optional<std::string> ChooseFileToOpen(Window& owner, const std::string& title,
                                            const std::string& startFolder,
                                            const std::string& pattern);

}  // namespace gui
