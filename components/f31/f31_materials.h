// f31 members that model natural materials on the fractal drivers: stratified
// rock, puffy and altocumulus clouds, an ocean surface (swell plus ridged
// wavelets), silex (a smooth minimum over noise octaves) and stone clusters
// on a ground of altitude z. Also their per-octave bodies.
#pragma once

#include "components/f31/f31_pvt.h"
#include "foundation/types.h"

void f31_stratanoise(gfunc* g);
void f31_puffyClouds(gfunc* g);
void f31_altocumulus(gfunc* g);
void f31_ocean(gfunc* g);
void f31_fractsilex(gfunc* g);
void f31_stonescluster(gfunc* g);

int16_t f31_stratanoise_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f31_puffyClouds_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f31_altocumulus_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f31_ocean_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f31_fractsilex_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f31_stonescluster_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);

void f31_stratanoise_precompute(gfunc* g);
void f31_puffyClouds_precompute(gfunc* g);
void f31_altocumulus_precompute(gfunc* g);
void f31_ocean_precompute(gfunc* g);
void f31_fractsilex_precompute(gfunc* g);
void f31_stonescluster_precompute(gfunc* g);

// Per-octave bodies.
double fpnoise3d_stratopuffycumulus(fractalsinfos* fi, double x, double y, double z, double w,
                                    double* state, short j);
// Reads the banding value the member left in fi->paramA.
double fpnoise3d_altocumulus(fractalsinfos* fi, double x, double y, double z, double w,
                             double* state, short j);
double oceanwavelets(fractalsinfos* fi, double x, double y, double z, double w, double* state,
                     short j);
// Octave 0 writes fi->paramA and fi->paramB; later octaves read them back.
double fpnoise_zstonescluster(fractalsinfos* fi, double x, double y, double w, double* state,
                              short j);
bool fpsSilex(fractalsinfos* fi, double x, double y, double z, double w, double* state, double a,
              short j, dvector2d* acc);

// The ridged wavelet gradient noise of `oceanwavelets` (unscaled); 0 beyond
// the integer range.
double f31_waveletNoise(const KVtables* t, double x, double y, double z);

// The value of `oceanwavelets` at a zero of its noise (octave 0).
inline constexpr double kF31waveletCap = 0.9621212121212122 * 0.9621212121212122;

inline constexpr KVmemberDesc kF31_stratanoise{
    .id = 29,
    .computeName = "f31_stratanoise",
    .name = " 3D Stratified noise",
    .compute = f31_stratanoise,
    .handler = f31_stratanoise_handler,
    .params = {{.label = "Amplitude ", .k = 4},
               {.label = "Distortion ", .k = 16, .c = -8},
               {.label = "Frequency ", .k = 8}},
    .defaults = {2, 1, 1.5},
    .freqFlag = 1,
    .inputCode = kF31noiseInput,
    .on8 = f31_stratanoise_precompute,
};

inline constexpr KVmemberDesc kF31_stonescluster{
    .id = 48,
    .computeName = "f31_stonescluster",
    .name = " z Stone Clusters ",
    .compute = f31_stonescluster,
    .handler = f31_stonescluster_handler,
    .params = {{.label = "Amplitude ", .k = 16}, kF31phase64, kF31frequency32},
    .defaults = {1, 0, 4},
    .freqFlag = 1,
    .on8 = f31_stonescluster_precompute,
};

inline constexpr KVmemberDesc kF31_puffyClouds{
    .id = 49,
    .computeName = "f31_puffyClouds",
    .name = " 3D Fractal Puffy Clouds",
    .compute = f31_puffyClouds,
    .handler = f31_puffyClouds_handler,
    .params = {kF31amplitude8, kF31phase64, kF31frequency8},
    .defaults = {1, 0, 1},
    .freqFlag = 1,
    .inputCode = kF31noiseInput,
    .on8 = f31_puffyClouds_precompute,
};

inline constexpr KVmemberDesc kF31_ocean{
    .id = 50,
    .computeName = "f31_ocean",
    .name = " 3D Ocean",
    .compute = f31_ocean,
    .handler = f31_ocean_handler,
    .params = {{.label = " Wave amp ", .k = 8}, {.label = " Wavelet amp ", .k = 2}, kF31frequency8},
    .defaults = {2, 0.5, 1},
    .inputCode = kF31noiseInput,
    .on8 = f31_ocean_precompute,
};

inline constexpr KVmemberDesc kF31_fractsilex{
    .id = 51,
    .computeName = "f31_fractsilex",
    .name = " 3D Fractal Silex noise",
    .compute = f31_fractsilex,
    .handler = f31_fractsilex_handler,
    .params = {kF31amplitude8, {.label = "Roughness ", .k = 1}, kF31frequency16},
    .defaults = {4, 0.5, 1},
    .freqFlag = 1,
    .inputCode = kF31noiseInput,
    .on8 = f31_fractsilex_precompute,
};

inline constexpr KVmemberDesc kF31_altocumulus{
    .id = 54,
    .computeName = "f31_altocumulus",
    .name = " 3D Altocumulus Clouds",
    .compute = f31_altocumulus,
    .handler = f31_altocumulus_handler,
    .params = {{.label = "Amplitude ", .k = 4}, {.label = "Banding % ", .k = 1}, kF31frequency8},
    .defaults = {2, 0.5, 4},
    .freqFlag = 1,
    .inputCode = kF31noiseInput,
    .on8 = f31_altocumulus_precompute,
};
