#include "text_controls.h"

#include <algorithm>

#include "canvas.h"
#include "peer.h"

namespace ui {

TStringGrid::TStringGrid(TComponent* owner) : TControl(owner, ControlKind::StringGrid) {
  Resize();
}

void TStringGrid::Resize() {
  cells_.resize(static_cast<std::size_t>(rowCount_));
  for (auto& row : cells_)
    row.resize(static_cast<std::size_t>(colCount_));
  Changed(peer::kCells);
}

void TStringGrid::SetColCount(int count) {
  colCount_ = std::max(1, count);
  Resize();
}

void TStringGrid::SetRowCount(int count) {
  rowCount_ = std::max(1, count);
  Resize();
}

void TStringGrid::SetFixedRows(int count) {
  fixedRows_ = std::clamp(count, 0, rowCount_ - 1);
  Changed(peer::kCells);
}

void TStringGrid::SetFixedCols(int count) {
  fixedCols_ = std::clamp(count, 0, colCount_ - 1);
  Changed(peer::kCells);
}

void TStringGrid::SetDefaultColWidth(int width) {
  defaultColWidth_ = std::max(0, width);
  Changed(peer::kCells);
}

void TStringGrid::SetDefaultRowHeight(int height) {
  defaultRowHeight_ = std::max(0, height);
  Changed(peer::kCells);
}

std::string TStringGrid::Cell(int col, int row) const {
  if (col < 0 || row < 0 || col >= colCount_ || row >= rowCount_)
    return {};
  return cells_[static_cast<std::size_t>(row)][static_cast<std::size_t>(col)];
}

void TStringGrid::SetCell(int col, int row, const std::string& text) {
  if (col < 0 || row < 0 || col >= colCount_ || row >= rowCount_)
    return;
  cells_[static_cast<std::size_t>(row)][static_cast<std::size_t>(col)] = text;
  Changed(peer::kCells);
}

void TStringGrid::Draw(TCanvas& canvas) const {
  constexpr TColor kFixedFace = 0xC0C0C0;
  constexpr TColor kGridLine = 0x808080;
  TSize size = canvas.Size();
  canvas.SetBrush(clWhite);
  canvas.FillRect({0, 0, size.cx, size.cy});
  canvas.SetFont(Font());
  canvas.SetPen(kGridLine, 1, TPenStyle::psSolid);
  // Only the rows and columns that fit are drawn.
  for (int row = 0; row < rowCount_ && row * (defaultRowHeight_ + 1) < size.cy; ++row) {
    int y = row * (defaultRowHeight_ + 1);
    for (int col = 0; col < colCount_ && col * (defaultColWidth_ + 1) < size.cx; ++col) {
      int x = col * (defaultColWidth_ + 1);
      TRect cell{x, y, x + defaultColWidth_, y + defaultRowHeight_};
      if (row < fixedRows_ || col < fixedCols_) {
        canvas.SetBrush(kFixedFace);
        canvas.FillRect(cell);
      }
      canvas.PutText(x + 2, y + 1, Cell(col, row));
      canvas.MoveTo(cell.right, cell.top);
      canvas.LineTo(cell.right, cell.bottom);
      canvas.LineTo(cell.left - 1, cell.bottom);
    }
  }
}

void TMemo::AddLine(const std::string& line) {
  lines_.push_back(line);
  Changed(peer::kLines);
}

void TMemo::ClearLines() {
  lines_.clear();
  Changed(peer::kLines);
}

void TMemo::SetLines(const std::vector<std::string>& lines) {
  lines_ = lines;
  Changed(peer::kLines);
}

void TMemo::SetReadOnly(bool readOnly) {
  readOnly_ = readOnly;
  Changed(peer::kLines);
}

TStatusBar::TStatusBar(TComponent* owner) : TControl(owner, ControlKind::StatusBar) {
  SetAlign(TAlign::alBottom);
  SetBounds(0, 0, 0, 19);
}

void TStatusBar::AddPanel(int width) {
  panels_.push_back({std::string(), width});
  Changed(peer::kPanels);
}

void TStatusBar::SetPanelText(int index, const std::string& text) {
  if (index < 0 || index >= static_cast<int>(panels_.size()))
    return;
  panels_[static_cast<std::size_t>(index)].text = text;
  Changed(peer::kPanels);
}

std::string TStatusBar::PanelText(int index) const {
  if (index < 0 || index >= static_cast<int>(panels_.size()))
    return {};
  return panels_[static_cast<std::size_t>(index)].text;
}

}  // namespace ui
