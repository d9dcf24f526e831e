#include "gdi_chart.h"

#include "gdi_canvas.h"

namespace chart {

bool DrawChart(Chart& chart, HDC target, int x, int y) {
  if (chart.Width() <= 0 || chart.Height() <= 0)
    return true;  // nothing to show
  GdiCanvas canvas(target, chart.Width(), chart.Height());
  if (!canvas.Valid())
    return false;
  chart.Paint(canvas);
  return canvas.CopyTo(target, x, y);
}

}  // namespace chart
