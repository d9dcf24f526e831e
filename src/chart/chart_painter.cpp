#include "chart_painter.h"

#include <algorithm>
#include <cmath>

#include "axis.h"
#include "chart.h"

namespace chart {

Font ChartPainter::LabelFont() {
  return Font{"Arial", 11, false, kBlack, 0};
}

std::string ChartPainter::LabelText(const Axis& axis, double value, int decimals) const {
  const LabelFormatter& format = chart_.Formatter();
  if (axis.DateTime())
    return format.date_time(value, axis.DateTimeFormat());
  return format.number(value, decimals);
}

std::vector<ChartPainter::Label> ChartPainter::Labels(const Axis& axis, double min_spacing) const {
  std::vector<Label> labels;
  int decimals = axis.LabelDecimals(min_spacing);
  for (double value : axis.LabelValues(min_spacing)) {
    int own = decimals;
    // Each power of ten of a logarithmic axis needs its own decimals: 0.01 two, 100 none.
    if (axis.Logarithmic()) {
      own = std::clamp(static_cast<int>(-std::floor(std::log10(value) + 1e-9)), 0, 10);
    }
    labels.push_back(Label{value, LabelText(axis, value, own)});
  }
  return labels;
}

int ChartPainter::WidestLabel(const Axis& axis, double min_spacing) const {
  int decimals = axis.LabelDecimals(min_spacing);
  int widest = 0;
  for (double value : {axis.ScaleMinimum(), axis.ScaleMaximum()}) {
    widest = std::max(widest, canvas_.TextExtent(LabelText(axis, value, decimals)).width);
  }
  return widest;
}

void ChartPainter::Paint() {
  const int width = chart_.Width();
  const int height = chart_.Height();
  const Margins& m = chart_.ChartMargins();
  canvas_.ClearClip();
  canvas_.FillRect(Rect{0, 0, width, height}, kChartBackground);
  chart_.AdjustAxes();

  Axis& left = chart_.LeftAxis();
  Axis& bottom = chart_.BottomAxis();
  canvas_.SetFont(LabelFont());
  const int text_height = canvas_.TextExtent("0").height;

  // Rows first: they do not depend on the label widths.
  Rect plot;
  plot.top = m.top + text_height / 2;
  plot.bottom = height - m.bottom - kTickLength - kGap - text_height - 1;
  if (!bottom.Title().empty())
    plot.bottom -= text_height + kGap;
  left.SetPixelSpan(plot.bottom, plot.top);
  const double row_spacing = text_height + 4;
  std::vector<Label> left_labels = Labels(left, row_spacing);

  int label_width = 0;
  for (const Label& label : left_labels) {
    label_width = std::max(label_width, canvas_.TextExtent(label.text).width);
  }
  plot.left = m.left + label_width + kGap + kTickLength;
  if (!left.Title().empty())
    plot.left += text_height + kGap;
  // The labels' width depends a little on the room they get: measure them on the widest plot.
  bottom.SetPixelSpan(plot.left, width - m.right - 1);
  const double column_spacing = WidestLabel(bottom, 50.0) + 8;
  // Room for half a label either side of the plot, where the first and last stand centred.
  const int half_label = static_cast<int>(column_spacing) / 2;
  plot.left = std::max(plot.left, m.left + half_label);
  plot.right = width - m.right - 1 - half_label;
  bottom.SetPixelSpan(plot.left, plot.right);
  chart_.plot_ = plot;
  if (plot.right <= plot.left || plot.bottom <= plot.top)
    return;

  DrawLeftAxis(left_labels, plot);
  DrawBottomAxis(Labels(bottom, column_spacing), plot);
  DrawSeries(plot);
}

void ChartPainter::DrawLeftAxis(const std::vector<Label>& labels, const Rect& plot) {
  const Axis& axis = chart_.LeftAxis();
  const int text_height = canvas_.TextExtent("0").height;
  for (const Label& label : labels) {
    int y = axis.ValueToPixelInt(label.value);
    canvas_.SetPen(Pen{kGray, 1, PenStyle::kDot});
    canvas_.Line(Point{plot.left, y}, Point{plot.right, y});
    canvas_.SetPen(Pen{kBlack, 1, PenStyle::kSolid});
    canvas_.Line(Point{plot.left - kTickLength, y}, Point{plot.left, y});
    int text_width = canvas_.TextExtent(label.text).width;
    canvas_.Text(plot.left - kTickLength - kGap - text_width, y - text_height / 2, label.text);
  }
  if (!axis.Title().empty()) {
    Font title = LabelFont();
    title.angle = 900;
    canvas_.SetFont(title);
    int title_width = canvas_.TextExtent(axis.Title()).width;
    canvas_.Text(chart_.ChartMargins().left, (plot.top + plot.bottom + title_width) / 2,
                 axis.Title());
    canvas_.SetFont(LabelFont());
  }
}

void ChartPainter::DrawBottomAxis(const std::vector<Label>& labels, const Rect& plot) {
  const Axis& axis = chart_.BottomAxis();
  const int text_height = canvas_.TextExtent("0").height;
  const int text_top = plot.bottom + kTickLength + kGap;
  for (const Label& label : labels) {
    int x = axis.ValueToPixelInt(label.value);
    canvas_.SetPen(Pen{kGray, 1, PenStyle::kDot});
    canvas_.Line(Point{x, plot.top}, Point{x, plot.bottom});
    canvas_.SetPen(Pen{kBlack, 1, PenStyle::kSolid});
    canvas_.Line(Point{x, plot.bottom}, Point{x, plot.bottom + kTickLength});
    int text_width = canvas_.TextExtent(label.text).width;
    canvas_.Text(x - text_width / 2, text_top, label.text);
  }
  if (!axis.Title().empty()) {
    int title_width = canvas_.TextExtent(axis.Title()).width;
    canvas_.Text((plot.left + plot.right - title_width) / 2, text_top + text_height + kGap,
                 axis.Title());
  }
  // The frame of the plot, over the grid.
  canvas_.SetPen(Pen{kBlack, 1, PenStyle::kSolid});
  canvas_.SetBrush(Brush{kWhite, true});
  canvas_.Rectangle(Rect{plot.left, plot.top, plot.right + 1, plot.bottom + 1});
}

void ChartPainter::DrawSeries(const Rect& plot) {
  const Axis& horizontal = chart_.BottomAxis();
  const Axis& vertical = chart_.LeftAxis();
  for (std::size_t i = 0; i < chart_.SeriesCount(); ++i) {
    Series& series = chart_.SeriesAt(i);
    if (!series.Active())
      continue;
    canvas_.SetClip(Rect{plot.left, plot.top, plot.right + 1, plot.bottom + 1});
    series.Draw(canvas_, horizontal, vertical);
    canvas_.ClearClip();
    if (!series.OnAfterDrawValues)
      continue;
    std::size_t first = 0;
    std::size_t last = 0;
    series.VisibleRange(horizontal.ScaleMinimum(), horizontal.ScaleMaximum(), &first, &last);
    if (first < last)
      series.OnAfterDrawValues(series);
  }
}

}  // namespace chart
