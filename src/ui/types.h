// Values and event types shared by the components: colours, fonts, geometry, alignment, the close
// action, window placement and the handler signatures.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace ui {

// Base of everything that sends an event.
class TObject {
 public:
  virtual ~TObject() = default;
};

// Colour value: red in the lowest byte, then green, then blue (0x00BBGGRR).
using TColor = uint32_t;
constexpr TColor clBlack = 0x000000;
constexpr TColor clRed = 0x0000FF;
constexpr TColor clWhite = 0xFFFFFF;
// The platform's own colour for the element (window text, button face).
constexpr TColor clDefault = 0xFF000000;

struct TPoint {
  int x = 0;
  int y = 0;
};

struct TSize {
  int cx = 0;
  int cy = 0;
};

struct TRect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
};

constexpr uint8_t kDefaultCharset = 1;
constexpr uint8_t kCyrillicCharset = 204;

struct TFont {
  std::string name = "MS Sans Serif";
  int height = 11;  // character height in pixels
  bool bold = false;
  TColor color = clDefault;
  uint8_t charset = kDefaultCharset;
};

enum class TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient };
enum class TAlignment { taLeftJustify, taRightJustify, taCenter };

// What a close handler leaves to happen: nothing, or the window hides.
enum class TCloseAction { caNone, caHide };

// Short-cut key: a virtual-key code with 0x4000 for Ctrl (Ctrl+O is 16463).
using TShortCut = uint16_t;
constexpr TShortCut scCtrl = 0x4000;

// Result of a modal show.
constexpr int mrNone = 0;
constexpr int mrOk = 1;
constexpr int mrCancel = 2;

// The platform's window-placement record, with the show states the program uses.
constexpr int SW_HIDE_STATE = 0;
constexpr int SW_SHOWNORMAL_STATE = 1;
constexpr int SW_SHOWMINIMIZED_STATE = 2;
constexpr int SW_SHOWMAXIMIZED_STATE = 3;
constexpr int SW_SHOW_STATE = 5;
struct WindowPlacement {
  uint32_t flags = 0;
  int showCmd = SW_SHOWNORMAL_STATE;
  TPoint minPosition{-1, -1};
  TPoint maxPosition{-1, -1};
  TRect normalPosition;
};

class TCanvas;

using TNotifyEvent = std::function<void(TObject* sender)>;
using TCloseEvent = std::function<void(TObject* sender, TCloseAction& action)>;
using TContextPopupEvent = std::function<void(TObject* sender, TPoint mousePos, bool& handled)>;
using TMouseMoveEvent = std::function<void(TObject* sender, int x, int y)>;
using TPaintEvent = std::function<void(TObject* sender, TCanvas& canvas)>;

// Binds a member handler: Button1->OnClick = Handler(this, &TMForm::Button1Click).
template <class C, class... Args>
std::function<void(Args...)> Handler(C* object, void (C::*method)(Args...)) {
  return [object, method](Args... args) { (object->*method)(args...); };
}

}  // namespace ui
