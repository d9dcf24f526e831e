// A whole firmware update against the simulated boot loader at the real line rate: each
// iteration reads the two image files, opens the link anew (as after the instrument's restart into
// its boot loader, with FtConnect's 100 ms pause) and exchanges both images, against the time
// their bytes take on the line (14,336 + 512 out, 2 + 2 + 2 + 512 + 2 in, 10 µs a byte).
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "firmware_image.h"
#include "folders.h"
#include "ft_transport.h"
#include "sw_update_thread.h"
#include "temp_dir.h"
#include "vrx_sim.h"

namespace {

constexpr double kLineMs = (kFlashImageSize + kEepromImageSize + 2 + 2 + 2 + 512 + 2) * 0.010;

void BM_FirmwareUpdate(benchmark::State& state) {
  VrxSim_RegisterInProcess();
  const std::string folder = os::ExecutableFolder();
  WriteWholeFile(folder + kFlashFileName, std::vector<unsigned char>(kFlashImageSize, 0x5A));
  WriteWholeFile(folder + kEepromFileName, std::vector<unsigned char>(kEepromImageSize, 0x5A));
  double totalMs = 0;
  for (auto _ : state) {
    // Each update starts from an instrument that has just entered its boot loader.
    VrxSim_Configure("rate = real\nboot_loader = 1\n");
    ResetFtTransportForTests();
    LoadFtDriver();
    const auto started = std::chrono::steady_clock::now();
    auto* update = os::TThread::Create<SWUpdateThreadClass>(false, 0u, true);
    update->WaitFor();
    const double ms =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - started)
            .count();
    delete update;
    totalMs += ms;
    state.SetIterationTime(ms / 1000.0);
  }
  std::remove((folder + kFlashFileName).c_str());
  std::remove((folder + kEepromFileName).c_str());
  const double mean = totalMs / static_cast<double>(state.iterations());
  state.counters["line_ms"] = kLineMs;
  state.counters["reopen_ms"] = kReopenPauseMs;
  state.counters["update_ms"] = mean;
  state.counters["over_line_pct"] = 100.0 * (mean - kReopenPauseMs - kLineMs) / kLineMs;
}
BENCHMARK(BM_FirmwareUpdate)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(10);

}  // namespace

BENCHMARK_MAIN();
