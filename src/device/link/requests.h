// The instrument's two requests: calibration constants and one waveform frame.
#pragma once

#include <cstdint>

#include "meas_record.h"

constexpr int kRequestLength = 5;
constexpr int kParameterReplyLength = 98;
constexpr int kMaxFrameLength = 2 * kMaxSamples + 2;  // 32,770: the largest frame
constexpr uint32_t kParameterRetryMs = 700;
constexpr uint32_t kFrameRetryMs = 100;

// The five request bytes.
void BuildParameterRequest(uint8_t request[kRequestLength]);
void BuildWaveformRequest(uint8_t request[kRequestLength], int32_t log2N, uint8_t slot);

// Length of a waveform reply: a header word and 2^log2N samples.
int32_t WaveformReplyLength(int32_t log2N);

// Decoding a complete reply into the record; nothing else of the record changes.
void DecodeParameterReply(const uint8_t reply[kParameterReplyLength], TMeasRecord& record);
void DecodeWaveformReply(const uint8_t* reply, int32_t sampleCount, TMeasRecord& record);

// The exchanges alone: each sends its request until a whole reply has come, pausing 700 ms
// (parameters) or 100 ms (frames) between attempts. FetchFrame refuses, with no traffic, a length
// the request cannot carry (2^log2N outside 256 to 16,384); the reply buffer holds 32,770 bytes.
void FetchKalibr(uint8_t reply[kParameterReplyLength]);
bool FetchFrame(int32_t log2N, uint8_t slot, uint8_t reply[kMaxFrameLength]);

// Sends the parameter request until 98 bytes come, then stores the calibration groups and the
// zero offset. Always 0.
int32_t ReadKalibr(TMeasRecord* record);

// Sends the waveform request for the record's own 2^log2N samples of `slot` (0 live, 1 to 15 the
// instrument's memory) until a whole frame comes, then stores range, divider and samples. Always 0.
// Both decode under the record's lock; a record of a length the request cannot carry is left alone.
int32_t ReadSignal(TMeasRecord* record, uint8_t slot);
