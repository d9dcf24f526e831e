// The live cycle of the connection thread against the simulated instrument at the real line rate:
// each iteration is one reading, timed by the thread's own CycleMs, against what the chip itself
// takes: the time the bytes of one reading take on the line (103 bytes of parameters, 8,199 of
// frame, 10 µs a byte) and, for each of the two replies, the chip's 16 ms latency timer, which
// hands over the rest of a reply once its last byte is in.
#include <benchmark/benchmark.h>

#include <atomic>
#include <cstring>

#include "connection_thread.h"
#include "counting_host.h"
#include "records.h"
#include "thread.h"
#include "vrx_sim.h"

namespace {

constexpr double kLineMs = (5 + 98 + 5 + 8194) * 0.010;
constexpr double kChipMs = kLineMs + 2 * 16.0;

void BM_LiveCycle(benchmark::State& state) {
  VrxSim_RegisterInProcess();
  VrxSim_Configure("rate = real\n");
  SignalRecord.log2N = 12;
  SourceMode = kSourceLive;
  RunMode = kRunContinuous;
  CountingHost host;
  auto* thread = os::TThread::Create<classFtConnectThread>(false, host, std::nullopt);
  // The first reading includes opening the instrument.
  while (host.readings < 1) {
    os::WaitForSynchronize(100);
    os::CheckSynchronize();
  }
  double totalMs = 0;
  for (auto _ : state) {
    const int before = host.readings;
    while (host.readings == before) {
      os::WaitForSynchronize(100);
      os::CheckSynchronize();
    }
    const double cycle = CycleMs.load();
    totalMs += cycle;
    state.SetIterationTime(cycle / 1000.0);
  }
  thread->Terminate();
  thread->WaitFor();
  delete thread;
  const double mean = totalMs / static_cast<double>(state.iterations());
  state.counters["chip_ms"] = kChipMs;
  state.counters["cycle_ms"] = mean;
  state.counters["over_chip_pct"] = 100.0 * (mean - kChipMs) / kChipMs;
}
BENCHMARK(BM_LiveCycle)->UseManualTime()->Unit(benchmark::kMillisecond)->MinTime(60.0);

}  // namespace

BENCHMARK_MAIN();
