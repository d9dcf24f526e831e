#include "resident_placement.h"

#include <cstdlib>

#include "screen.h"
#include "settings.h"

namespace {

// |value| mod size; a screen that reports no size leaves the magnitude as it is.
int ScreenModulo(int64_t value, int size) {
  const int64_t magnitude = std::llabs(value);
  return static_cast<int>(size > 0 ? magnitude % size : magnitude);
}

}  // namespace

ui::TRect ResidentWindowRect(int32_t x, int32_t y, int32_t w, int32_t h, ui::TSize screen) {
  ui::TRect r;
  r.left = ScreenModulo(x, screen.cx);
  r.top = ScreenModulo(y, screen.cy);
  r.right = ScreenModulo(std::llabs(static_cast<int64_t>(w)) + r.left, screen.cx);
  r.bottom = ScreenModulo(std::llabs(static_cast<int64_t>(h)) + r.top, screen.cy);
  return r;
}

bool RestoreResidentPlacement(ui::TForm& form, const std::string& section) {
  ui::WindowPlacement placement;
  form.GetPlacement(placement);
  const int32_t x = ReadSetting(section, "X", "0");
  const int32_t y = ReadSetting(section, "Y", "0");
  const int32_t w = ReadSetting(section, "W", "700");
  const int32_t h = ReadSetting(section, "H", "400");
  placement.normalPosition = ResidentWindowRect(x, y, w, h, ui::ScreenSize());
  const bool visible = ReadSetting(section, "Visible", "0") != 0;
  placement.showCmd = visible ? ui::SW_SHOW_STATE : ui::SW_HIDE_STATE;
  form.SetPlacement(placement);
  return visible;
}

void SaveResidentPlacement(ui::TForm& form, const std::string& section) {
  ui::WindowPlacement placement;
  form.GetPlacement(placement);
  const ui::TRect& r = placement.normalPosition;
  WriteSetting(section, "X", r.left);
  WriteSetting(section, "Y", r.top);
  WriteSetting(section, "W", r.right - r.left);
  WriteSetting(section, "H", r.bottom - r.top);
  WriteSetting(section, "Visible", form.Visible() ? 1 : 0);
}
