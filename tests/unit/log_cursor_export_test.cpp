// The log window's cursor and CSV export, natively: the search under the mouse and its readout,
// the cursor line as painted, the readout panel, and the bytes of the exported file.
#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "exception.h"
#include "log_window_fixture.h"
#include "temp_dir.h"
#include "write_budget.h"

namespace {

// The mouse's column in the chart in every cursor case.
constexpr int kMouseX = 400;

class LogCursorTest : public LogWindowTest {
 protected:
  // A window with "Курсор" ticked whose time axis shows lo to hi, laid out by a paint; the
  // chart's requests to redraw at once are counted.
  TLogForm& CreateWithCursor() {
    TLogForm& form = Create();
    form.CursorCheckBox->Toggle();
    form.LogChart.on_repaint = [this] { ++repaints; };
    ShowSpan();
    Paint();
    return form;
  }
  // Every reading moves the time axis; the cases look at one fixed span.
  void ShowSpan() { LogForm->LogChart.BottomAxis().SetMinMax(lo, hi); }
  double MouseTime() const { return LogForm->SeriesRMS->XPixelToValue(kMouseX); }

  // Reading i at time t: RMS 1 + i, DC −0.25 − i, maximum 5 + i, minimum −5 − i.
  void LogReading(int i, ui::TDateTime t) { Log(t, 1.0f + i, -0.25f - i, 5.0f + i, -5.0f - i); }

  // The white 2-pixel lines of a paint.
  std::vector<chart::CanvasOp> CursorLines() {
    const chart::RecordingCanvas canvas = Paint();
    std::vector<chart::CanvasOp> lines;
    for (const chart::CanvasOp& op : canvas.ops())
      if (op.kind == chart::CanvasOp::Kind::kLine && op.pen.color == chart::kWhite &&
          op.pen.width == 2 && op.pen.style == chart::PenStyle::kSolid)
        lines.push_back(op);
    return lines;
  }

  std::vector<std::string> Readout() const {
    return {LogForm->Label12->Caption(), LogForm->Label6->Caption(), LogForm->Label7->Caption(),
            LogForm->Label8->Caption(), LogForm->Label9->Caption()};
  }

  const ui::TDateTime lo = At(14, 0, 0);
  const ui::TDateTime hi = At(14, 0, 10);
  int repaints = 0;
};

// What the readout shows for reading i at time t, in the default locale.
std::vector<std::string> ReadoutOf(int i, ui::TDateTime t) {
  auto kv = [](double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.3f кВ", value);
    return std::string(text);
  };
  return {ui::FormatDateTime("hh:nn:ss", t), kv(1.0 + i), kv(-0.25 - i), kv(5.0 + i), kv(-5.0 - i)};
}

const std::vector<std::string> kDesignedReadout = {"00:00:00", "0.000 кВ", "0.000 кВ", "0.000 кВ",
                                                   "0.000 кВ"};

struct SearchCase {
  const char* name;
  std::vector<double> seconds;  // the readings' times, in seconds from the mouse's time
  int index;
  bool cursor = true;  // "Курсор" ticked
};

TEST_F(LogCursorTest, TheMousePicksTheFirstReadingAtOrAfterItsTime) {
  const SearchCase cases[] = {
      {"between two readings: the later", {-3, -1, 1, 3}, 2},
      {"exactly on a reading", {-2, 0, 2}, 1},
      {"on the last reading", {-2, -1, 0}, 2},
      {"the first of equal times", {-1, 0, 0, 0, 1}, 1},
      {"between readings of a long log", {-3.5, -3, -2.5, -2, -1.5, -1, -0.5, 0.25, 0.5, 1}, 7},
      {"on the first reading: index 0", {0, 1, 2}, 0},
      {"left of the first reading: index 0", {1, 2, 3}, 0},
      {"right of the last reading: index 0", {-3, -2, -1}, 0},
      {"empty log: index 0", {}, 0},
      {"Курсор cleared: no search, no redraw", {-1, 1}, 0, false},
  };
  for (const SearchCase& c : cases) {
    SCOPED_TRACE(c.name);
    TLogForm& form = CreateWithCursor();
    const double t = MouseTime();
    for (std::size_t i = 0; i < c.seconds.size(); ++i)
      LogReading(static_cast<int>(i), t + c.seconds[i] * kSecond);
    ShowSpan();
    form.CursorCheckBox->SetChecked(c.cursor);
    repaints = 0;
    // Through the chart's control, as the window's mouse message arrives.
    form.LogChartBox->MouseMove(kMouseX, 30);
    EXPECT_EQ(form.LogCursorIndex, c.index);
    EXPECT_EQ(repaints, c.cursor ? 1 : 0);
    EXPECT_EQ(Readout(), c.index == 0 ? kDesignedReadout
                                      : ReadoutOf(c.index, t + c.seconds[c.index] * kSecond));
    delete LogForm;
  }
}

struct LineCase {
  const char* name;
  int mouseX;
  bool clearCursor;  // "Курсор" cleared after the mouse moved
  bool hideDc;       // "Udc" cleared after the mouse moved
  bool clearLog;     // " Очистить" and one new reading after the mouse moved
  int lineAt;        // the reading the line stands at, -1 for none
  int readout;       // the reading the readout shows, -1 for the designed texts
};

// The readout and the line take the RMS series' time at the index the DC series' times gave;
// here the two differ by a second, so each can be told from the other.
TEST_F(LogCursorTest, TheLineCrossesTheChartAtTheRmsTimeOfTheIndex) {
  const LineCase cases[] = {
      {"between readings", kMouseX, false, false, false, 2, 2},
      {"right of the last reading: at the first", kMouseX + 300, false, false, false, 0, -1},
      {"Udc cleared: the readout alone", kMouseX, false, true, false, -1, 2},
      {"Курсор cleared", kMouseX, true, false, false, -1, 2},
      {"after Очистить the index names no point", kMouseX, false, false, true, -1, 2},
  };
  for (const LineCase& c : cases) {
    SCOPED_TRACE(c.name);
    TLogForm& form = CreateWithCursor();
    const double t = MouseTime();
    std::vector<double> rmsTimes;
    for (int i = 0; i < 4; ++i) {
      const double dcTime = t + (i - 1.5) * kSecond;
      rmsTimes.push_back(dcTime + kSecond);
      AddPoints(dcTime, 1.0 + i, -0.25 - i, 5.0 + i, -5.0 - i);
    }
    form.LogChartBox->MouseMove(c.mouseX, 30);
    if (c.clearCursor)
      form.CursorCheckBox->Toggle();
    if (c.hideDc)
      form.CheckBox2->Toggle();
    if (c.clearLog) {
      form.Button2->Click();
      LogReading(0, t);
      ShowSpan();
    }
    const std::vector<chart::CanvasOp> lines = CursorLines();
    if (c.lineAt < 0) {
      EXPECT_TRUE(lines.empty());
    } else {
      ASSERT_EQ(lines.size(), 1u);
      const int px = chart::RoundPixel(form.SeriesRMS->XValueToPixel(rmsTimes[c.lineAt]));
      EXPECT_EQ(lines[0].points[0].x, px);
      EXPECT_EQ(lines[0].points[1].x, px);
      EXPECT_EQ(lines[0].points[0].y, 0);
      EXPECT_EQ(lines[0].points[1].y, 500);
      EXPECT_FALSE(lines[0].clipped);
    }
    EXPECT_EQ(Readout(),
              c.readout < 0 ? kDesignedReadout : ReadoutOf(c.readout, rmsTimes[c.readout]));
    delete LogForm;
  }
}

struct PanelCase {
  const char* name;
  std::vector<const char*> events;
  bool shown;
};

TEST_F(LogCursorTest, ThreeEventsShowAndHideTheReadoutWithoutConsultingEachOther) {
  const PanelCase cases[] = {
      {"as designed", {}, false},
      {"Курсор ticked", {"tick"}, true},
      {"Курсор ticked and cleared", {"tick", "tick"}, false},
      {"focus without Курсор", {"enter"}, true},
      {"Курсор ticked, focus lost", {"tick", "enter", "exit"}, false},
      {"focus lost, Курсор ticked", {"exit", "tick"}, true},
  };
  for (const PanelCase& c : cases) {
    SCOPED_TRACE(c.name);
    TLogForm& form = Create();
    int paints = 0;
    form.LogChart.on_repaint = [&] { ++paints; };
    form.LogChart.on_invalidate = [&] { ++paints; };
    for (const std::string event : c.events) {
      if (event == "tick")
        form.CursorCheckBox->Toggle();
      else if (event == "enter")
        form.LogChartBox->FocusEnter();
      else
        form.LogChartBox->FocusExit();
    }
    EXPECT_EQ(form.Panel2->Visible(), c.shown);
    // The line of a cleared cursor stays until the chart's next redraw for another reason.
    EXPECT_EQ(paints, 0);
    delete LogForm;
  }
}

// --- export ---------------------------------------------------------------------------------

const char kHeader1251[] =
    "\xC2\xF0\xE5\xEC\xFF;Urms, \xEA\xC2;Udc ,\xEA\xC2;Umax, \xEA\xC2;Umin, \xEA\xC2\r\n";

const ui::Locale kRussian{",", ":", "dd.MM.yyyy", "H:mm:ss", "", ""};
const ui::Locale kEnglish{".", ":", "M/d/yyyy", "h:mm:ss tt", "AM", "PM"};

struct LoggedPoint {
  ui::DateTimeParts time;  // of the DC series; the RMS series' points lie a second later
  double rms, dc, max, min;
};

struct ExportCase {
  const char* name;
  ui::Locale locale;
  std::vector<LoggedPoint> points;
  std::string lines;  // after the header
};

class LogExportTest : public LogWindowTest {
 protected:
  // Answers the save dialog with `path` (or cancels), presses "Сохранить", and returns the
  // message of the framework's error it raised, empty when none.
  std::string Export(const std::string& path, bool answer = true) {
    ui::FileDialogHook previous = ui::SetFileDialogHook([&](ui::TFileDialog& dialog) {
      EXPECT_EQ(&dialog, LogForm->SaveLogDialog);
      dialog.fileName = path;
      return answer;
    });
    std::string error;
    try {
      LogForm->Button1->Click();
    } catch (const ui::Exception& e) {
      error = e.Message();
    }
    ui::SetFileDialogHook(previous);
    return error;
  }

  std::string Bytes(const std::string& path) {
    const std::vector<unsigned char> bytes = ReadWholeFile(path);
    return std::string(bytes.begin(), bytes.end());
  }

  std::vector<std::string> FolderFiles() {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder.File("")))
      names.push_back(entry.path().filename().string());
    return names;
  }

  TempDir folder;
};

TEST_F(LogExportTest, WritesTheHeaderAndOneLinePerReadingInCodePage1251) {
  const ExportCase cases[] = {
      {"empty log: the header alone", kRussian, {}, ""},
      {"three readings: header order, time of Udc",
       kRussian,
       {{{2024, 10, 27, 14, 5, 30, 0}, 3.5, 0.25, 4.875, -4.5},
        {{2024, 10, 27, 14, 5, 31, 0}, 3.25, 0.125, 4.75, -4.625},
        {{2024, 10, 27, 14, 5, 32, 500}, 3.75, 0.375, 5.125, -4.25}},
       "27.10.2024 14:05:30;3,500;0,250;4,875;-4,500\r\n"
       "27.10.2024 14:05:31;3,250;0,125;4,750;-4,625\r\n"
       "27.10.2024 14:05:32;3,750;0,375;5,125;-4,250\r\n"},
      {"negative, whole, rounding to zero",
       kRussian,
       {{{2024, 10, 27, 9, 0, 0, 0}, 5, -12.5, 1234.0625, -0.0004}},
       "27.10.2024 9:00:00;5,000;-12,500;1234,063;0,000\r\n"},
      {"midnight: the date alone",
       kRussian,
       {{{2024, 10, 28, 0, 0, 0, 0}, 1, 0, 2, -2}},
       "28.10.2024;1,000;0,000;2,000;-2,000\r\n"},
      {"a decimal point and a 12-hour clock",
       kEnglish,
       {{{2024, 10, 27, 14, 5, 30, 0}, 3.5, -0.25, 4.875, -4.5}},
       "10/27/2024 2:05:30 PM;3.500;-0.250;4.875;-4.500\r\n"},
  };
  for (const ExportCase& c : cases) {
    SCOPED_TRACE(c.name);
    ui::SetUserLocale(c.locale);
    Create();
    for (const LoggedPoint& p : c.points)
      AddPoints(ui::EncodeDateTime(p.time), p.rms, p.dc, p.max, p.min);
    const std::string path = folder.File("log.csv");
    EXPECT_EQ(Export(path), "");
    EXPECT_EQ(Bytes(path), kHeader1251 + c.lines);
    EXPECT_EQ(FolderFiles(), std::vector<std::string>{"log.csv"});
    delete LogForm;
  }
}

struct FailureCase {
  const char* name;
  bool answer;          // the dialog answered, not cancelled
  const char* file;     // chosen, in the test's folder
  long long writeable;  // bytes the disk takes before writes fail; -1 without limit
  const char* error;    // the framework's error ("%s" stands for the path), "" for none
  bool replaced;        // log.csv holds the export afterwards, not its old content
};

// A long log, written in chunks: a failure part-way, after some chunks reached the disk, must
// still leave the file that was there before.
TEST_F(LogExportTest, AFailedOrCancelledExportLeavesTheOldFileAndTheLog) {
  const FailureCase cases[] = {
      {"replaces an existing file", true, "log.csv", -1, "", true},
      {"cancelled", false, "log.csv", -1, "", false},
      {"missing folder", true, "missing/log.csv", -1, "Cannot create file %s", false},
      {"write fails part-way", true, "log.csv", 100000, "Stream write error", false},
  };
  // 45 bytes a line: three chunks of the export, of which the first reaches the disk.
  constexpr int kReadings = 4000;
  const std::string old(300000, 'x');
  for (const FailureCase& c : cases) {
    SCOPED_TRACE(c.name);
    TLogForm& form = Create();
    for (int i = 0; i < kReadings; ++i)
      AddPoints(At(14, 0, 0) + i * kSecond, 1, 1, 1, 1);
    const std::string target = folder.File("log.csv");
    WriteWholeFile(target, std::vector<unsigned char>(old.begin(), old.end()));
    const std::string path = folder.File(c.file);
    std::optional<WriteBudget> budget;
    if (c.writeable >= 0)
      budget.emplace(c.writeable);
    const std::string error = Export(path, c.answer);
    budget.reset();
    std::string expected = c.error;
    if (expected.find("%s") != std::string::npos)
      expected.replace(expected.find("%s"), 2, path);
    EXPECT_EQ(error, expected);
    const std::string now = Bytes(target);
    if (c.replaced) {
      EXPECT_EQ(now.substr(0, sizeof kHeader1251 - 1), kHeader1251);
      EXPECT_EQ(now.size(), sizeof kHeader1251 - 1 + kReadings * 45u);
    } else {
      EXPECT_EQ(now, old);
    }
    EXPECT_EQ(FolderFiles(), std::vector<std::string>{"log.csv"});
    for (const chart::Series* s : {form.SeriesRMS, form.SeriesDC, form.SeriesMax, form.SeriesMin})
      EXPECT_EQ(s->Count(), static_cast<std::size_t>(kReadings));
    delete LogForm;
  }
}

}  // namespace
