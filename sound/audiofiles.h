// Audio files on libsndfile: the sound document record, reading into memory
// or in chunks (with rate conversion by libsamplerate), creating files and
// appending float buffers to them (synchronously, or through a writer thread
// fed by a lock-free ring so that the audio thread never touches the file),
// loop points in the file's instrument data, rate conversion to a new file,
// the open and save dialogs with their hooks, and a waveform overview.
//
// Types: 'AIFF', 'AIFC', 'WAVE', 'caff' (CAF), 'NeXT' (AU), 'MPG3' (MPEG
// layer III, read and written when libsndfile offers it); 'mp4f' and 'm4af'
// (MPEG-4 audio) are read through the movie layer's decoder, never written. 'Sd2f' keeps its format
// and loops in a resource fork, which files here lack: a record of that type is written as 'AIFF'.
// Loops are kept in AIFF (MARK/INST) and WAVE (smpl) files only.
//
// Main thread (or one worker) per open file; xWriteAccess_SoundFile on an
// asynchronous file may run on the audio thread.
#pragma once

#include <cstdint>

#include "foundation/types.h"
#include "imaging/quartz.h"
#include "platform/files.h"
#include "sound/audioformat.h"
#include "sound/rtaudio.h"

// The loop block: one sustain loop at most.
struct SoundLoopBlock
{
  int16_t kind = 1;       // negative: no loop
  int16_t loopCount = 0;  // 0 or 1
  int32_t loopStart = 0;  // frames
  int32_t loopEnd = 0;
  uint16_t loopFields[3] = {};  // 1 and 117 for a loop read from markers
  int16_t entryIds[4] = {};     // loop entries numbered 1 to 4
};

// The sound document record: one audio file, or its folder and name before
// it is saved.
struct soundDocInfos
{
  OSType type = 0;     // 'AIFF', 'WAVE', 'caff', 'Sd2f', ...
  int16_t state = 0;   // 1 new, 3 after the file's information was read
  uint8_t stereo = 0;  // stereo requested by the settings
  uint8_t flag7 = 0;   // cleared when information is read
  Str255 name = {};    // file name
  FileRef file;        // the file, or its folder before saving (empty name)
  uint8_t bigEndian = 0;
  uint8_t interleaved = 0;
  int16_t bytesPerSample = 2;  // 2, 3, 4, or -4 for 32-bit float
  int16_t channels = 0;
  double sampleRate = 0;
  uint32_t frames = 0;
  SoundLoopBlock loop;
};

inline constexpr OSType kSoundCreator = fourcc("QjMs");
// Channels a file may hold here; more are refused.
inline constexpr int16_t kAudioMaxChannels = 16;

// ---- Records, formats, types and names ---------------------------------------

void soundDocInfos_init(soundDocInfos* record, uint32_t frames, uint16_t channels);
void soundDocInfos_setup(soundDocInfos* record, uint16_t stereo, uint16_t flag, uint16_t state,
                         ConstStringPtr name);
// A client format: 4 float (layout 0 mono, 1 stereo non-interleaved, 2
// stereo interleaved), 2 or 3 integer.
void SetAudioFormat(AudioStreamBasicDescription* asbd, int16_t bytesPerSample, uint16_t layout,
                    double rate);
// The file format a record is written in.
void SetAudioDocFormat(const soundDocInfos* record, AudioStreamBasicDescription* asbd);
// The sample size held to what the type stores: 'WAVE' 2..3, 'Sd2f' and
// 'AIFF' 2..4, others unchanged.
int16_t FixsdocDepth(OSType type, int16_t bytes);
// Sets gIOdata's type list: nine types, or the short list of four.
void GetSupportedAudioTypes();
void GetSupportedCoreAudioTypes();
bool isSupportedAudioType(OSType type);
// Removes the name's extension and adds the type's.
void SetSoundEfileExtension(soundDocInfos* record);
// Appends suffix, first dropping up to four characters at the name's end
// that equal the suffix's last characters.
void AddSoundEfileName(soundDocInfos* record, ConstStringPtr suffix);

// ---- Reading -------------------------------------------------------------------

// 0, -1 when the file has no frames, -43 when it can't be opened.
int16_t AUfile_GetInfos(soundDocInfos* record, uint8_t withLoops);
uint32_t Get_SoundFileInfos(const FileRef& file, soundDocInfos* record, uint8_t withLoops);
// Opens for reading; the client format (may be null: the file's own as
// floats) is what reads deliver; fills rate, size, channels and frames.
int32_t OpenInputSoundFile(const FileRef& file, ExtAudioFileRef* out,
                           const AudioStreamBasicDescription* clientFormat, soundDocInfos* record);
// Opens record->file for float reads at rate (interleaved when stereo); the
// record's frames become frames x rate / file rate.
int32_t AUfile_Open(soundDocInfos* record, ExtAudioFileRef* out, double rate);
// Frame-level access to an open file in its client format (floats).
int32_t AUfile_Seek(ExtAudioFileRef file, int64_t frame);  // 0 or -1
uint32_t AUfile_Read(ExtAudioFileRef file, float* dst, uint32_t frames);
void AUfile_Dispose(ExtAudioFileRef* file);
uint32_t AUfile_Channels(ExtAudioFileRef file);

// Whole file into memory: frames x channels floats (dst holds that many).
int32_t AUfile_MemoryRead(soundDocInfos* record, float* dst, uint8_t asFloat);
int32_t AUfile_MemoryReadDUAL(soundDocInfos* record, float* left, float* right, uint8_t asFloat);
// Reads frames from start (nothing past the end); the count read.
uint32_t AUfile_ReadChunk(ExtAudioFileRef file, soundDocInfos* record, float* dst, uint32_t frames,
                          int32_t start);
uint32_t AUfile_ReadChunkDUAL(ExtAudioFileRef file, soundDocInfos* record, float* left,
                              float* right, uint32_t frames, int32_t start);

// ---- Writing -------------------------------------------------------------------

// Replaces any file of that name, creates it in the record's type, sets type
// and creator; warning 1058 string 8 on failure.
int32_t CreateOutputSoundFile(soundDocInfos* record, ExtAudioFileRef* out,
                              const AudioStreamBasicDescription* clientFormat);
// Creates the record's file (ask: the save dialog first); gRTEffect's
// bytesRecorded reset, asyncWrite = async. 0 on failure.
ExtAudioFileRef xCreateAccess_SoundFile(soundDocInfos* record, FileRef* copyOut, uint8_t ask,
                                        uint16_t async);
// Appends frames x channels floats, adds the bytes to *byteCounter.
// Asynchronous files only queue them (no allocation, no lock, no file call).
int32_t xWriteAccess_SoundFile(ExtAudioFileRef file, const float* samples, uint32_t frames,
                               uint32_t* byteCounter);
// Finishes queued writes, closes, saves the record's loop (count >= 1),
// clears recordToFile.
void xCloseAccess_SoundFile(soundDocInfos* record, ExtAudioFileRef* file);
// Writes frames x channels interleaved floats as the whole file.
int32_t AUfile_MemorySave(soundDocInfos* record, const AudioStreamBasicDescription* clientFormat,
                          const AudioBufferList* data);
int32_t AUfile_SaveLoops(soundDocInfos* record);
// A copy of the file at rate ("_RS" added); with replace it takes the
// source's name once complete. Whether the file was written.
bool ConvertSampleRateToDisk(soundDocInfos* record, double rate, uint8_t replace);

// ---- Dialogs, drawing, searching --------------------------------------------------

bool AUfile_Get(soundDocInfos* record, uint8_t shortList);
bool MASTER_SOUNDFILE_GET(FileRef* location, uint8_t shortList);
bool AUfile_Put(soundDocInfos* record, uint8_t ask);
int32_t mySoundDrawPreviewHookProc(OSType type, FileRef* file, Point topLeft, Point bottomRight,
                                   bool click);
int32_t mySoundPutHookProc(OSType type, FileRef* file, Point topLeft, Point bottomRight,
                           bool click);
// The waveform: one column a pixel, min to max of 512 frames; colour
// 0xRRGGBB00 (red in the top byte); background (r, g, b) or null.
void AUfile_qzDraw(CGContextRef ctx, soundDocInfos* record, uint32_t width, uint32_t height,
                   uint32_t colour, const uint8_t* background);
CGImageRef AUfile_BuildRepresentation(soundDocInfos* record, uint32_t width, uint32_t height,
                                      uint32_t colour, const uint8_t* background);
bool SoundFile_Locate(FileRef* result, ConstStringPtr name, const FileRef* lastFolder, int16_t mode,
                      int16_t ask);

// ---- Disk play ---------------------------------------------------------------------

// Plays the whole file modally until a click or its end.
void RT_diskPlay(soundDocInfos* record);
// Opens record's file for disk play on gRTEffect without starting it; a
// reader thread then keeps frames ready for AUfile_diskplayproc until
// AUfile_diskclose (RT_diskPlay closes by itself).
bool AUfile_openprepare(soundDocInfos* record);
void AUfile_diskclose();
// Fill procedures of the disk play: frames from the file (through the
// reader thread's ring); the dual one writes nothing.
void AUfile_diskplayproc(RTinfos* rt, float* buffer, uint32_t frames);
void AUfile_dualdiskplayproc(RTinfos* rt, float* buffer, uint32_t frames);
