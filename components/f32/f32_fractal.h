// f32 members that displace the plane point by a multi-octave noise of the
// 3D point (x, y, z): eight run the two-value octave driver with a body of
// their own, two the multifractal vector cascade. " 3D fractal Bubbles"
// gives the displacement alone and " Ocean & Foam" a wave height and foam.
#pragma once

#include "components/common/member.h"
#include "components/f32/f32_pvt.h"

void f32_multifractal(gfunc* g);
int16_t f32_multifractal_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
void f32_silexfractdis(gfunc* g);
int16_t f32_silexfractdis_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
void f32_CliffChaos(gfunc* g);
int16_t f32_CliffChaos_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
void f32_ridgedfractal(gfunc* g);
int16_t f32_ridgedfractal_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
void f32_fractBubbles(gfunc* g);
int16_t f32_fractBubbles_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
void f32_oceanfoam(gfunc* g);
int16_t f32_oceanfoam_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
void f32_futur6(gfunc* g);
int16_t f32_futur6_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
void f32_zmultifractal(gfunc* g);
int16_t f32_zmultifractal_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
void f32_futur7(gfunc* g);
int16_t f32_futur7_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
void f32_zmultiperlin(gfunc* g);
int16_t f32_zmultiperlin_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);

// Message 8 of each member: its constants K0..K3.
void f32_multifractal_precompute(gfunc* g);
// K0 = 2A / max(C, 1e-5), K2 = C / 4 (Silex, Balanced, Rocky, z MultiFractal).
void f32_doubledAmount_precompute(gfunc* g);
void f32_CliffChaos_precompute(gfunc* g);
void f32_ridgedfractal_precompute(gfunc* g);
void f32_fractBubbles_precompute(gfunc* g);
void f32_oceanfoam_precompute(gfunc* g);
void f32_zmultiperlin_precompute(gfunc* g);

namespace f32detail {
// The labels and maps most fractal members share.
inline constexpr KVparamDesc kFractalParams[3] = {{.label = "Amplitude ", .k = 2, .c = 0},
                                                  {.label = "Roughness ", .k = 1, .c = 0},
                                                  {.label = "Frequency ", .k = 16, .c = 0}};

// A fractal member: its own name, compute, handler, defaults and message 8;
// the shared labels, input kind 14 and the fractal flag.
constexpr KVmemberDesc fractalMember(int16_t id, const char* computeName, std::string_view name,
                                     KVComputeProc compute, KVHandlerProc handler,
                                     KVparamTriple defaults, KVmemberHook on8)
{
  return KVmemberDesc{
      .id = id,
      .computeName = computeName,
      .name = name,
      .compute = compute,
      .handler = handler,
      .params = {kFractalParams[0], kFractalParams[1], kFractalParams[2]},
      .defaults = defaults,
      .freqFlag = 1,
      .inputCode = kConnThreeOut,
      .on8 = on8,
  };
}
}  // namespace f32detail

inline constexpr KVmemberDesc kF32_multifractal = f32detail::fractalMember(
    28, "f32_multifractal", " Multi Fractal displace", f32_multifractal, f32_multifractal_handler,
    {1.0, 0.5, 2.0}, f32_multifractal_precompute);

inline constexpr KVmemberDesc kF32_silexfractdis = f32detail::fractalMember(
    29, "f32_silexfractdis", " Silex Fractal displace", f32_silexfractdis,
    f32_silexfractdis_handler, {1.0, 0.5, 2.0}, f32_doubledAmount_precompute);

inline constexpr KVmemberDesc kF32_CliffChaos =
    f32detail::fractalMember(30, "f32_CliffChaos", " Cliff Chaos displace", f32_CliffChaos,
                             f32_CliffChaos_handler, {1.0, 0.5, 1.0}, f32_CliffChaos_precompute);

inline constexpr KVmemberDesc kF32_ridgedfractal = f32detail::fractalMember(
    31, "f32_ridgedfractal", " Ridged Fractal displace", f32_ridgedfractal,
    f32_ridgedfractal_handler, {1.0, 0.25, 2.0}, f32_ridgedfractal_precompute);

inline constexpr KVmemberDesc kF32_fractBubbles =
    f32detail::fractalMember(32, "f32_fractBubbles", " 3D fractal Bubbles", f32_fractBubbles,
                             f32_fractBubbles_handler, {1.0, 0, 2.0}, f32_fractBubbles_precompute);

inline constexpr KVmemberDesc kF32_oceanfoam{
    .id = 33,
    .computeName = "f32_oceanfoam",
    .name = " Ocean & Foam",
    .compute = f32_oceanfoam,
    .handler = f32_oceanfoam_handler,
    .params = {{.label = " Wave amp ", .k = 8, .c = 0},
               {.label = " Wavelet amp ", .k = 2, .c = 0},
               {.label = "Frequency ", .k = 8, .c = 0}},
    .defaults = {2.0, 0.5, 1.0},
    .outputCode = kConnOne,
    .inputCode = kConnThreeOut,
    .on8 = f32_oceanfoam_precompute,
};

inline constexpr KVmemberDesc kF32_futur6 =
    f32detail::fractalMember(34, "f32_futur6", " Balanced Ridged displace", f32_futur6,
                             f32_futur6_handler, {1.0, 0.5, 1.0}, f32_doubledAmount_precompute);

inline constexpr KVmemberDesc kF32_zmultifractal = f32detail::fractalMember(
    39, "f32_zmultifractal", " z MultiFractal displace", f32_zmultifractal,
    f32_zmultifractal_handler, {1.0, 0.5, 1.0}, f32_doubledAmount_precompute);

inline constexpr KVmemberDesc kF32_futur7 =
    f32detail::fractalMember(40, "f32_futur7", " Rocky Fractal displace", f32_futur7,
                             f32_futur7_handler, {1.0, 0.5, 1.0}, f32_doubledAmount_precompute);

inline constexpr KVmemberDesc kF32_zmultiperlin{
    .id = 41,
    .computeName = "f32_zmultiperlin",
    .name = " z Multi Perlin random",
    .compute = f32_zmultiperlin,
    .handler = f32_zmultiperlin_handler,
    .params = {f32detail::kFractalParams[0],
               {.label = "Octaves ", .k = 127, .c = 1},
               f32detail::kFractalParams[2]},
    .defaults = {2.0, 1.0, 1.0},
    .freqFlag = 1,
    .inputCode = kConnThreeOut,
    .on8 = f32_zmultiperlin_precompute,
};
