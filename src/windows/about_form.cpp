#include "about_form.h"

#include <cmath>

#include "canvas.h"

TAboutForm* AboutForm = nullptr;

namespace {

constexpr int kPictureWidth = 227;
constexpr int kPictureHeight = 53;
constexpr ui::TColor kPictureBackground = 0x603010;  // dark blue
constexpr ui::TColor kWaveColor = 0x40C0FF;          // amber
constexpr double kPi = 3.14159265358979323846;

// The picture at the top of the window: a sine and the instrument's name.
void DrawAboutPicture(ui::TCanvas& canvas) {
  canvas.SetBrush(kPictureBackground);
  canvas.FillRect({0, 0, kPictureWidth, kPictureHeight});

  // Two periods of a sine on the left, as the waveform chart shows a mains voltage.
  constexpr int kWaveLeft = 8;
  constexpr int kWaveWidth = 72;
  constexpr int kWaveMiddle = kPictureHeight / 2;
  constexpr double kWaveAmplitude = 18.0;
  canvas.SetPen(kWaveColor, 2, ui::TPenStyle::psSolid);
  for (int x = 0; x <= kWaveWidth; ++x) {
    const int y =
        kWaveMiddle -
        static_cast<int>(std::lround(kWaveAmplitude * std::sin(4.0 * kPi * x / kWaveWidth)));
    if (x == 0)
      canvas.MoveTo(kWaveLeft + x, y);
    else
      canvas.LineTo(kWaveLeft + x, y);
  }

  ui::TFont font;
  font.name = "Arial";
  font.height = 28;
  font.bold = true;
  font.color = ui::clWhite;
  canvas.SetFont(font);
  const char* name = "VRX-470";
  const ui::TSize extent = canvas.TextExtent(name);
  canvas.PutText(kWaveLeft + kWaveWidth + 10, (kPictureHeight - extent.cy) / 2, name);
}

}  // namespace

TAboutForm::TAboutForm(ui::TComponent* Owner) : ui::TForm(Owner) {
  SetCaption("О программе...");
  SetBorderStyle(ui::TFormBorderStyle::bsSizeToolWin);
  SetBounds(0, 0, 236, 171);
  SetPosition(ui::TPosition::poMainFormCenter);

  Image1 = new ui::TImage(this);
  Image1->SetParent(this);
  Image1->SetBounds(0, 0, kPictureWidth, kPictureHeight);
  Image1->OnPaint = [](ui::TObject*, ui::TCanvas& canvas) { DrawAboutPicture(canvas); };

  Label1 = MakeCentredLabel(0, 60, "Киловольтмерт многопредельный");
  Label3 = MakeCentredLabel(0, 76, "цифровой VRX-470");
  Label2 = MakeCentredLabel(-8, 92, "Версия 1.0");

  Button1 = new ui::TButton(this);
  Button1->SetParent(this);
  Button1->SetBounds(80, 108, 73, 25);
  Button1->SetCaption("OK");
  Button1->OnClick = ui::Handler(this, &TAboutForm::Button1Click);
  // "OK" is the window's only button: Enter and Esc both press it.
  SetDefaultButton(Button1);
  SetCancelButton(Button1);
}

ui::TLabel* TAboutForm::MakeCentredLabel(int left, int top, const char* text) {
  auto* label = new ui::TLabel(this);
  label->SetParent(this);
  label->SetAutoSize(false);
  label->SetAlignment(ui::TAlignment::taCenter);
  label->SetBounds(left, top, 225, 13);
  label->SetCaption(text);
  return label;
}

void TAboutForm::Button1Click(ui::TObject*) {
  Close();
}
