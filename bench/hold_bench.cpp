// Holding the connection thread for a utility, against the simulated instrument at the real line
// rate, its bytes handed over as the chip and its driver do (whole USB transfers, the rest after
// the 16 ms latency timer): the time from asking for the hold to holding while the thread measures
// live, walks the memory slots, or talks to a silent instrument (median and worst over requests
// landing at random moments of the cycle); and the processor time the thread takes while a record
// file is shown.
#include <benchmark/benchmark.h>

#include <time.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <random>
#include <thread>
#include <vector>

#include "connection_hold.h"
#include "connection_thread.h"
#include "ft_transport.h"
#include "records.h"
#include "thread.h"
#include "vrx_sim.h"

namespace {

using Clock = std::chrono::steady_clock;

class QuietHost : public ConnectionHost {
 public:
  void ReportFileError() override {}
  void SelectFileSource() override {}
  void ShowRecord(const TMeasRecord&) override { ++shows; }
  void AddLogPoint(const TMeasRecord&) override {}
  void SetCycleTimeText(const std::string&) override {}
  int SelectedMemorySlot() override { return 0; }
  void ReportMissingDriver() override {}
  int shows = 0;
};

// Runs the main thread's side of the hand-over for `ms`.
void PumpFor(double ms) {
  const auto until = Clock::now() + std::chrono::duration<double, std::milli>(ms);
  while (Clock::now() < until) {
    os::WaitForSynchronize(2);
    os::CheckSynchronize();
  }
}

template <typename Done>
void PumpUntil(Done done) {
  while (!done())
    PumpFor(5);
}

enum Activity { kLive, kMemory, kSilent };

struct Setting {
  const char* scenario;
  uint8_t source;
  double cycleMs;  // the requests land uniformly over about one cycle
};

const Setting kSettings[] = {
    {"rate = real\n", kSourceLive, 115},
    {"rate = real\n", kSourceMemory, 365},
    {"rate = real\nsilent = 1\n", kSourceLive, 1600},
};

classFtConnectThread* StartThread(const Setting& setting, QuietHost& host) {
  VrxSim_RegisterInProcess();
  VrxSim_Configure(setting.scenario);
  ResetFtTransportForTests();
  SignalRecord.log2N = 12;
  for (auto& record : MemoryRecords)
    record.log2N = 14;
  SourceMode = setting.source;
  RunMode = kRunContinuous;
  FtConnectThread = os::TThread::Create<classFtConnectThread>(false, host, std::nullopt);
  PumpUntil([] { return UsbConnected == 1; });
  return FtConnectThread;
}

void StopThread() {
  // A silent instrument would keep the thread in its request for ever: let it answer.
  VrxSim_Configure("rate = real\n");
  FtConnectThread->Terminate();
  FtConnectThread->WaitFor();
  delete FtConnectThread;
  FtConnectThread = nullptr;
}

void BM_HoldLatency(benchmark::State& state) {
  const Setting& setting = kSettings[state.range(0)];
  QuietHost host;
  StartThread(setting, host);
  PumpFor(setting.cycleMs);
  std::mt19937 random(470);
  std::uniform_real_distribution<double> moment(0, setting.cycleMs);
  std::vector<double> samples;
  for (auto _ : state) {
    PumpFor(moment(random));
    const auto asked = Clock::now();
    HoldConnectionThread();
    const double ms = std::chrono::duration<double, std::milli>(Clock::now() - asked).count();
    ReleaseConnectionThread();
    samples.push_back(ms);
    state.SetIterationTime(ms / 1000.0);
  }
  StopThread();
  std::sort(samples.begin(), samples.end());
  state.counters["median_ms"] = samples[samples.size() / 2];
  state.counters["worst_ms"] = samples.back();
}
BENCHMARK(BM_HoldLatency)
    ->ArgName("live0_memory1_silent2")
    ->DenseRange(kLive, kSilent)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(40);

double ProcessCpuMs() {
  timespec now{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) / 1e6;
}

// The main thread sleeps meanwhile, so the process's processor time is the connection thread's.
void BM_FileModeIdleCpu(benchmark::State& state) {
  QuietHost host;
  StartThread({"rate = real\n", kSourceFile, 0}, host);
  PumpFor(100);
  double cpuMs = 0;
  double wallMs = 0;
  for (auto _ : state) {
    const double cpuBefore = ProcessCpuMs();
    const auto before = Clock::now();
    std::this_thread::sleep_for(std::chrono::seconds(2));
    cpuMs += ProcessCpuMs() - cpuBefore;
    const double wall = std::chrono::duration<double, std::milli>(Clock::now() - before).count();
    wallMs += wall;
    state.SetIterationTime(wall / 1000.0);
  }
  StopThread();
  state.counters["cpu_pct"] = 100.0 * cpuMs / wallMs;
}
BENCHMARK(BM_FileModeIdleCpu)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(2);

}  // namespace

BENCHMARK_MAIN();
