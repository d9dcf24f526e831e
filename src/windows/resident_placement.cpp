#include "resident_placement.h"

#include "screen.h"
#include "settings.h"
#include "window_rect.h"

bool RestoreResidentPlacement(ui::TForm& form, const std::string& section) {
  ui::WindowPlacement placement;
  form.GetPlacement(placement);
  const int32_t x = ReadSetting(section, "X", "0");
  const int32_t y = ReadSetting(section, "Y", "0");
  const int32_t w = ReadSetting(section, "W", "700");
  const int32_t h = ReadSetting(section, "H", "400");
  placement.normalPosition =
      ResidentWindowRect(x, y, w, h, ui::ScreenSize(), {form.MinWidth(), form.MinHeight()});
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
