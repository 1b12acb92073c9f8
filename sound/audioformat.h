// Sample formats of audio files and of the buffers handed to them, the open
// file handle and the buffer list the disk player reads into. Kept apart from
// sound/audiofiles.h so that the real-time record can hold them.
#pragma once

#include <cstdint>

// A sample format: rate, codes and sizes of one frame. Flag bits: 1 float,
// 2 big-endian, 4 signed integer, 8 packed, 32 non-interleaved.
struct AudioStreamBasicDescription
{
  double sampleRate = 0;
  uint32_t formatID = 0;  // 'lpcm'
  uint32_t formatFlags = 0;
  uint32_t bytesPerPacket = 0;
  uint32_t framesPerPacket = 0;
  uint32_t bytesPerFrame = 0;
  uint32_t channelsPerFrame = 0;
  uint32_t bitsPerChannel = 0;
  uint32_t reserved = 0;
};

inline constexpr uint32_t kAudioFlagFloat = 1;
inline constexpr uint32_t kAudioFlagBigEndian = 2;
inline constexpr uint32_t kAudioFlagSignedInteger = 4;
inline constexpr uint32_t kAudioFlagPacked = 8;
inline constexpr uint32_t kAudioFlagNonInterleaved = 32;

// An open audio file (reading or writing); made by the functions of
// sound/audiofiles.h, never shared between two threads at once except
// through the asynchronous writer.
struct KVaudioFile;
using ExtAudioFileRef = KVaudioFile*;

// The buffer the disk player reads into: float frames, interleaved when
// stereo, and the bytes it holds.
struct AudioBufferList
{
  float* data = nullptr;
  uint32_t dataByteSize = 0;
  uint32_t channels = 0;
};
