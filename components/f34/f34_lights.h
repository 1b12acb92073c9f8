// Lattice patterns of rectangles and lights on the plane of inputs 1 and 2,
// input 3 their seed or lit level: Mondrian rectangles cross-fading between
// layouts, city windows switching on, and arrays of round and square LEDs
// whose light adds up across a doubled lattice. Output 4 is a height or the
// accumulated light.
#pragma once

#include "components/common/member.h"

void f34_mondrian(gfunc* g);
void f34_citylights(gfunc* g);
void f34_litLedround(gfunc* g);
void f34_litLedsquare(gfunc* g);

int16_t f34_mondrian_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f34_citylights_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f34_litLedround_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f34_litLedsquare_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);

void f34_mondrian_prepare(gfunc* g);
void f34_citylights_prepare(gfunc* g);
void f34_litLedround_prepare(gfunc* g);
void f34_litLedsquare_prepare(gfunc* g);

// The record the window and LED cell routines read: their colours (0..255)
// and the member's constants.
struct F34lightRecord
{
  double colours[5][3];  // windows: three cycle colours; LEDs: the five-entry gradient
  double amplitude;      // windows: A, the tint amplitude base
  double litFactor;      // windows: A / 2
  double style;          // square LEDs: B, the morph between the fixed patterns
};

// An accumulator of colour (0..255) and height that the cell routines add
// into.
struct F34lightAcc
{
  double r = 0, g = 0, b = 0, h = 0;
};

// One window of z matrix lights at local (u, v) in -1..1 of cell (ix, iy),
// lit level z: blends the window into acc by height; colours only with
// `colour` set. Returns 1 when the window adds to acc.
int32_t citywindows(const KVtables* t, bool colour, double u, double v, double z, int32_t ix,
                    int32_t iy, const F34lightRecord& rec, F34lightAcc& acc);

// One round LED of cell (ix, iy) at local (u, v): adds its light into acc.
int32_t f2dregionLights(const KVtables* t, double u, double v, double z, int32_t ix, int32_t iy,
                        const F34lightRecord& rec, F34lightAcc& acc);

// One square LED of cell (ix, iy) at local (u, v): adds its light into acc.
int32_t f2dregionSQled(const KVtables* t, double u, double v, double z, int32_t ix, int32_t iy,
                       const F34lightRecord& rec, F34lightAcc& acc);

namespace f34lights {
inline constexpr KVparamDesc kAmplitude{.label = "Amplitude ", .k = 2};
inline constexpr KVparamDesc kCycle{.label = "Color Cycle ", .k = 1};
inline constexpr KVparamDesc kFrequency{.label = "Frequency ", .k = 16};
}  // namespace f34lights

inline constexpr KVmemberDesc kF34_mondrian{
    .id = 7,
    .computeName = "f34_mondrian",
    .name = " Mondrian ",
    .compute = f34_mondrian,
    .handler = f34_mondrian_handler,
    .params = {f34lights::kAmplitude, f34lights::kCycle, f34lights::kFrequency},
    .defaults = {1, 0.5, 4},
    .on8 = f34_mondrian_prepare,
};

inline constexpr KVmemberDesc kF34_citylights{
    .id = 22,
    .computeName = "f34_citylights",
    .name = " z matrix lights ",
    .compute = f34_citylights,
    .handler = f34_citylights_handler,
    .params = {f34lights::kAmplitude, f34lights::kCycle, f34lights::kFrequency},
    .defaults = {1, 0.5, 4},
    .on8 = f34_citylights_prepare,
};

inline constexpr KVmemberDesc kF34_litLedround{
    .id = 6,
    .computeName = "f34_litLedround",
    .name = " z LED Array",
    .compute = f34_litLedround,
    .handler = f34_litLedround_handler,
    .params = {f34lights::kAmplitude, {.label = "Style ", .k = 1}, f34lights::kFrequency},
    .defaults = {1, 0.5, 4},
    .on8 = f34_litLedround_prepare,
};

inline constexpr KVmemberDesc kF34_litLedsquare{
    .id = 21,
    .computeName = "f34_litLedsquare",
    .name = " z Square LEDs",
    .compute = f34_litLedsquare,
    .handler = f34_litLedsquare_handler,
    .params = {f34lights::kAmplitude, f34lights::kCycle, f34lights::kFrequency},
    .defaults = {1, 0.5, 2},
    .on8 = f34_litLedsquare_prepare,
};
