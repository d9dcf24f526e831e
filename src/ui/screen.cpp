#include "screen.h"

#include "peer.h"

namespace ui {
namespace {
TSize screenOverride;
}  // namespace

TSize ScreenSize() {
  if (screenOverride.cx > 0 && screenOverride.cy > 0)
    return screenOverride;
  return peer::ScreenSize();
}

void SetScreenSizeOverride(TSize size) {
  screenOverride = size;
}

}  // namespace ui
