// The ten terrain themes of the theme filter (f44 id 17). Each is a compute
// function over the filter's batch: inputs 1 to 3 a colour (8 is full
// intensity), input 4 an altitude; outputs 1 to 3 the colour, passed through
// or blended toward the theme's terrain colours, output 4 the altitude,
// raised where the terrain adds relief. While the document evaluates for
// altitude only (the relief pass) the colour always passes through.
//
// Themes drive the octave drivers with a copy of the document's fractal
// record, fresh for every sample, holding the rotation and body parameters
// the theme sets: the document's own settings never change, and a sample
// never depends on which samples share its batch.
#pragma once

#include "engine/gfunc.h"

// The filter's constants, written at message 8 into the private area.
struct ThemeFilterPrivate
{
  double scale;         // how strongly the relief is added to the altitude
  double level;         // the altitude offset of the theme's transitions
  double frequency;     // base frequency of the terrain bodies
  KVComputeProc theme;  // null until the first message 8
};

void ThemeFilterRocks(gfunc* g);
void ThemeFilterWhiteRocksBeach(gfunc* g);
void ThemeFilterRedBeachRocks(gfunc* g);
void ThemeFilterDensityA(gfunc* g);
void ThemeFilterDensityB(gfunc* g);
void ThemeFilterDensityC(gfunc* g);
void ThemeFilterVeggy(gfunc* g);
void ThemeFilterPineForest(gfunc* g);
void ThemeFilterWideBeach(gfunc* g);
void ThemeFilterErosion(gfunc* g);
