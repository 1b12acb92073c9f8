// The f24 fractal-noise members: sixteen coloured reliefs (outputs 1 to 3
// R, G, B with 8 full intensity, output 4 an altitude). Fifteen run an octave
// driver of the noise library with a body of f24_octavebodies.h; " Time
// R-patchwork" calls the library's patchwork directly.
//
// The frame: each driver member is one row (F24fractalRow) that names its
// driver and body, the shape value w, the start frequency k2 (precomputed at
// message 8), the band limit as a factor of the document's pixel density,
// the gain, the settings of the fractal record changed for the call (put back
// after it on every path), what it sets before the call, and how the
// accumulator becomes the four outputs. One generic compute runs a row over a
// batch. The body parameters P1 and P2 (fractalsinfos::paramA, paramB) that a
// member writes stay in the record.
#pragma once

#include <cstdint>

#include "components/common/member.h"
#include "components/f24/f24_pvt.h"
#include "noise/multifractal.h"

// ---- The frame ------------------------------------------------------------------------

enum class F24driver : uint8_t
{
  fourValue,      // MFPV4d_procptr, phase 0, z 0
  swapTurnMode0,  // MFPsw_procptr mode 0
  swapTurnMode2,  // MFPsw_procptr mode 2
};

// L0: altitude in element 0, R, G, B in 1 to 3. L3: R, G, B in 0 to 2,
// altitude in 3.
enum class F24layout : uint8_t
{
  L0,
  L3,
};

// Settings of the fractal record for one driver call; 0 keeps the
// document's value.
struct F24callSettings
{
  int16_t octaves = 0;
  double lacunarity = 0;
  double fade = 0;  // the band fade divisor, 1 - 1 / lacunarity
};

// Sets a call's settings and puts the octave count, lacunarity and fade back
// when it goes out of scope.
class F24settingsScope
{
public:
  F24settingsScope(fractalsinfos* F, const F24callSettings& s);
  ~F24settingsScope();
  F24settingsScope(const F24settingsScope&) = delete;
  F24settingsScope& operator=(const F24settingsScope&) = delete;

private:
  fractalsinfos* F_;
  int16_t octaves_;
  double lacunarity_, fade_;
};

// What a member sets once per batch (P1, P2), and per sample before its main
// call (P1, P2, or a displacement pass that moves the point).
using F24beforeBatch = void (*)(fractalsinfos* F, const F24constants& k);
using F24beforeSample = void (*)(fractalsinfos* F, const F24constants& k, double B, double R,
                                 double& x, double& y);

struct F24fractalRow
{
  FractalOctaveProcRecord4 body;
  F24driver driver = F24driver::fourValue;
  double wB = 1, wConst = 0;  // w = wB B + wConst ...
  bool wIsK3 = false;         // ... or w = k3
  double f0Scale = 1;         // f0 = f0Scale k2
  double fmaxFactor = 0.5;    // fmax = fmaxFactor R
  double gain = 0.5;
  F24callSettings settings{};
  F24layout layout = F24layout::L0;
  double altitudeShift = 0;  // output 4 = k0 (altitude - altitudeShift)
  bool clipColour = false;   // colour outputs 8 max(c, 0)
  bool testsMarker = true;   // x at the no-value marker gives four markers
  F24beforeBatch beforeBatch = nullptr;
  F24beforeSample beforeSample = nullptr;
};

// The four outputs of one sample at (x, y): R is the pixel density, B the
// member's parameter B.
F24quad f24_fractalSample(fractalsinfos* F, const F24fractalRow& row, const F24constants& k,
                          double B, double R, double x, double y);
// The row over the batch of g.
void f24_fractalFrame(gfunc* g, const F24fractalRow& row);

// ---- The members ----------------------------------------------------------------------

void f24_ridgednoise(gfunc* g);
void f24_fractalFacets(gfunc* g);
void f24_lunargranit(gfunc* g);
void f24_lichenrocks(gfunc* g);
void f24_dunes(gfunc* g);
void f24_rocks(gfunc* g);
void f24_beachrocks(gfunc* g);
void f24_domerocknoise(gfunc* g);
void f24_multifractal(gfunc* g);
void f24_sparceMF(gfunc* g);
void f24_fractcurves(gfunc* g);
void f24_fractfutur(gfunc* g);
void f24_earthrocks(gfunc* g);
void f24_Technoid(gfunc* g);
void f24_rivernetwork(gfunc* g);
void f24_fractalclouds(gfunc* g);

int16_t f24_ridgednoise_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f24_fractalFacets_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f24_lunargranit_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f24_lichenrocks_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f24_dunes_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f24_rocks_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f24_beachrocks_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f24_domerocknoise_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f24_multifractal_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f24_sparceMF_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f24_fractcurves_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f24_fractfutur_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f24_earthrocks_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f24_Technoid_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f24_rivernetwork_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f24_fractalclouds_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);

// Message 8: the constants k0.. of each member into f24_k(g).
void f24_ridgednoise_prepare(gfunc* g);
void f24_fractalFacets_prepare(gfunc* g);
void f24_lunargranit_prepare(gfunc* g);
void f24_multifractal_prepare(gfunc* g);
void f24_domerocknoise_prepare(gfunc* g);
void f24_sparceMF_prepare(gfunc* g);
void f24_fractfutur_prepare(gfunc* g);
void f24_dunes_prepare(gfunc* g);
void f24_lichenrocks_prepare(gfunc* g);
void f24_beachrocks_prepare(gfunc* g);
void f24_unitFrequency_prepare(gfunc* g);  // Rocks, Fractal Curves, Earth Cracks
void f24_rivernetwork_prepare(gfunc* g);
void f24_fractalclouds_prepare(gfunc* g);
void f24_Technoid_prepare(gfunc* g);

// The parameter maps the members share; B is always B = n.
namespace f24fractal {

inline constexpr KVparamDesc kAmplitude32{.label = "Amplitude ", .k = 32, .c = -16};
inline constexpr KVparamDesc kAmplitude16{.label = "Amplitude ", .k = 16, .c = -8};
inline constexpr KVparamDesc kAmplitude8{.label = "Amplitude ", .k = 8};
inline constexpr KVparamDesc kAmplitude16n{.label = "Amplitude ", .k = 16};
inline constexpr KVparamDesc kFrequency16{.label = "Frequency ", .k = 16};

constexpr KVparamDesc unitParam(std::string_view label)
{
  return {.label = label, .k = 1};
}

}  // namespace f24fractal

inline constexpr KVmemberDesc kF24_ridgednoise{
    .id = 10,
    .computeName = "f24_ridgednoise",
    .name = " Ridged noise ",
    .compute = f24_ridgednoise,
    .handler = f24_ridgednoise_handler,
    .params = {f24fractal::kAmplitude32, f24fractal::unitParam("Roughness "),
               f24fractal::kFrequency16},
    .defaults = {1, 0.5, 1},
    .freqFlag = 1,
    .on8 = f24_ridgednoise_prepare,
};

inline constexpr KVmemberDesc kF24_fractalFacets{
    .id = 11,
    .computeName = "f24_fractalFacets",
    .name = " Fractal facets",
    .compute = f24_fractalFacets,
    .handler = f24_fractalFacets_handler,
    .params = {f24fractal::kAmplitude32, f24fractal::unitParam("Roughness "),
               f24fractal::kFrequency16},
    .defaults = {2, 0.25, 1},
    .freqFlag = 1,
    .on8 = f24_fractalFacets_prepare,
};

inline constexpr KVmemberDesc kF24_lunargranit{
    .id = 12,
    .computeName = "f24_lunargranit",
    .name = " Lunar Granite noise ",
    .compute = f24_lunargranit,
    .handler = f24_lunargranit_handler,
    .params = {f24fractal::kAmplitude8, f24fractal::unitParam("Roughness "),
               f24fractal::kFrequency16},
    .defaults = {4, 0.5, 2},
    .freqFlag = 1,
    .on8 = f24_lunargranit_prepare,
};

inline constexpr KVmemberDesc kF24_lichenrocks{
    .id = 13,
    .computeName = "f24_lichenrocks",
    .name = " Lichen rocks ",
    .compute = f24_lichenrocks,
    .handler = f24_lichenrocks_handler,
    .params = {f24fractal::kAmplitude32, f24fractal::unitParam("Amount "),
               f24fractal::kFrequency16},
    .defaults = {1, 0.5, 1},
    .freqFlag = 1,
    .on8 = f24_lichenrocks_prepare,
};

inline constexpr KVmemberDesc kF24_dunes{
    .id = 25,
    .computeName = "f24_dunes",
    .name = " Dunes ",
    .compute = f24_dunes,
    .handler = f24_dunes_handler,
    .params = {f24fractal::kAmplitude32, f24fractal::unitParam("Amount "),
               f24fractal::kFrequency16},
    .defaults = {2, 0.12, 2},
    .on8 = f24_dunes_prepare,
};

inline constexpr KVmemberDesc kF24_rocks{
    .id = 26,
    .computeName = "f24_rocks",
    .name = " Rocks ",
    .compute = f24_rocks,
    .handler = f24_rocks_handler,
    .params = {f24fractal::kAmplitude32, f24fractal::unitParam("Amount "),
               f24fractal::kFrequency16},
    .defaults = {1, 0.5, 1},
    .freqFlag = 1,
    .on8 = f24_unitFrequency_prepare,
};

inline constexpr KVmemberDesc kF24_beachrocks{
    .id = 27,
    .computeName = "f24_beachrocks",
    .name = " Pebbles ",
    .compute = f24_beachrocks,
    .handler = f24_beachrocks_handler,
    .params = {f24fractal::kAmplitude16n, f24fractal::unitParam("Roughness "),
               f24fractal::kFrequency16},
    .defaults = {1, 0.5, 2},
    .freqFlag = 1,
    .on8 = f24_beachrocks_prepare,
};

inline constexpr KVmemberDesc kF24_domerocknoise{
    .id = 30,
    .computeName = "f24_domerocknoise",
    .name = " Dome Rock ",
    .compute = f24_domerocknoise,
    .handler = f24_domerocknoise_handler,
    .params = {f24fractal::kAmplitude32, f24fractal::unitParam("Amount "),
               f24fractal::kFrequency16},
    .defaults = {4, 0, 2},
    .freqFlag = 1,
    .on8 = f24_domerocknoise_prepare,
};

inline constexpr KVmemberDesc kF24_multifractal{
    .id = 31,
    .computeName = "f24_multifractal",
    .name = " MultiFractal noise ",
    .compute = f24_multifractal,
    .handler = f24_multifractal_handler,
    .params = {f24fractal::kAmplitude8, f24fractal::unitParam("Roughness "),
               f24fractal::kFrequency16},
    .defaults = {4, 0.5, 2},
    .freqFlag = 1,
    .on8 = f24_multifractal_prepare,
};

inline constexpr KVmemberDesc kF24_sparceMF{
    .id = 39,
    .computeName = "f24_sparceMF",
    .name = " Sparse MultiFractal ",
    .compute = f24_sparceMF,
    .handler = f24_sparceMF_handler,
    .params = {f24fractal::kAmplitude32, f24fractal::unitParam("Roughness "),
               f24fractal::kFrequency16},
    .defaults = {4, 0.5, 2},
    .freqFlag = 1,
    .on8 = f24_sparceMF_prepare,
};

inline constexpr KVmemberDesc kF24_fractcurves{
    .id = 46,
    .computeName = "f24_fractcurves",
    .name = " Fractal Curves ",
    .compute = f24_fractcurves,
    .handler = f24_fractcurves_handler,
    .params = {f24fractal::kAmplitude32, f24fractal::unitParam("Amount "),
               f24fractal::kFrequency16},
    .defaults = {1, 0.5, 1},
    .freqFlag = 1,
    .on8 = f24_unitFrequency_prepare,
};

inline constexpr KVmemberDesc kF24_fractfutur{
    .id = 47,
    .computeName = "f24_fractfutur",
    .name = " Random Domes",
    .compute = f24_fractfutur,
    .handler = f24_fractfutur_handler,
    .params = {f24fractal::kAmplitude16, f24fractal::unitParam("Dome Shape "),
               f24fractal::kFrequency16},
    .defaults = {2, 0.5, 2},
    .freqFlag = 1,
    .on8 = f24_fractfutur_prepare,
};

inline constexpr KVmemberDesc kF24_earthrocks{
    .id = 48,
    .computeName = "f24_earthrocks",
    .name = " Earth Cracks ",
    .compute = f24_earthrocks,
    .handler = f24_earthrocks_handler,
    .params = {f24fractal::kAmplitude32, f24fractal::unitParam("Amount "),
               f24fractal::kFrequency16},
    .defaults = {1, 0.5, 1},
    .freqFlag = 1,
    .on8 = f24_unitFrequency_prepare,
};

inline constexpr KVmemberDesc kF24_Technoid{
    .id = 52,
    .computeName = "f24_Technoid",
    .name = " Time R-patchwork",
    .compute = f24_Technoid,
    .handler = f24_Technoid_handler,
    .params = {{.label = "Amplitude ", .k = 1},
               f24fractal::unitParam("Sharpness % "),
               {.label = "Frequency ", .k = 8}},
    .defaults = {0.25, 0.25, 1},
    .on8 = f24_Technoid_prepare,
};

inline constexpr KVmemberDesc kF24_rivernetwork{
    .id = 53,
    .computeName = "f24_rivernetwork",
    .name = " Vein network ",
    .compute = f24_rivernetwork,
    .handler = f24_rivernetwork_handler,
    .params = {f24fractal::kAmplitude8, f24fractal::unitParam("Roughness "),
               f24fractal::kFrequency16},
    .defaults = {2, 0.5, 1},
    .freqFlag = 1,
    .inputCode = kConnThreeOut,
    .on8 = f24_rivernetwork_prepare,
};

inline constexpr KVmemberDesc kF24_fractalclouds{
    .id = 54,
    .computeName = "f24_fractalclouds",
    .name = " Fractal Shaded Clouds ",
    .compute = f24_fractalclouds,
    .handler = f24_fractalclouds_handler,
    .params = {{.label = "Amplitude ", .k = 4},
               f24fractal::unitParam("Shadow offset % "),
               f24fractal::kFrequency16},
    .defaults = {2, 0.5, 2},
    .freqFlag = 1,
    .on8 = f24_fractalclouds_prepare,
};
