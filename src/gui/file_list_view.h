// The rows of a file-open dialog: one folder's entries, a row at a time
// selected by a click and activated by a double click, scrolled by the
// wheel or the scroll bar at its right edge (the bar edits the first row
// shown through a parameter of the view's own).
// Thread: user-interface thread; ParameterChanged on any (it only repaints).
#pragma once

#include <vector>

#include "gui/controls/parameter_controller_window.h"
#include "gui/controls/zscroll_bar.h"
#include "gui/folder_listing.h"
#include "params/parameter.h"

namespace gui {

class FileListListener {
 public:
  virtual ~FileListListener() = default;
  virtual void RowSelected(int row) = 0;
  virtual void RowActivated(int row) = 0;
};

class FileListView : public ParameterControllerWindow {
 public:
  static constexpr int kRowHeight = 16;
  static constexpr int kTextInset = 6;
  static constexpr int kRowsPerNotch = 3;

  FileListView();
  ~FileListView() override;

  using Window::Create;
  void Create(Window* parent, int x, int y, int w, int rows, FileListListener* rowListener);

  // Shows new entries from the top, nothing selected.
  void SetEntries(std::vector<FolderEntry> entries);
  const std::vector<FolderEntry>& entries() const { return entries_; }
  // -1 for none.
  int selected() const { return selected_; }
  void Select(int row);
  int firstRow() const;
  int visibleRows() const { return rows_; }
  // Clamped to the rows there are.
  void ScrollTo(int first);
  // The entry under a point of the view, -1 for none.
  int RowAt(int x, int y) const;
  ZScrollBar& scrollBar() { return bar_; }
  int rowsWidth() const { return width - ZScrollBar::kWidth; }

  void Paint(GraphicsContext& g) override;
  void OnLeftDown(int x, int y) override;
  void OnLeftDoubleClick(int x, int y) override;
  void OnMouseWheel(int delta, int x, int y) override;
  void ParameterChanged(float value, Parameter* which) override;

 private:
  int Overflow() const;
  void PaintScrollTrack(GraphicsContext& g);

  std::vector<FolderEntry> entries_;
  int selected_ = -1;
  int rows_ = 1;
  FileListListener* listener_ = nullptr;
  // Declared before the bar: the bar unbinds from it first.
  Parameter firstRow_;
  ZScrollBar bar_;
};

}  // namespace gui
