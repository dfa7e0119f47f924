#include "gui/file_open_dialog.h"

#include <algorithm>
#include <cstdlib>
#include <system_error>

#include "gui/folder_listing.h"
#include "gui/text_metrics.h"
#include "platform/file_chooser.h"

namespace gui {
namespace fs = std::filesystem;
namespace {

// "~" and "~/..." are the home folder, as in a shell.
std::string ExpandHome(const std::string& typed) {
  if (typed.empty() || typed[0] != '~' || (typed.size() > 1 && typed[1] != '/')) return typed;
  const char* home = std::getenv("HOME");
  if (home == nullptr || *home == '\0') return typed;
  return std::string(home) + typed.substr(1);
}

}  // namespace

FileOpenDialog::FileOpenDialog(std::string title, const std::string& startFolder,
                               const std::string& pattern)
    : title_(PrintableText(title)), pattern_(pattern), folder_(StartingFolder(startFolder)) {}

void FileOpenDialog::Create(Window& owner) {
  // Centred over the editor, whichever of its windows owns the dialog.
  int cx = 0, cy = 0;
  if (TopLevel* top = owner.topLevel()) {
    const Window& editor = top->root();
    const Point centre = editor.ClientToScreen({editor.width / 2, editor.height / 2});
    cx = centre.x;
    cy = centre.y;
  }
  Frame::Create(&owner, std::max(cx - kWidth / 2, 0), std::max(cy - kHeight / 2, 0), kWidth,
                kHeight);
  draggable = true;

  const int inner = kWidth - 2 * kMargin;
  list_.Create(this, kMargin, kListTop, inner, kListRows, this);
  field_.Create(this, kMargin, kFieldTop, inner, kFieldHeight, kMaxTyped, this, 0);
  const int cancelX = kWidth - kMargin - kButtonWidth;
  open_.Create(this, cancelX - 10 - kButtonWidth, kButtonTop, kButtonWidth, kButtonHeight, "Open",
               this, kOpenButton);
  cancel_.Create(this, cancelX, kButtonTop, kButtonWidth, kButtonHeight, "Cancel", this,
                 kCancelButton);
  ShowFolder(folder_);
  // Typing and Return, Escape reach the field wherever the mouse is.
  field_.SetFocus();
}

void FileOpenDialog::ShowFolder(const fs::path& folder) {
  FolderListing listing = ListFolder(folder, pattern_);
  folder_ = listing.folder;
  list_.SetEntries(std::move(listing.entries));
  shownPath_ = FittedPath();
  fieldEntry_.reset();
  field_.SetText("");
  SetStatus(listing.readable ? "" : kUnreadable);
}

void FileOpenDialog::SetStatus(std::string text) {
  status_ = std::move(text);
  Repaint();
}

void FileOpenDialog::Open(const fs::path& path) {
  std::error_code ec;
  const fs::file_status status = fs::status(path, ec);
  if (fs::is_regular_file(status)) {
    chosen_ = path.string();
    EndModal();
  } else {
    // Only a name that is not there is "not found"; a folder on the way
    // that cannot be searched, or a device, is there but cannot be opened.
    const bool missing = !fs::exists(status) && (!ec || ec == std::errc::no_such_file_or_directory);
    SetStatus(missing ? kNotFound : kNotAFile);
  }
}

void FileOpenDialog::Submit() {
  const std::string text = field_.text();
  if (text.empty()) return;
  if (fieldEntry_ && text == fieldEntry_->label) {
    const FolderEntry entry = *fieldEntry_;
    if (entry.kind == FolderEntry::kParent) {
      ShowFolder(folder_.parent_path());
    } else if (entry.kind == FolderEntry::kFolder) {
      ShowFolder(folder_ / entry.name);
    } else {
      Open(folder_ / entry.name);
      // Gone since it was listed: show what is there now.
      if (!chosen_) {
        const std::string why = status_;
        ShowFolder(folder_);
        SetStatus(why);
      }
    }
    return;
  }
  const fs::path full = AbsoluteFrom(folder_, ExpandHome(text));
  std::error_code ec;
  if (fs::is_directory(full, ec)) {
    ShowFolder(full);
  } else {
    Open(full);
  }
}

void FileOpenDialog::Cancel() {
  chosen_.reset();
  EndModal();
}

void FileOpenDialog::RowSelected(int row) {
  if (row < 0) return;
  fieldEntry_ = list_.entries()[static_cast<std::size_t>(row)];
  field_.SetText(fieldEntry_->label);
}

void FileOpenDialog::RowActivated(int row) {
  RowSelected(row);
  Submit();
}

void FileOpenDialog::ButtonClicked(int id) {
  if (id == kOpenButton) {
    Submit();
  } else {
    Cancel();
  }
}

void FileOpenDialog::TextEntered(int /*id*/) {
  Submit();
}
void FileOpenDialog::TextCancelled(int /*id*/) {
  Cancel();
}
void FileOpenDialog::OnClose() {
  Cancel();
}

void FileOpenDialog::OnKey(const platform::KeyEvent& key) {
  if (key.key == platform::KeyEvent::kReturn) {
    Submit();
  } else if (key.key == platform::KeyEvent::kEscape) {
    Cancel();
  }
}

std::string FileOpenDialog::FittedPath() const {
  const std::string text = PrintableText(folder_.string());
  const int room = kWidth - 2 * kMargin;
  if (MeasureTextWidth(text) <= room) return text;
  // The end of the path matters most: cut at the left, at the fewest
  // characters that make it fit.
  std::vector<std::size_t> starts;
  for (std::size_t i = 0; i < text.size();
       i += Utf8SequenceLength(static_cast<unsigned char>(text[i]))) {
    starts.push_back(i);
  }
  std::size_t lo = 0, hi = starts.size();
  while (lo < hi) {
    const std::size_t mid = (lo + hi) / 2;
    if (MeasureTextWidth("..." + text.substr(starts[mid])) <= room) {
      hi = mid;
    } else {
      lo = mid + 1;
    }
  }
  return lo < starts.size() ? "..." + text.substr(starts[lo]) : "...";
}

void FileOpenDialog::Paint(GraphicsContext& g) {
  dialog_chrome::Paint(g, width, height, title_);
  g.SetColour(200, 200, 200, 1, 255);
  g.DrawString(shownPath_, kMargin, kPathTop);
  if (!status_.empty()) {
    g.SetColour(235, 175, 90, 1, 255);
    g.DrawString(status_, kMargin, kStatusTop);
  }
}

std::optional<std::string> ChooseFileToOpen(Window& owner, const std::string& title,
                                            const std::string& startFolder,
                                            const std::string& pattern) {
  const platform::Platform* shownOn = owner.platform();
  if (shownOn == nullptr) return std::nullopt;
  if (shownOn->name() == "x11" && platform::DesktopFileChooserAvailable()) {
    // It opens where this dialog would, not at a folder that is gone.
    const std::optional<std::string> answer =
        platform::ChooseFileWithDesktop(title, StartingFolder(startFolder).string(), pattern);
    // Whatever the program printed, only an existing file is an answer.
    return answer ? ExistingRegularFile(*answer) : std::nullopt;
  }
  FileOpenDialog dialog(title, startFolder, pattern);
  // A dialog over a dialog that is itself modal must leave the editor
  // disabled when it ends, as the other dialog wants it.
  TopLevel* ownerTop = owner.topLevel();
  const bool wasEnabled = ownerTop->enabled();
  dialog.Create(owner);
  dialog.RunModal();
  ownerTop->SetEnabled(wasEnabled);
  // Checked again: the file may have gone while the dialog ended.
  return dialog.chosen() ? ExistingRegularFile(*dialog.chosen()) : std::nullopt;
}

}  // namespace gui
