// A batch's own copy of the document's fractal settings, as the octave
// drivers read them.
#pragma once

#include "engine/gfunc.h"

// The document's fractal settings with the document's tables attached: a
// copy, so that what a driver writes into it never reaches the document.
inline fractalsinfos KV_fractalSettings(const gfunc* g)
{
  fractalsinfos fi = g->doc->fractal;
  fi.tables = &g->doc->tables;
  return fi;
}
