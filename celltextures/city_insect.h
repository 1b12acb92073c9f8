// The insect city plan: whole-unit 32-unit blocks whose 16-unit parcels
// carry one of 25 small symmetric building motifs, heights in eighths.
#pragma once

#include <cstdint>

#include "celltextures/celltexture2d.h"

// Streets return -0.25 with code -1, street origin lines and alley centres
// -1 with code -2; kerbs, alley bands and parcel borders 0; motifs 0..~5.
// Everywhere off the streets the code is block type t + 8 x (g & 31), g the
// parcel hash plus t. Writes the code.
double LABTXT_InsectCity(const KVtables* t, int32_t x, int32_t y, int16_t* code);
