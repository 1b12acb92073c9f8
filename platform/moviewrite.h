// Writing movie files and reading movie sound, over FFmpeg (the QuickTime
// container, the mov muxer).
//
// A MovieWriter builds a movie the way a movie is edited: tracks are added
// one after the other, each filled with its samples, and the file is made
// when the movie is finished. Until then every track's compressed samples
// wait in a temporary file of their own, so a sound track may be added after
// the video track is complete. The finished movie is written beside the
// destination and renamed over it: a failed write leaves an older file as it
// was.
//
// Video tracks encode 32-bit pixels (bytes alpha, red, green, blue) with the
// encoder of a codec type: 'rle ' qtrle, 'jpeg' mjpeg, 'png ' png, 'mp4v'
// mpeg4. Sound tracks hold big-endian signed 16-bit samples ('twos').
//
// No library type appears here. One writer is used by one thread at a time.
#pragma once

#include <cstdint>
#include <string>

namespace kvmovie {

class MovieWriter;

// True when a video track can be written with this codec type.
bool canWriteVideoCodec(uint32_t codecType);

// Starts a movie that finishMovie will write to `path`; null, with the
// reason, when no temporary storage can be made.
MovieWriter* createMovieWriter(const std::string& path, std::string* why = nullptr);

// Adds a video track of width x height pixels whose times count `timeScale`
// units a second (the file keeps that time scale). Its index, or -1 for a
// size outside 1 .. 32,767 or a time scale below 1.
int addVideoTrack(MovieWriter* writer, int32_t width, int32_t height, int32_t timeScale,
                  std::string* why = nullptr);

// Shows the video track's picture of width x height pixels in the
// rectangle left, top, right, bottom of the movie (the track matrix: a scale
// and a move). False for an empty rectangle or a value beyond 16 bits.
bool setVideoTrackPlacement(MovieWriter* writer, int track, int32_t left, int32_t top,
                            int32_t right, int32_t bottom, std::string* why = nullptr);

// Opens the track's encoder: `codecType` as above, `depth` 32 keeps the
// alpha channel where the codec can (qtrle, png), `quality` 0 .. 1023 is
// mapped onto the quantiser of the lossy codecs (1023 the finest, 0 the
// coarsest; qtrle and png are lossless and ignore it). False for another
// codec type or an encoder that does not open.
bool beginVideoEncoding(MovieWriter* writer, int track, uint32_t codecType, int16_t depth,
                        int32_t quality, std::string* why = nullptr);

enum class SampleResult
{
  Added,
  EncodeFailed,  // the encoder refused the frame
  StoreFailed,   // the compressed sample could not be kept
};

// Encodes one frame of the track's size (rows `rowBytes` apart) lasting
// `duration` units.
SampleResult addVideoFrame(MovieWriter* writer, int track, const uint8_t* argb, int32_t rowBytes,
                           int32_t duration, std::string* why = nullptr);

// Drains the track's encoder; false when that fails.
bool endVideoEncoding(MovieWriter* writer, int track, std::string* why = nullptr);

// Adds a 'twos' sound track of `channels` (1 .. 16) at `sampleRate` (1 ..
// 384,000), its time scale; its index or -1.
int addSoundTrack(MovieWriter* writer, int16_t channels, int32_t sampleRate,
                  std::string* why = nullptr);

// Appends `frames` frames of interleaved native-endian 16-bit samples.
bool addSoundFrames(MovieWriter* writer, int track, const int16_t* samples, int32_t frames,
                    std::string* why = nullptr);

// Writes the movie file and frees the writer (also on failure, when the
// destination is left as it was).
bool finishMovie(MovieWriter* writer, std::string* why = nullptr);

// Frees the writer without writing anything.
void discardMovie(MovieWriter* writer);

// True when AIFF files can be written (convertSoundToAiff).
bool canWriteAiff();

// Decodes sound track `track` (0-based stream index) of the file at `path`
// into an AIFF file of 2 channels of 16-bit samples at `sampleRate`,
// written beside `out` and renamed onto it. False, with no file made, when
// the track is not sound or cannot be decoded.
bool convertSoundToAiff(const std::string& path, int track, const std::string& out,
                        int32_t sampleRate, std::string* why = nullptr);

// Reads `count` sample frames from frame `first` of sound track `track`, at
// the track's own rate, as interleaved 16-bit samples of `channels` (1 ..
// 16; the track's channels are mixed or spread onto them) into `out` (room
// for count x channels samples). The frames read (fewer at the end of the
// track), or -1 when the track cannot be decoded.
int64_t readSoundFrames(const std::string& path, int track, int16_t channels, int64_t first,
                        int32_t count, int16_t* out, std::string* why = nullptr);

// ---- Sound files that libsndfile does not read (MPEG-4 audio) ----

// A file's best sound track, decoded in order as interleaved float frames at
// the track's own rate and channels.
class SoundStream;

struct SoundStreamInfo
{
  int16_t channels = 0;        // 1 .. 16
  int32_t sampleRate = 0;      // 1 .. 384,000
  int64_t frames = 0;          // frames the track decodes to
  int16_t bytesPerSample = 2;  // of the samples before decoding: 2, 3, 4, -4 float
};

// Opens the stream and counts its frames by decoding it once; null, with the
// reason, when the file has no sound track that decodes, or more than 16
// channels.
SoundStream* openSoundStream(const std::string& path, SoundStreamInfo* info,
                             std::string* why = nullptr);
// Reads up to `frames` frames into `out` (room for frames x channels): the
// frames read, 0 at the end, -1 on a failure.
int64_t readSoundStream(SoundStream* stream, float* out, int64_t frames);
// Makes `frame` the next frame read, decoding from the start when it lies
// behind; false past the end.
bool seekSoundStream(SoundStream* stream, int64_t frame);
void closeSoundStream(SoundStream* stream);

}  // namespace kvmovie
