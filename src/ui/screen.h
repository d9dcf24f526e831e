// The primary screen's size in pixels, as window placement needs it.
#pragma once

#include "types.h"

namespace ui {

TSize ScreenSize();
// Replaces the platform's answer (tests); a size of 0 × 0 hands it back.
void SetScreenSizeOverride(TSize size);

}  // namespace ui
