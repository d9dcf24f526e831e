// The simulated instrument's side of the wire: request parsing, replies and their contents.
#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <vector>

#include "ft_entry_points.h"
#include "request_parser.h"
#include "signal.h"
#include "vrx_sim.h"

namespace {

using Bytes = std::vector<uint8_t>;

constexpr double kPi = 3.14159265358979323846;

FT_HANDLE OpenLink() {
  FT_HANDLE handle = nullptr;
  char description[] = "VRX-470";
  EXPECT_EQ(FT_OpenEx(description, FT_OPEN_BY_DESCRIPTION, &handle), FT_OK);
  EXPECT_EQ(FT_SetBaudRate(handle, 1000000), FT_OK);
  EXPECT_EQ(FT_SetDataCharacteristics(handle, FT_BITS_8, FT_STOP_BITS_1, FT_PARITY_NONE), FT_OK);
  EXPECT_EQ(FT_SetTimeouts(handle, 900, 900), FT_OK);
  return handle;
}

// Purge, one write per byte, one read of `expect` bytes: as the program does it.
Bytes Exchange(FT_HANDLE handle, Bytes request, uint32_t expect) {
  EXPECT_EQ(FT_Purge(handle, FT_PURGE_RX | FT_PURGE_TX), FT_OK);
  for (uint8_t& byte : request) {
    uint32_t written = 0;
    EXPECT_EQ(FT_Write(handle, &byte, 1, &written), FT_OK);
  }
  Bytes reply(expect);
  uint32_t got = 0;
  EXPECT_EQ(FT_Read(handle, reply.data(), expect, &got), FT_OK);
  reply.resize(got);
  return reply;
}

uint16_t Word(const Bytes& bytes, size_t at) {
  return uint16_t(bytes[at] | bytes[at + 1] << 8);
}

TEST(SimRequestParser, FindsRequestsAndResynchronises) {
  struct Case {
    const char* name;
    Bytes stream;
    std::vector<sim::Request::Kind> kinds;
    std::vector<uint32_t> samples;  // of the waveform requests, in order
    uint32_t dropped;
  };
  using K = sim::Request::Kind;
  const Case cases[] = {
      {"parameters", {0x42, 0, 0, 0x19, 0x19}, {K::kParameters}, {}, 0},
      {"live 4096", {0x42, 0, 0, 0x10, 0xD0}, {K::kWaveform}, {4096}, 0},
      {"slot 15 16384", {0x42, 0, 0, 0x40, 0xDF}, {K::kWaveform}, {16384}, 0},
      {"noise before", {0x00, 0x19, 0x42, 0, 0, 0x19, 0x19}, {K::kParameters}, {}, 2},
      {"doubled start", {0x42, 0x42, 0, 0, 0x19, 0x19}, {K::kParameters}, {}, 1},
      {"request cut short", {0x42, 0, 0x42, 0, 0, 0x01, 0xD3}, {K::kWaveform}, {256}, 2},
      {"too many samples", {0x42, 0, 0, 0x41, 0xD0}, {}, {}, 5},
      {"no samples", {0x42, 0, 0, 0x00, 0xD0}, {}, {}, 5},
      {"unknown code", {0x42, 0, 0, 0x19, 0x18}, {}, {}, 5},
      {"two in a row",
       {0x42, 0, 0, 0x19, 0x19, 0x42, 0, 0, 0x10, 0xD0},
       {K::kParameters, K::kWaveform},
       {4096},
       0},
  };
  for (const Case& c : cases) {
    sim::RequestParser parser;
    std::vector<K> kinds;
    std::vector<uint32_t> samples;
    for (uint8_t byte : c.stream) {
      sim::Request request = parser.Feed(byte);
      if (request.kind != K::kNone)
        kinds.push_back(request.kind);
      if (request.kind == K::kWaveform)
        samples.push_back(request.samples);
    }
    EXPECT_EQ(kinds, c.kinds) << c.name;
    EXPECT_EQ(samples, c.samples) << c.name;
    EXPECT_EQ(parser.dropped(), c.dropped) << c.name;
  }
}

TEST(SimReplies, LengthsAndHeaderFollowTheRequest) {
  struct Case {
    Bytes request;
    uint32_t length;
    int range;  // -1: no header to check
  };
  const Case cases[] = {
      {{0x42, 0, 0, 0x19, 0x19}, 98, -1},
      {{0x42, 0, 0, 0x10, 0xD0}, 8194, 0},
      {{0x42, 0, 0, 0x40, 0xD1}, 32770, 0},
      {{0x42, 0, 0, 0x40, 0xDC}, 32770, 1},  // slot 12 holds a range-1 record
      {{0x42, 0, 0, 0x40, 0xDF}, 32770, 0},
      {{0x42, 0, 0, 0x01, 0xD5}, 514, 0},
      {{0x42, 0, 0, 0x19, 0x18}, 0, -1},
  };
  ASSERT_EQ(VrxSim_Configure(""), 1);
  FT_HANDLE handle = OpenLink();
  for (const Case& c : cases) {
    // Ask for more than can come: the reply's own length shows.
    Bytes reply = Exchange(handle, c.request, 40000);
    ASSERT_EQ(reply.size(), c.length) << int(c.request[4]);
    if (c.range >= 0) {
      EXPECT_EQ((Word(reply, 0) & 0x8000) ? 0 : 1, c.range) << int(c.request[4]);
      EXPECT_EQ(Word(reply, 0) & 0x7FFF, 3125);
    }
  }
  EXPECT_EQ(VrxSim_Counter("requests_param"), 1u);
  EXPECT_EQ(VrxSim_Counter("requests_wave"), 5u);
  EXPECT_EQ(VrxSim_Counter("bytes_in"), 35u);
}

TEST(SimReplies, RangeListSetsBit15OfSuccessiveLiveFrames) {
  ASSERT_EQ(VrxSim_Configure("ranges = 1, 1, 0, 1\n"), 1);
  FT_HANDLE handle = OpenLink();
  std::vector<int> ranges;
  for (int i = 0; i < 6; ++i) {
    Bytes frame = Exchange(handle, {0x42, 0, 0, 0x10, 0xD0}, 8194);
    ASSERT_EQ(frame.size(), 8194u);
    ranges.push_back((Word(frame, 0) & 0x8000) ? 0 : 1);
  }
  EXPECT_EQ(ranges, (std::vector<int>{1, 1, 0, 1, 1, 1}));
}

// The program's arithmetic on the simulated calibration: the table is continuous, the RMS that
// the program computes is the signal's, and the spectrum holds 50 Hz with 3 % of the third.
TEST(SimReplies, CalibrationAndLiveFrameAreConsistent) {
  ASSERT_EQ(VrxSim_Configure("rms_kv = 10\n"), 1);
  FT_HANDLE handle = OpenLink();
  Bytes params = Exchange(handle, {0x42, 0, 0, 0x19, 0x19}, 98);
  ASSERT_EQ(params.size(), 98u);
  uint16_t a[5], x[5], y[5];
  for (int k = 0; k < 5; ++k) {
    a[k] = Word(params, 20 + 2 * k);
    x[k] = Word(params, 30 + 2 * k);
    y[k] = Word(params, 40 + 2 * k);
    EXPECT_LT(a[k], 32768);
  }
  uint16_t dc = Word(params, 50);
  EXPECT_EQ(x[4], 65535);
  EXPECT_EQ(Word(params, 58 + 4), 65535);  // range 1's last breakpoint
  EXPECT_EQ(int16_t(Word(params, 72)), sim::kZeroOffset);
  EXPECT_NEAR(y[0], a[0] * x[0] / 65536.0, 1);

  Bytes frame = Exchange(handle, {0x42, 0, 0, 0x10, 0xD0}, 8194);
  ASSERT_EQ(frame.size(), 8194u);
  const int n = 4096;
  std::vector<double> s(n);
  double sumSq = 0;
  int peak = 0;
  for (int i = 0; i < n; ++i) {
    s[i] = int16_t(Word(frame, 2 + 2 * i));
    sumSq += s[i] * s[i];
    peak = std::max(peak, std::abs(int(s[i])));
  }
  EXPECT_LT(peak, 16000);  // far from clipping
  // The AC path of the table, as the program runs it for a zero-mean signal.
  uint32_t r2 = uint32_t(std::sqrt(4.0 * std::floor(sumSq / n)));
  int k = 0;
  while (x[k] < r2)
    ++k;
  double xlo = k ? x[k - 1] : 0, ylo = k ? y[k - 1] : 0;
  double rmsKv = (ylo + a[k] * (r2 - xlo) / 65536.0) * 0.01;
  EXPECT_NEAR(rmsKv, 10.0 * std::sqrt(1 + 0.03 * 0.03 + 0.02 * 0.02 + 0.01 * 0.01), 0.1);
  EXPECT_NEAR(std::sqrt(sumSq / n) * dc / 32768 * 0.01, 10.0, 0.1);

  // 5,120 samples a second over 4,096 samples: 1.25 Hz a bin, 50 Hz in bin 40.
  auto bin = [&](int m) {
    std::complex<double> sum;
    for (int i = 0; i < n; ++i)
      sum += s[i] * std::polar(1.0, -2 * kPi * m * i / n);
    return std::abs(sum);
  };
  double fundamental = bin(40);
  EXPECT_GT(fundamental, 50 * bin(38));
  EXPECT_NEAR(bin(120) / fundamental, 0.03, 0.003);
  EXPECT_NEAR(bin(200) / fundamental, 0.02, 0.003);
  EXPECT_NEAR(bin(280) / fundamental, 0.01, 0.003);
}

TEST(SimReplies, MemorySlotsAreDistinctAndFixed) {
  ASSERT_EQ(VrxSim_Configure(""), 1);
  FT_HANDLE handle = OpenLink();
  std::vector<Bytes> slots;
  for (uint8_t slot = 1; slot <= 15; ++slot) {
    slots.push_back(Exchange(handle, {0x42, 0, 0, 0x40, uint8_t(0xD0 + slot)}, 32770));
    ASSERT_EQ(slots.back().size(), 32770u);
    for (size_t other = 0; other + 1 < slots.size(); ++other) {
      EXPECT_NE(slots[other], slots.back()) << int(slot) << " like " << other + 1;
    }
  }
  // The same record comes back on asking again, also after a new configuration.
  ASSERT_EQ(VrxSim_Configure(""), 1);
  handle = OpenLink();
  EXPECT_EQ(Exchange(handle, {0x42, 0, 0, 0x40, 0xD7}, 32770), slots[6]);
  // Live frames differ from one to the next, as a running signal does.
  EXPECT_NE(Exchange(handle, {0x42, 0, 0, 0x10, 0xD0}, 8194),
            Exchange(handle, {0x42, 0, 0, 0x10, 0xD0}, 8194));
}

TEST(SimReplies, ShortAndLongRepliesThenNormal) {
  struct Case {
    const char* scenario;
    std::vector<uint32_t> got;  // of three parameter reads of 98
    uint32_t leftAfterFirst;    // bytes still pending after the first read
  };
  const Case cases[] = {
      {"short_replies = 2\nshort_by = 3\n", {95, 95, 98}, 0},
      {"long_replies = 1\nlong_by = 4\n", {98, 98, 98}, 4},
      {"silent = yes\n", {0, 0, 0}, 0},
  };
  for (const Case& c : cases) {
    ASSERT_EQ(VrxSim_Configure(c.scenario), 1) << c.scenario;
    FT_HANDLE handle = OpenLink();
    std::vector<uint32_t> got;
    for (int i = 0; i < 3; ++i) {
      got.push_back(uint32_t(Exchange(handle, {0x42, 0, 0, 0x19, 0x19}, 98).size()));
      if (i == 0) {
        uint32_t pending = 99;
        EXPECT_EQ(FT_GetQueueStatus(handle, &pending), FT_OK);
        EXPECT_EQ(pending, c.leftAfterFirst) << c.scenario;
      }
    }
    EXPECT_EQ(got, c.got) << c.scenario;
    // The purge before each request took the surplus away.
    EXPECT_EQ(VrxSim_Counter("bytes_out"), c.got[0] + c.got[1] + c.got[2]) << c.scenario;
  }
}

TEST(SimReplies, LinkNotSetToTheInstrumentsRateIsNoise) {
  ASSERT_EQ(VrxSim_Configure(""), 1);
  FT_HANDLE handle = nullptr;
  char description[] = "VRX-470";
  ASSERT_EQ(FT_OpenEx(description, FT_OPEN_BY_DESCRIPTION, &handle), FT_OK);
  EXPECT_TRUE(Exchange(handle, {0x42, 0, 0, 0x19, 0x19}, 98).empty());
  EXPECT_EQ(VrxSim_Counter("bytes_garbled"), 5u);
  EXPECT_EQ(VrxSim_Received(nullptr, 0), 0u);
}

}  // namespace
