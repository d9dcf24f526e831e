// A whole firmware update against the simulated boot loader at the real line rate: each
// iteration reads the two image files, opens the link anew (as after the instrument's restart into
// its boot loader, with FtConnect's 100 ms pause) and exchanges both images, against the time
// their bytes take on the line (14,336 + 512 out, 2 + 2 + 2 + 512 + 2 in, 10 µs a byte).
// And how long a dialog opened next (the update dialog again, or the identity dialog) waits for the
// update that an earlier one left running, in each way that one can have closed.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

#include "firmware_image.h"
#include "folders.h"
#include "ft_ident_form.h"
#include "ft_transport.h"
#include "sw_update_form.h"
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

// Runs the main thread's side of the update until `done` holds; false after 20 s.
template <class Done>
bool PumpUntil(Done done) {
  const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(20);
  while (!done()) {
    if (std::chrono::steady_clock::now() > giveUp)
      return false;
    os::WaitForSynchronize(1);
    os::CheckSynchronize();
  }
  return true;
}

// How the first dialog closes, and when.
enum class Closing {
  kCloseAt3000,     // "Закрыть" after 3,000 flash bytes
  kEscAtFlash,      // Esc as the flash image begins
  kWhileAwaiting,   // "Закрыть" 100 ms into the read for the announcement
  kLostInTheFlash,  // "Закрыть" once the link was lost after 3,000 bytes
};

// The dialog opened next.
enum class Opening { kUpdateDialog, kIdentityDialog };

void BM_OpeningWaitsForAnEarlierUpdate(benchmark::State& state) {
  const auto closing = static_cast<Closing>(state.range(0));
  const auto opening = static_cast<Opening>(state.range(1));
  VrxSim_RegisterInProcess();
  const std::string folder = os::ExecutableFolder();
  WriteWholeFile(folder + kFlashFileName, std::vector<unsigned char>(kFlashImageSize, 0x5A));
  WriteWholeFile(folder + kEepromFileName, std::vector<unsigned char>(kEepromImageSize, 0x5A));
  std::string scenario = "rate = real\nboot_loader = 1\n";
  if (closing == Closing::kWhileAwaiting)
    scenario += "silent = 1\n";
  if (closing == Closing::kLostInTheFlash)
    scenario += "unplug_at_byte = 3000\n";
  double totalMs = 0, longestMs = 0;
  for (auto _ : state) {
    VrxSim_Configure(scenario.c_str());
    ResetFtTransportForTests();
    LoadFtDriver();
    SWUpdateForm = new TSWUpdateForm(nullptr);
    SWUpdateForm->Button1->Click();
    bool reached = false;
    switch (closing) {
      case Closing::kCloseAt3000:
        reached = PumpUntil([] { return VrxSim_Received(nullptr, 0) >= 3000; });
        SWUpdateForm->Button2->Click();
        break;
      case Closing::kEscAtFlash:
        reached = PumpUntil([] { return SWUpdateForm->Memo->Lines().size() == 4; });
        SWUpdateForm->DialogKey(ui::TDialogKey::Escape, nullptr);
        break;
      case Closing::kWhileAwaiting:
        reached = PumpUntil([] {
          const std::vector<std::string> lines = SWUpdateForm->Memo->Lines();
          return !lines.empty() && lines.back() == "Ожидание ответа прибора";
        });
        // Well inside the first read, which then runs out its time-out.
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        SWUpdateForm->Button2->Click();
        break;
      case Closing::kLostInTheFlash:
        reached = PumpUntil([] { return VrxSim_Counter("failed_writes") > 0; });
        SWUpdateForm->Button2->Click();
        break;
    }
    if (!reached) {
      state.SkipWithError("the update never reached the point of closing");
      break;
    }
    delete SWUpdateForm;
    SWUpdateForm = nullptr;
    const auto opened = std::chrono::steady_clock::now();
    if (opening == Opening::kIdentityDialog)
      FtIdentForm = new TFtIdentForm(nullptr);
    else
      SWUpdateForm = new TSWUpdateForm(nullptr);
    const double ms =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - opened)
            .count();
    delete FtIdentForm;
    FtIdentForm = nullptr;
    delete SWUpdateForm;
    SWUpdateForm = nullptr;
    totalMs += ms;
    longestMs = std::max(longestMs, ms);
    state.SetIterationTime(ms / 1000.0);
  }
  UpdateThread->WaitFor();
  delete UpdateThread;
  UpdateThread = nullptr;
  std::remove((folder + kFlashFileName).c_str());
  std::remove((folder + kEepromFileName).c_str());
  state.counters["wait_ms"] = totalMs / static_cast<double>(state.iterations());
  state.counters["longest_ms"] = longestMs;
}
BENCHMARK(BM_OpeningWaitsForAnEarlierUpdate)
    ->ArgNames({"closing", "opening"})
    ->ArgsProduct({{0, 1, 2, 3}, {0, 1}})
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5);

}  // namespace

BENCHMARK_MAIN();
