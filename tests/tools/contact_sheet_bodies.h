// contact_sheet --bodies: the terrain lattice helpers and bodies of the
// theme filter, called one at a time, printed for independent checks.
#pragma once

int printTerrainBodies();
