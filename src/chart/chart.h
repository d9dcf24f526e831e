// A two-dimensional chart without title or legend: a left and a bottom axis, its series, margins,
// a pop-up menu for the host to show, focus and mouse events, and the painting entry. The form
// control that hosts it forwards the window's mouse and focus messages and paints it.
#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <vector>

#include "axis.h"
#include "canvas.h"
#include "geometry.h"
#include "label_format.h"
#include "series.h"

namespace chart {

struct Margins {
  int left = 1;
  int top = 1;
  int right = 1;
  int bottom = 1;
};

class Chart {
 public:
  Chart();
  Chart(const Chart&) = delete;
  Chart& operator=(const Chart&) = delete;

  Axis& LeftAxis() { return left_axis_; }
  Axis& BottomAxis() { return bottom_axis_; }
  const Axis& LeftAxis() const { return left_axis_; }
  const Axis& BottomAxis() const { return bottom_axis_; }

  // The chart owns its series; they are drawn in the order added, on the left and bottom axes.
  template <class S>
  S& AddSeries() {
    auto series = std::make_unique<S>();
    S& added = *series;
    added.SetParentChart(this);
    series_.push_back(std::move(series));
    Invalidate();
    return added;
  }
  std::size_t SeriesCount() const { return series_.size(); }
  Series& SeriesAt(std::size_t index) { return *series_[index]; }
  const Series& SeriesAt(std::size_t index) const { return *series_[index]; }

  // Position and size in the hosting window; painting and the events use the chart's own
  // pixels, 0, 0 at its top left corner.
  const Rect& Bounds() const { return bounds_; }
  void SetBounds(const Rect& bounds);
  int Width() const { return bounds_.Width(); }
  int Height() const { return bounds_.Height(); }
  const Margins& ChartMargins() const { return margins_; }
  void SetMargins(const Margins& margins);

  const LabelFormatter& Formatter() const { return formatter_; }
  // Missing functions fall back to the defaults.
  void SetLabelFormatter(const LabelFormatter& formatter);

  // The pop-up menu the host shows on a right click; the chart does not look into it.
  void* PopupMenu() const { return popup_menu_; }
  void SetPopupMenu(void* menu) { popup_menu_ = menu; }

  std::function<void()> OnEnter;
  std::function<void()> OnExit;
  std::function<void(int x, int y)> OnMouseMove;

  // What the host calls on the matching window messages.
  void MouseMove(int x, int y);
  void FocusEnter();
  void FocusExit();
  bool Focused() const { return focused_; }

  // Set by the host: mark the chart for painting, and paint it at once.
  std::function<void()> on_invalidate;
  std::function<void()> on_repaint;
  // Every change of an axis or a series asks for a paint; none during painting.
  void Invalidate();
  // Paints at once through the host, as the cursor needs; nothing while already painting.
  void Repaint();

  // Fits the axes with an automatic range to the active series; the painter does it first.
  void AdjustAxes();
  // Lays out and draws the whole chart onto the canvas, at 0, 0.
  void Paint(Canvas& canvas);
  bool Painting() const { return canvas_ != nullptr; }
  // The canvas being painted: for the after-draw handlers of the series, nullptr otherwise.
  Canvas* PaintCanvas() const { return canvas_; }
  // The plot area of the last paint, in the chart's pixels.
  const Rect& PlotRect() const { return plot_; }

 private:
  friend class ChartPainter;

  Axis left_axis_{true};
  Axis bottom_axis_{false};
  std::vector<std::unique_ptr<Series>> series_;
  Rect bounds_;
  Margins margins_;
  LabelFormatter formatter_;
  void* popup_menu_ = nullptr;
  bool focused_ = false;
  Canvas* canvas_ = nullptr;
  Rect plot_;
};

}  // namespace chart
