// The lookup tables every noise, basis and cell function reads (`KVtables`),
// and the parameter record of the octave drivers (`fractalsinfos`). Both are
// the last two members of the document record; a document copy made for a
// render or sound task ends where `sinTable` begins.
#pragma once

#include <cstdint>

#include "foundation/types.h"

struct KVtables
{
  cpalette gradientKeys;      // the document palette, saved in tree files
  int32_t perm[1025];         // permutation of 0..1023; perm[1024] == perm[0]
  float grad2D[1025][2];      // components in [-511.5, 511.5]; entry 1024 repeats 0
  float unitDir2D[257][2];    // length-0.25 directions; pair 256 repeats pair 0
  double rndVec3D[1026][3];   // components in [-1, 0.998046875]; 1024, 1025 repeat 0, 1
  double planeVec3D[257][3];  // cosine, sine, offset; entry 256 repeats 0
  double sinTable[4096];      // first half turn of the sine, 8192 steps a turn
};

struct fractalsinfos
{
  int16_t reliefPass = 0;  // the evaluators' relief-pass word
  int16_t octaves = 16;    // maximum number of full octaves
  double phaseFactor = 1.33;
  double rotSin = 0.5;
  double rotCos = 0.866025;
  double paramA = 0, paramB = 0, paramC = 0;
  double accumulator = 0;
  double secondOutput = 0;
  double lacunarity = 2.0943951024;
  double fade = 0.5225351707258652;
  const double* nodeParams = nullptr;  // parameters of the calling component
  KVtables* tables = nullptr;          // the owning document's tables
};
