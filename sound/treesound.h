// Tree sound: a tree is heard by driving its master x and y along a path in
// time (a circle of radius pi/2 around the view's centre, or a straight
// sweep along x) and playing its output component's values. The sound
// evaluates its own copy of the document (the runtime's `system`) on the
// real-time ring task, 16 samples a batch, while the window animates the
// document itself; each quarter of a fill crossfades from the previous
// animation state to the current one.
#pragma once

#include <cstdint>

#include "engine/world.h"
#include "sound/rtaudio.h"

struct sSoundfunc;

// Sine and cosine of 2 pi i / 4096, built by Kovrelin_SoundInit on request.
extern double* gfsintable;
extern double* gfcostable;

// At launch: the sample rate, the runtime's document block and the
// real-time work block from the memory pool, the output unit; the sine
// tables when asked.
void Kovrelin_SoundInit(uint8_t withTables);
// The memory pool bytes Kovrelin_SoundInit takes (without the tables).
size_t Kovrelin_SoundPoolSize();
// Prepares a play of `doc`: marks it a sound-format document, copies it into
// the runtime and sets the play's length from its animation.
void Kovrelin_SoundSetup(sfuncSystem* doc, KVSoundruntime* rt, sSoundfunc* settings);
// The fill procedure (fillContext: the KVSoundruntime); a null buffer
// rewinds.
void previewplay_KVSound(RTinfos* rt, float* buffer, uint32_t frames);
// Render n frames, mono or interleaved stereo.
void NewSoundproc(KVSoundruntime* rt, uint32_t n, float* dest);
void NewSoundprocStrereo(KVSoundruntime* rt, uint32_t n, float* dest);
// One batch of 16 frames (`channels` floats each) at path time t advancing
// by step; the advanced path time.
double newsoundevaluate(sfuncSystem* system, sSoundfunc* settings, double step, double t,
                        float* dest, int channels);
// One batch of the output component's values to samples, clipped to
// [-1, 1], as its family's table row says; a mono row written into a stereo
// destination fills both channels, a stereo row into a mono one its left.
void fDIRECTsound(const gfunc* output, float* dest, int channels);
// Whether the output family plays as stereo frames.
bool KV_soundIsStereo(uint16_t outputKind);
// One evaluation of every component, without path or output.
void SndTreeEvaluate(sfuncSystem* system);
// The output component of a document (null when it has none).
const gfunc* KV_soundOutput(const sfuncSystem* system);
