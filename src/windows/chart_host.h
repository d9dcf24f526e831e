// A chart shown in a custom-painted control of a form.
#pragma once

#include "chart.h"
#include "controls.h"

// Binds `chart` to `control` for the life of both: the control's painting draws the chart at the
// control's size (through GDI on Windows), its mouse and focus events reach the chart, the chart's
// requests to redraw reach the control, and axis labels use the user's locale.
void HostChart(ui::TPaintControl& control, chart::Chart& chart);
