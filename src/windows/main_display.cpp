// What the main window shows of a record: the waveform, the vertical auto scale, the readouts and,
// in service mode, the raw parameters of the record.
#include <cmath>
#include <cstddef>
#include <iterator>
#include <string>

#include "batched_redraw.h"
#include "format.h"
#include "main_form.h"
#include "records.h"
#include "spektr_form.h"

float GetScaleStep(float a, float b) {
  // fmax ignores a NaN, so one damaged extreme still scales to the other.
  const float m = std::fmax(std::fabs(a), std::fabs(b));
  // The step above a member is taken only when m lies above that member, so a value equal to a
  // member keeps it; 0 (and NaN from both extremes) gives the first.
  constexpr float kSteps[] = {0.5f, 1, 2.5f, 5, 10, 25, 50, 100, 250, 500, 1000};
  float step = kSteps[0];
  for (std::size_t i = 1; i < std::size(kSteps); ++i) {
    if (m > kSteps[i - 1])
      step = kSteps[i];
  }
  return step;
}

void TMForm::AutoScaleU(const TMeasRecord* rec) {
  const double s = GetScaleStep(rec->uMax, rec->uMin);
  chart::Axis& axis = ChartSignal.LeftAxis();
  // Both ends at once: the symmetric range is never refused, whatever range stood before.
  axis.SetMinMax(-s, s);
  axis.SetIncrement(0.2 * s);
}

void TMForm::ShowWaveform(const TMeasRecord& rec) {
  // One redraw for the whole record, not one per point.
  BatchedRedraw batch(ChartSignal);
  Series1->Clear();
  if (ComboBoxU->ItemIndex() == 0)
    AutoScaleU(&rec);

  // Only a damaged record file carries a size beyond the arrays; its waveform is not shown.
  const int count = rec.log2N >= 0 && rec.log2N <= kMaxLog2N ? 1 << rec.log2N : 0;
  const double period = rec.samplePeriodMs;
  // In double, so that no trigger index of a damaged file can overflow the difference.
  const double trigger = rec.triggerIndex;
  for (int i = 0; i < count; ++i)
    Series1->AddXY((i - trigger) * period, rec.voltage[i]);
}

void TMForm::ShowMeasRecord(const TMeasRecord* rec) {
  ShowWaveform(*rec);

  // Range 1 counts in volts, so its voltages have a third decimal.
  const int d = rec->range == 1 ? 3 : 2;
  LabelUrms->SetCaption(ui::FormatFixed(rec->uRms, d));
  LabelUdc->SetCaption(ui::FormatFixed(rec->uDc, d));
  LabelUmax->SetCaption(ui::FormatFixed(rec->uMax, d) + " кВ");
  LabelUmin->SetCaption(ui::FormatFixed(rec->uMin, d) + " кВ");
  LabelFreq->SetCaption(ui::FormatFixed(rec->fundamentalHz, 2) + " Гц");
  LabelKIS->SetCaption(ui::FormatFixed(rec->shownHarmonics.value[HarmonicBlock::kKis], 2) + "  %");

  // The spectrum window follows every record, also while hidden, so it is current when shown.
  if (SpektrForm != nullptr)
    SpektrForm->ShowSpektr(rec);

  if (ServiceMode == 0)
    return;
  ShowServiceValues(*rec);
}

void TMForm::ShowServiceValues(const TMeasRecord& rec) {
  for (int g = 0; g < 2; ++g) {
    const TKalibrConsts& k = rec.kalibr[g];
    KalibrLabel('D', 0, g)->SetCaption(ui::IntToStr(k.DC));
    for (int i = 0; i < 5; ++i) {
      KalibrLabel('Y', i, g)->SetCaption(ui::IntToStr(k.Y[i]));
      KalibrLabel('X', i, g)->SetCaption(ui::IntToStr(k.X[i]));
      KalibrLabel('A', i, g)->SetCaption(ui::IntToStr(k.A[i]));
    }
  }
  SerLabel5->SetCaption(ui::IntToStr(rec.clockDivider));
  SerLabel6->SetCaption(ui::IntToStr(rec.zeroOffset));
  SerLabel7->SetCaption(ui::IntToStr(rec.range));
  Label9->SetCaption(ui::IntToStr(rec.acWeight));
}
