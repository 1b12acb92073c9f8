#include "foundation/housekeeping.h"

void CleanMemory() {}

void Crunch() {}

void CrunchMemAndSysMem() {}
