#include "chart_host.h"

#include "canvas.h"
#include "format.h"
#include "label_format.h"

#if defined(_WIN32)
#include <windows.h>

#include "gdi_chart.h"
#endif

void HostChart(ui::TPaintControl& control, chart::Chart& chart) {
  chart.SetLabelFormatter(chart::LabelFormatter{
      [](double value, int decimals) { return ui::FormatFixed(value, decimals); },
      [](double dateTime, const std::string& format) {
        return ui::FormatDateTime(format, dateTime);
      }});
  control.OnPaint = [&chart](ui::TObject*, ui::TCanvas& canvas) {
    const ui::TSize size = canvas.Size();
    chart.SetBounds(chart::Rect{0, 0, size.cx, size.cy});
#if defined(_WIN32)
    if (void* dc = canvas.NativeContext())
      chart::DrawChart(chart, static_cast<HDC>(dc));
#endif
  };
  control.OnMouseMove = [&chart](ui::TObject*, int x, int y) { chart.MouseMove(x, y); };
  control.OnEnter = [&chart](ui::TObject*) { chart.FocusEnter(); };
  control.OnExit = [&chart](ui::TObject*) { chart.FocusExit(); };
  chart.on_invalidate = [&control] { control.Invalidate(); };
  chart.on_repaint = [&control] { control.Repaint(); };
}

void UnhostChart(ui::TPaintControl& control, chart::Chart& chart) {
  control.OnPaint = nullptr;
  control.OnMouseMove = nullptr;
  control.OnEnter = nullptr;
  control.OnExit = nullptr;
  chart.on_invalidate = nullptr;
  chart.on_repaint = nullptr;
}
