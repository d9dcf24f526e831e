#include "log_export.h"

#include "file_stream.h"
#include "format.h"
#include "text.h"

// The blank before the comma in the third field is the program's own.
const char kLogCsvHeader[] = "Время;Urms, кВ;Udc ,кВ;Umax, кВ;Umin, кВ";

namespace {

constexpr int kDecimals = 3;
// Lines gather to about this many bytes before they are converted and written: a long log never
// needs the whole file in memory.
constexpr std::size_t kChunkBytes = 64 * 1024;
const char kLineEnd[] = "\r\n";

}  // namespace

std::string LogCsvLine(double time, double rms, double dc, double max, double min) {
  std::string line = ui::DateTimeToStr(time);
  for (double value : {rms, dc, max, min}) {
    line += ';';
    line += ui::FormatFixed(value, kDecimals);
  }
  return line;
}

void ExportLogCsv(const std::string& fileName, const chart::Series& rms, const chart::Series& dc,
                  const chart::Series& max, const chart::Series& min) {
  ui::TReplacingFileStream stream(fileName);
  std::string lines = std::string(kLogCsvHeader) + kLineEnd;
  std::string bytes;
  auto write = [&] {
    bytes.clear();
    os::AppendUtf8AsCp1251(lines, &bytes);
    stream.Write(bytes.data(), bytes.size());
    lines.clear();
  };
  for (std::size_t i = 0; i < dc.Count(); ++i) {
    lines += LogCsvLine(dc.XValue(i), rms.YValue(i), dc.YValue(i), max.YValue(i), min.YValue(i));
    lines += kLineEnd;
    if (lines.size() >= kChunkBytes)
      write();
  }
  if (!lines.empty())
    write();
  stream.Commit();
}
