// Standard video formats, the still-compression settings of written movies,
// and conversions between milliseconds, frames and SMPTE time. Frame rates
// are hundredths of frames per second (2500 = 25 fps). Pure functions except
// the settings record; main thread.
#pragma once

#include <cstdint>

#include "foundation/types.h"

// Still-compression settings of written movies: codec type, codec (0: any),
// depth, spatial quality.
struct KVspatialSettings
{
  OSType codecType;
  int32_t codec;
  int16_t depth;
  int32_t spatialQuality;
};
extern KVspatialSettings gSCSpatialSettings;

// 'rle ', any codec, depth 24, quality 512.
void KV_defaultSpatialSettings(KVspatialSettings* settings);

inline constexpr int16_t kVideoFormatCount = 19;  // 0 (custom) to 18

// The standard format of a display size (with the frame size and rate where
// the table needs them); 0 for anything else.
int16_t FindSTDVideoFormatIndex(int16_t frameWidth, int16_t frameHeight, int16_t displayWidth,
                                int16_t displayHeight, double rate);
// The table row of `index`: frame size always, display size and rate when
// asked for (the rate only for formats that set one). 0 for index 0 (nothing
// written) and for an index outside the table, else 1.
int16_t GetSTDVideoFormatInfos(int16_t index, int16_t* frameWidth, int16_t* frameHeight,
                               int16_t* displayWidth, int16_t* displayHeight, double* rate);

// SMPTE time, packed: minutes in the low 16 bits, seconds in the next 16,
// frames in the high 32.
struct KVsmpte
{
  int16_t minutes;
  int16_t seconds;
  int32_t frames;
};
uint64_t KV_packSMPTE(const KVsmpte& t);
KVsmpte KV_unpackSMPTE(uint64_t packed);

int32_t mstoframe(int32_t ms, int32_t rate100);
uint64_t msToSMPTE(int32_t ms, int32_t rate100);
uint64_t fToSMPTE(int32_t frame, int32_t rate100);
void maxSMPTE(KVsmpte* time, int32_t rate100, int32_t maximumMs);
