// A chart shown in a custom-painted control of a form.
#pragma once

#include "chart.h"
#include "controls.h"

// Binds `chart` to `control` for the life of both: the control's painting draws the chart at the
// control's size (through GDI on Windows), its mouse and focus events reach the chart, the chart's
// requests to redraw reach the control, and axis labels use the user's locale.
void HostChart(ui::TPaintControl& control, chart::Chart& chart);

// Undoes HostChart: for a form's destructor, since the control outlives the chart member and
// destroying its window may still send it paint, focus or mouse events.
void UnhostChart(ui::TPaintControl& control, chart::Chart& chart);
