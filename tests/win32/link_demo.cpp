// Connects to the instrument through ftd2xx.dll, as the program does, and takes one live reading
// and one reading of memory slot 1; prints what came and fails when anything is missing.
#include <cstdio>

#include "ft_transport.h"
#include "records.h"
#include "requests.h"

namespace {

int Check(bool ok, const char* what) {
  std::printf("%-44s %s\n", what, ok ? "ok" : "FAILED");
  return ok ? 0 : 1;
}

bool HasSignal(const TMeasRecord& record) {
  const int n = 1 << record.log2N;
  int16_t low = record.samples[0];
  int16_t high = record.samples[0];
  for (int i = 1; i < n; ++i) {
    if (record.samples[i] < low)
      low = record.samples[i];
    if (record.samples[i] > high)
      high = record.samples[i];
  }
  std::printf("  range %u, clock divider %u, samples %d to %d\n", unsigned(record.range),
              unsigned(record.clockDivider), low, high);
  return high - low > 100;
}

}  // namespace

int main() {
  SignalRecord.log2N = 12;
  MemoryRecords[0].log2N = 14;
  int failures = Check(LoadFtDriver() == 1, "ftd2xx.dll loaded, entry points resolved");
  if (failures)
    return 1;
  FtConnect();
  failures += Check(UsbConnected == 1, "instrument \"VRX-470\" opened and configured");

  ReadKalibr(&SignalRecord);
  const TKalibrConsts& k = SignalRecord.kalibr[0];
  std::printf("  range 0: DC %u, X %u %u %u %u %u, zero offset %d\n", unsigned(k.DC),
              unsigned(k.X[0]), unsigned(k.X[1]), unsigned(k.X[2]), unsigned(k.X[3]),
              unsigned(k.X[4]), SignalRecord.zeroOffset);
  failures += Check(k.DC != 0 && SignalRecord.kalibr[1].DC != 0, "parameter reply (98 bytes)");

  ReadSignal(&SignalRecord, 0);
  failures += Check(HasSignal(SignalRecord), "live frame (4,096 samples)");

  ReadKalibr(&MemoryRecords[0]);
  ReadSignal(&MemoryRecords[0], 1);
  failures += Check(HasSignal(MemoryRecords[0]), "memory slot 1 (16,384 samples)");
  return failures == 0 ? 0 : 1;
}
