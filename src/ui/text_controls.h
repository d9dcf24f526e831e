// Controls that show texts: the string grid, the read-only memo and the status bar.
#pragma once

#include <string>
#include <vector>

#include "component.h"

namespace ui {

// A table of texts, never edited by the user. Row 0 is the header when FixedRows is 1.
class TStringGrid : public TControl {
 public:
  explicit TStringGrid(TComponent* owner);
  int ColCount() const { return colCount_; }
  int RowCount() const { return rowCount_; }
  void SetColCount(int count);
  void SetRowCount(int count);
  int FixedRows() const { return fixedRows_; }
  void SetFixedRows(int count);
  int FixedCols() const { return fixedCols_; }
  void SetFixedCols(int count);
  int DefaultColWidth() const { return defaultColWidth_; }
  void SetDefaultColWidth(int width);
  int DefaultRowHeight() const { return defaultRowHeight_; }
  void SetDefaultRowHeight(int height);
  // A cell outside the grid reads empty and takes no text.
  std::string Cell(int col, int row) const;
  void SetCell(int col, int row, const std::string& text);

  // Draws the grid; the window's painting and tests share it.
  void Draw(TCanvas& canvas) const;

 private:
  void Resize();

  int colCount_ = 5;
  int rowCount_ = 5;
  int fixedRows_ = 1;
  int fixedCols_ = 1;
  int defaultColWidth_ = 64;
  int defaultRowHeight_ = 24;
  std::vector<std::vector<std::string>> cells_;  // [row][col]
};

class TMemo : public TControl {
 public:
  explicit TMemo(TComponent* owner) : TControl(owner, ControlKind::Memo) {}
  const std::vector<std::string>& Lines() const { return lines_; }
  void AddLine(const std::string& line);
  void ClearLines();
  void SetLines(const std::vector<std::string>& lines);
  // The user cannot edit a read-only memo; the program still writes it.
  bool ReadOnly() const { return readOnly_; }
  void SetReadOnly(bool readOnly);

 private:
  std::vector<std::string> lines_;
  bool readOnly_ = true;
};

struct TStatusPanel {
  std::string text;
  int width = 50;
};

class TStatusBar : public TControl {
 public:
  explicit TStatusBar(TComponent* owner);
  const std::vector<TStatusPanel>& Panels() const { return panels_; }
  void AddPanel(int width);
  // A panel that does not exist takes no text.
  void SetPanelText(int index, const std::string& text);
  std::string PanelText(int index) const;

 private:
  std::vector<TStatusPanel> panels_;
};

}  // namespace ui
