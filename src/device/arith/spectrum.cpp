#include "spectrum.h"

#include <cmath>
#include <memory>
#include <mutex>
#include <new>

#include "fft_tables.h"

namespace {

struct DoubleComplex {
  double re;
  double im;
};

// Work storage of the transform, sized for the longest frame. It is obtained once and reused:
// its contents never carry over, since every call loads the frame afresh and fills every twiddle
// entry before a later stage reads it. One block for the process, held under a lock while a
// transform runs (the program computes on the connection thread alone); not a thread_local,
// whose destructor MinGW's static run-time runs unreliably when a thread ends. Neither the block
// nor its lock is ever destroyed: the connection thread may still be computing while the program
// ends. A failed allocation is tried again at the next call.
struct FftWork {
  DoubleComplex x[kMaxSamples];
  DoubleComplex twiddle[kMaxSamples / 2];
};

std::mutex& WorkLock() {
  static std::mutex* lock = new std::mutex;
  return *lock;
}

// Called under the lock.
FftWork* SharedWork() {
  static FftWork* work = nullptr;
  if (work == nullptr)
    work = new (std::nothrow) FftWork;
  return work;
}

void LoadBitReversed(const int16_t* samples, int log2N, DoubleComplex* x) {
  const uint32_t n = 1u << log2N;
  for (uint32_t i = 0; i < n; ++i)
    x[i] = {static_cast<double>(samples[i]), 0.0};
  for (uint32_t j = 1; j + 1 < n; ++j) {
    const uint32_t r = ReverseIndexBits(j, log2N);
    if (j < r) {
      const DoubleComplex t = x[j];
      x[j] = x[r];
      x[r] = t;
    }
  }
}

ExtendedComplex Widen(const DoubleComplex& c) {
  return {c.re, c.im};
}

ExtendedComplex Multiply(const ExtendedComplex& a, const ExtendedComplex& b) {
  return {a.re * b.re - a.im * b.im, a.re * b.im + a.im * b.re};
}

// One stage of span m = 2^(s+1). Odd twiddles come from the even one before them times the stage
// root; even ones were cached by an earlier stage. The butterflies use the extended twiddle, the
// cache keeps it rounded to double.
void RunStage(int s, int log2N, DoubleComplex* x, DoubleComplex* cache) {
  const uint32_t n = 1u << log2N;
  const uint32_t m = 2u << s;
  const uint32_t half = m / 2;
  const uint32_t stride = n / m;
  const ExtendedComplex root = FftRootTable[s];
  ExtendedComplex w{};
  for (uint32_t k = 0; k < half; ++k) {
    if (k % 2 == 0) {
      w = Widen(cache[k * stride]);
    } else {
      w = Multiply(w, root);
      cache[k * stride] = {static_cast<double>(w.re), static_cast<double>(w.im)};
    }
    for (uint32_t i = k; i < n; i += m) {
      DoubleComplex& lo = x[i];
      DoubleComplex& hi = x[i + half];
      const long double ure = w.re * hi.re - w.im * hi.im;
      const long double uim = w.re * hi.im + w.im * hi.re;
      hi = {static_cast<double>(lo.re - ure), static_cast<double>(lo.im - uim)};
      lo = {static_cast<double>(lo.re + ure), static_cast<double>(lo.im + uim)};
    }
  }
}

void StoreAmplitudes(const DoubleComplex* x, int log2N, float* spectrum) {
  const uint32_t n = 1u << log2N;
  const long double count = n;
  spectrum[0] = static_cast<float>(BinMagnitude(x[0].re, x[0].im) / count);
  // A bin's RMS is its magnitude times sqrt(2) / N.
  const long double factor = 2.0L / (std::sqrt(2.0L) * count);
  for (uint32_t k = 1; k < n / 2; ++k) {
    spectrum[k] = static_cast<float>(factor * BinMagnitude(x[k].re, x[k].im));
  }
}

}  // namespace

float BinMagnitude(double re, double im) {
  const long double r = re;
  const long double i = im;
  const double sumSq = static_cast<double>(r * r + i * i);
  return static_cast<float>(std::sqrt(static_cast<long double>(sumSq)));
}

void CalcSpektr(TMeasRecord* rec) {
  const int log2N = rec->log2N;
  if (log2N < 1 || log2N > kMaxLog2N)
    return;
  const uint32_t bins = (1u << log2N) / 2;
  std::lock_guard<std::mutex> hold(WorkLock());
  FftWork* work = SharedWork();
  // Without work storage there is no spectrum: empty bins, which the arithmetic shows as zeros.
  if (work == nullptr) {
    for (uint32_t k = 0; k < bins; ++k)
      rec->spectrum[k] = 0.0f;
    return;
  }
  LoadBitReversed(rec->samples, log2N, work->x);
  work->twiddle[0] = {1.0, 0.0};
  for (int s = 0; s < log2N; ++s)
    RunStage(s, log2N, work->x, work->twiddle);
  StoreAmplitudes(work->x, log2N, rec->spectrum);
}
