// What our own windows draw: each control's picture made from the model in a back buffer and put
// on the window in one copy, by its paint, by a print, or at once for a label that changed.
#include <windows.h>

#include "back_buffer.h"
#include "backend.h"
#include "controls.h"
#include "gdi_canvas.h"
#include "text_controls.h"

namespace ui::win32 {
namespace {

// The text goes where the label's box lies: while the label changes, its window may still span
// the box it leaves as well (the model's box is the label's, the window's the room it draws in).
void DrawLabel(const TLabel& label, GdiCanvas& canvas, HWND window) {
  const RECT room = RectInParent(window);
  const TSize extent = canvas.TextExtent(label.Caption());
  int left = label.Left() - room.left;
  if (label.Alignment() == TAlignment::taRightJustify)
    left += label.Width() - extent.cx;
  else if (label.Alignment() == TAlignment::taCenter)
    left += (label.Width() - extent.cx) / 2;
  canvas.PutText(left, label.Top() - room.top, label.Caption());
}

// A label spanning the box it leaves draws its background there, but never over another control
// that lies in that room; within its own box it draws as always.
void ClipSiblings(const TControl& label, HWND window, HDC dc) {
  const RECT room = RectInParent(window);
  const TRect b = label.BoundsRect();
  if (room.left == b.left && room.top == b.top && room.right == b.right && room.bottom == b.bottom)
    return;
  // The room outside the box, as bands above, below, left and right of it.
  const RECT bands[] = {{room.left, room.top, room.right, b.top},
                        {room.left, b.bottom, room.right, room.bottom},
                        {room.left, b.top, b.left, b.bottom},
                        {b.right, b.top, room.right, b.bottom}};
  for (HWND sibling = ::GetWindow(window, GW_HWNDFIRST); sibling;
       sibling = ::GetWindow(sibling, GW_HWNDNEXT)) {
    if (sibling == window || !::IsWindowVisible(sibling))
      continue;
    const RECT other = RectInParent(sibling);
    for (const RECT& band : bands) {
      RECT cut;
      if (::IntersectRect(&cut, &band, &other))
        ::ExcludeClipRect(dc, cut.left - room.left, cut.top - room.top, cut.right - room.left,
                          cut.bottom - room.top);
    }
  }
}

}  // namespace

// Draws what the model says into a back buffer, then copies it onto dc in one go: whatever of
// the window reaches the screen meanwhile, it is never half drawn.
void DrawControl(TControl& control, HWND window, HDC dc) {
  RECT client;
  ::GetClientRect(window, &client);
  BackBuffer buffer(client.right, client.bottom);
  HDC memory = buffer.Dc();
  {
    GdiCanvas canvas(memory, {client.right, client.bottom});
    canvas.SetBrush(control.Color());
    canvas.FillRect({0, 0, client.right, client.bottom});
    canvas.SetFont(control.Font());
    switch (control.Kind()) {
      case ControlKind::PaintBox:
        static_cast<TPaintControl&>(control).Paint(canvas);
        break;
      case ControlKind::StringGrid:
        static_cast<TStringGrid&>(control).Draw(canvas);
        break;
      case ControlKind::Label:
        DrawLabel(static_cast<TLabel&>(control), canvas, window);
        break;
      case ControlKind::GroupBox:
      case ControlKind::RadioGroup: {
        RECT frame{0, 6, client.right, client.bottom};
        ::DrawEdge(memory, &frame, EDGE_ETCHED, BF_RECT);
        if (!control.Caption().empty()) {
          TSize extent = canvas.TextExtent(control.Caption());
          canvas.FillRect({6, 0, 10 + extent.cx, extent.cy});
          canvas.PutText(8, 0, control.Caption());
        }
        break;
      }
      case ControlKind::Panel:
        if (static_cast<TPanel&>(control).Bevel())
          ::DrawEdge(memory, &client, BDR_RAISEDINNER, BF_RECT);
        break;
      default:
        break;
    }
  }
  ::BitBlt(dc, 0, 0, client.right, client.bottom, memory, 0, 0, SRCCOPY);
}

void PaintControl(TControl& control, HWND window, HDC dc) {
  if (control.Kind() == ControlKind::Label)
    ClipSiblings(control, window, dc);
  DrawControl(control, window, dc);
}

void DrawLabelNow(TControl& label) {
  HWND window = static_cast<HWND>(label.Handle());
  HDC dc = ::GetDC(window);
  PaintControl(label, window, dc);
  ::ReleaseDC(window, dc);
  // All of it is drawn: nothing waits for a paint.
  ::ValidateRect(window, nullptr);
}

}  // namespace ui::win32
