// Digests of whole processed records. The same values in the native and in the Windows build
// prove that both compute byte-identical records from identical frames.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <memory>

#include "meas_arith.h"
#include "records.h"
#include "synthetic_frames.h"

namespace {

struct IdentityCase {
  const char* name;
  SyntheticFrame frame;
  uint8_t source;
  int readings;  // frames processed in turn on the same record, noise seed advancing
  uint64_t digest;
};

SyntheticFrame Mains(uint8_t range, int log2N, uint32_t seed, uint16_t divider, int32_t dc) {
  SyntheticFrame f = MainsFrame(range, log2N, seed);
  f.clockDivider = divider;
  f.dc = dc;
  return f;
}

// Slightly off 50 Hz, so that every bin carries leakage and no value is a round number.
SyntheticFrame OffMains(uint8_t range, int log2N, uint32_t seed) {
  SyntheticFrame f = MainsFrame(range, log2N, seed);
  f.tones[0].milliHz = 49930;
  f.tones[1].milliHz = 149790;
  f.tones[2].milliHz = 249650;
  return f;
}

// A high DC with a small ripple: range 0 applies the DC correction to it.
SyntheticFrame MostlyDc(int log2N, uint32_t seed) {
  SyntheticFrame f{0, log2N, 3125, 24000, 25, seed, {}};
  f.tones[0] = {1500, 50000, 0x11111111};
  f.tones[1] = {200, 100000, 0};
  return f;
}

class RecordIdentity : public ::testing::TestWithParam<IdentityCase> {};

TEST_P(RecordIdentity, WholeRecordDigest) {
  const IdentityCase& c = GetParam();
  SourceMode = c.source;
  auto rec = std::make_unique<TMeasRecord>();
  std::memset(rec.get(), 0, sizeof(TMeasRecord));
  FillPlausibleCalibration(rec.get());
  SyntheticFrame frame = c.frame;
  for (int r = 0; r < c.readings; ++r) {
    FillSyntheticFrame(frame, rec.get());
    ProcessMeasRecord(rec.get());
    frame.seed = frame.seed * 7 + 1;
    frame.tones[0].amplitude += 37;
  }
  SourceMode = kSourceLive;
  const uint64_t digest = Fnv1a64(rec.get(), sizeof(TMeasRecord));
  EXPECT_EQ(digest, c.digest) << c.name << ": 0x" << std::hex << digest;
}

INSTANTIATE_TEST_SUITE_P(
    Frames, RecordIdentity,
    ::testing::Values(IdentityCase{"live range 0, 4096", MainsFrame(0, 12, 1), kSourceLive, 3,
                                   0x19b7b41914d168fbu},
                      IdentityCase{"live range 1, 4096", OffMains(1, 12, 2), kSourceLive, 22,
                                   0xc9eeac10359f56d3u},
                      IdentityCase{"memory range 0, 16384", OffMains(0, 14, 3), kSourceMemory, 2,
                                   0xfd2476d4a6c2d68cu},
                      IdentityCase{"memory range 1, 16384", MainsFrame(1, 14, 4), kSourceMemory, 1,
                                   0x7bc6e9d243d4bb2fu},
                      IdentityCase{"live range 0, 16384, divider 2000", Mains(0, 14, 5, 2000, -420),
                                   kSourceLive, 2, 0x3cb034cb1b7f7681u},
                      IdentityCase{"live range 1, 4096, divider 32767", Mains(1, 12, 6, 32767, 90),
                                   kSourceLive, 2, 0x94cadb78542b2b50u},
                      IdentityCase{"memory mostly DC, 4096", MostlyDc(12, 7), kSourceMemory, 1,
                                   0x9ba29910d8aa91b2u},
                      IdentityCase{"live mostly DC, 16384", MostlyDc(14, 8), kSourceLive, 2,
                                   0x67a7017620234fb6u}),
    [](const ::testing::TestParamInfo<IdentityCase>& info) {
      return "Case" + std::to_string(info.index);
    });

}  // namespace
