#include "gui/file_list_view.h"

#include <algorithm>
#include <cmath>

namespace gui {

FileListView::FileListView() : firstRow_("First row", 0.0f, 0.0f, Parameter::kInteger) {}

FileListView::~FileListView() {
  UnbindAllAndWait();
}

void FileListView::Create(Window* parent, int px, int py, int w, int rows,
                          FileListListener* rowListener) {
  rows_ = std::max(rows, 1);
  listener_ = rowListener;
  Window::Create(parent, w, rows_ * kRowHeight, px, py);
  bar_.Create(this, w - ZScrollBar::kWidth, height);
  bar_.Bind(&firstRow_);
  Bind(&firstRow_);
}

int FileListView::Overflow() const {
  return std::max(static_cast<int>(entries_.size()) - rows_, 0);
}

int FileListView::firstRow() const {
  const float v = firstRow_.GetValue();
  if (!std::isfinite(v)) return 0;
  return std::clamp(static_cast<int>(v), 0, Overflow());
}

void FileListView::SetEntries(std::vector<FolderEntry> entries) {
  entries_ = std::move(entries);
  selected_ = -1;
  // A range of no length leaves the bar's thumb at the top.
  firstRow_.SetRange(0.0f, static_cast<float>(Overflow()));
  firstRow_.SetValue(0.0f);
  Repaint();
}

void FileListView::Select(int row) {
  selected_ = row >= 0 && row < static_cast<int>(entries_.size()) ? row : -1;
  Repaint();
}

void FileListView::ScrollTo(int first) {
  firstRow_.SetValue(static_cast<float>(std::clamp(first, 0, Overflow())));
}

int FileListView::RowAt(int px, int py) const {
  if (px < 0 || px >= rowsWidth() || py < 0 || py >= height) return -1;
  const int row = firstRow() + py / kRowHeight;
  return row < static_cast<int>(entries_.size()) ? row : -1;
}

void FileListView::OnLeftDown(int px, int py) {
  const int row = RowAt(px, py);
  Select(row);
  if (listener_ != nullptr) listener_->RowSelected(selected_);
}

void FileListView::OnLeftDoubleClick(int px, int py) {
  const int row = RowAt(px, py);
  // The first press selected the row; a second press on another (the list
  // moved in between) only selects that one.
  if (row < 0 || row != selected_) {
    OnLeftDown(px, py);
    return;
  }
  if (listener_ != nullptr) listener_->RowActivated(row);
}

void FileListView::OnMouseWheel(int delta, int /*x*/, int /*y*/) {
  // Whole notches only; a fine-grained wheel rounds towards nothing.
  const int notches = delta / 120;
  if (notches != 0) ScrollTo(firstRow() + notches * kRowsPerNotch);
}

void FileListView::ParameterChanged(float /*value*/, Parameter* /*which*/) {
  Repaint();
}

void FileListView::PaintScrollTrack(GraphicsContext& g) {
  const int x0 = rowsWidth();
  g.SetColour(60, 60, 60, 1, 255);
  g.FillRect(x0, 0, ZScrollBar::kWidth, height);
  // The bar draws only its thumb; the arrows are drawn here, as the skin
  // would behind a list.
  g.SetColour(150, 150, 150, 1, 255);
  const int mid = x0 + ZScrollBar::kWidth / 2;
  for (int i = 0; i < 4; ++i) {
    const int top = ZScrollBar::kArrowHeight / 2 - 2 + i;
    g.FillRect(mid - i - 1, top, 2 * i + 2, 1);
    g.FillRect(mid - i - 1, height - 1 - top, 2 * i + 2, 1);
  }
}

void FileListView::Paint(GraphicsContext& g) {
  g.SetColour(35, 35, 35, 1, 255);
  g.FillRect(0, 0, rowsWidth(), height);
  PaintScrollTrack(g);

  g.SetFont(8);
  cairo_t* cr = g.cairo();
  cairo_save(cr);
  cairo_rectangle(cr, 0, 0, std::max(rowsWidth(), 0), height);
  cairo_clip(cr);
  const int textTop = (kRowHeight - g.TextHeight()) / 2;
  const int first = firstRow();
  const int last = std::min(first + rows_, static_cast<int>(entries_.size()));
  for (int row = first; row < last; ++row) {
    const int y0 = (row - first) * kRowHeight;
    const FolderEntry& e = entries_[static_cast<std::size_t>(row)];
    if (row == selected_) {
      g.SetColour(70, 100, 160, 1, 255);
      g.FillRect(0, y0, rowsWidth(), kRowHeight);
    }
    if (e.kind == FolderEntry::kFile) {
      g.SetColour(225, 225, 225, 1, 255);
      g.DrawString(e.label, kTextInset, y0 + textTop);
    } else {
      g.SetColour(170, 200, 255, 1, 255);
      g.DrawString(e.kind == FolderEntry::kParent ? e.label : e.label + "/", kTextInset,
                   y0 + textTop);
    }
  }
  cairo_restore(cr);
}

}  // namespace gui
