// 3D colour textures of f34: fractal rock, noise and patchwork colourings of
// the point (x, y, z) of inputs 1 to 3, each one octave driver over a body of
// f34_texturebodies.h. R, G, B on the colour scale of 8, w an altitude. The
// "z" members instead fade a texture of (x, y) in by the height of input 3.
//
// Every batch drives its driver with a copy of the document's fractal
// record holding the member's p1, p2 and colour table: the document's own
// record is never written, so no setting leaks into other components.
#pragma once

#include <string_view>

#include "components/common/member.h"

void f34_granitrocks(gfunc* g);
void f34_Silexnoise(gfunc* g);
void f34_multifractal(gfunc* g);
void f34_colorpatches(gfunc* g);
void f34_lunarrock(gfunc* g);
void f34_zmultifractal(gfunc* g);
void f34_zfiberrock(gfunc* g);
void f34_zgrainrock(gfunc* g);
void f34_zgreenbushes(gfunc* g);
void f34_greenmarble(gfunc* g);
void f34_fractalbubbles(gfunc* g);
void f34_multibubbles(gfunc* g);
void f34_ridgedfractal(gfunc* g);
void f34_noiseG(gfunc* g);
void f34_facetrocks(gfunc* g);
void f34_zicecracks(gfunc* g);
void f34_futurB(gfunc* g);

int16_t f34_granitrocks_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f34_Silexnoise_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f34_multifractal_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f34_colorpatches_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f34_lunarrock_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f34_zmultifractal_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f34_zfiberrock_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f34_zgrainrock_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f34_zgreenbushes_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f34_greenmarble_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f34_fractalbubbles_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f34_multibubbles_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f34_ridgedfractal_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f34_noiseG_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f34_facetrocks_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f34_zicecracks_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f34_futurB_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);

void f34_granitrocks_prepare(gfunc* g);
void f34_Silexnoise_prepare(gfunc* g);
void f34_multifractal_prepare(gfunc* g);
void f34_colorpatches_prepare(gfunc* g);
void f34_lunarrock_prepare(gfunc* g);
void f34_zmultifractal_prepare(gfunc* g);
void f34_zfiberrock_prepare(gfunc* g);
void f34_zgrainrock_prepare(gfunc* g);
void f34_zgreenbushes_prepare(gfunc* g);
void f34_greenmarble_prepare(gfunc* g);
void f34_fractalbubbles_prepare(gfunc* g);
void f34_multibubbles_prepare(gfunc* g);
void f34_ridgedfractal_prepare(gfunc* g);
void f34_noiseG_prepare(gfunc* g);
void f34_facetrocks_prepare(gfunc* g);
void f34_zicecracks_prepare(gfunc* g);
void f34_futurB_prepare(gfunc* g);

// The constants of message 8 and the member's colour table (RGB rows).
struct F34textureConsts
{
  double k[5];
  double table[5][3];
};

namespace f34texture {
inline constexpr KVparamDesc kRoughness{.label = "Roughness ", .k = 1};
inline constexpr KVparamDesc kFrequency8{.label = "Frequency ", .k = 8};
inline constexpr KVparamDesc kAmplitude4{.label = "Amplitude ", .k = 4};
inline constexpr KVparamDesc kAmplitude8{.label = "Amplitude ", .k = 8};
inline constexpr KVparamDesc kAmplitude16{.label = "Amplitude ", .k = 16};
inline constexpr KVparamDesc kAmplitudeSigned{.label = "Amplitude ", .k = 32, .c = -16};
}  // namespace f34texture

// The descriptor of a texture member: A, B, C are "Amplitude " (with the map
// given), "Roughness " and "Frequency "; message 6 sets the random flag and,
// for the members over a 3D point, the input kind of three-value points.
struct F34textureSpec
{
  int16_t id;
  const char* computeName;
  std::string_view name;
  KVComputeProc compute;
  KVHandlerProc handler;
  KVmemberHook prepare;
  KVparamDesc amplitude;
  KVparamTriple defaults;
  bool point3;
};

constexpr KVmemberDesc f34_textureDesc(const F34textureSpec& s)
{
  return {.id = s.id,
          .computeName = s.computeName,
          .name = s.name,
          .compute = s.compute,
          .handler = s.handler,
          .params = {s.amplitude, f34texture::kRoughness, f34texture::kFrequency8},
          .defaults = s.defaults,
          .freqFlag = 1,
          .inputCode = int16_t(s.point3 ? int16_t(kConnThreeOut) : int16_t(-1)),
          .on8 = s.prepare};
}

inline constexpr KVmemberDesc kF34_zmultifractal = f34_textureDesc({
    .id = 8,
    .computeName = "f34_zmultifractal",
    .name = " z Multifractal",
    .compute = f34_zmultifractal,
    .handler = f34_zmultifractal_handler,
    .prepare = f34_zmultifractal_prepare,
    .amplitude = f34texture::kAmplitude8,
    .defaults = {4, 0.5, 1},
    .point3 = false,
});

inline constexpr KVmemberDesc kF34_zfiberrock = f34_textureDesc({
    .id = 10,
    .computeName = "f34_zfiberrock",
    .name = " z Sulfur Fiberrock",
    .compute = f34_zfiberrock,
    .handler = f34_zfiberrock_handler,
    .prepare = f34_zfiberrock_prepare,
    .amplitude = f34texture::kAmplitude4,
    .defaults = {1, 0.5, 2},
    .point3 = false,
});

inline constexpr KVmemberDesc kF34_zgrainrock = f34_textureDesc({
    .id = 11,
    .computeName = "f34_zgrainrock",
    .name = " z Granular rock",
    .compute = f34_zgrainrock,
    .handler = f34_zgrainrock_handler,
    .prepare = f34_zgrainrock_prepare,
    .amplitude = f34texture::kAmplitude4,
    .defaults = {1, 0.5, 2},
    .point3 = false,
});

inline constexpr KVmemberDesc kF34_colorpatches = f34_textureDesc({
    .id = 12,
    .computeName = "f34_colorpatches",
    .name = " 3D Color Patchwork",
    .compute = f34_colorpatches,
    .handler = f34_colorpatches_handler,
    .prepare = f34_colorpatches_prepare,
    .amplitude = f34texture::kAmplitude8,
    .defaults = {2, 0.5, 2},
    .point3 = false,
});

inline constexpr KVmemberDesc kF34_multifractal = f34_textureDesc({
    .id = 19,
    .computeName = "f34_multifractal",
    .name = " 3D MultiFractal noise ",
    .compute = f34_multifractal,
    .handler = f34_multifractal_handler,
    .prepare = f34_multifractal_prepare,
    .amplitude = f34texture::kAmplitude16,
    .defaults = {4, 0.5, 1},
    .point3 = true,
});

inline constexpr KVmemberDesc kF34_granitrocks = f34_textureDesc({
    .id = 30,
    .computeName = "f34_granitrocks",
    .name = " 3D granit rocks",
    .compute = f34_granitrocks,
    .handler = f34_granitrocks_handler,
    .prepare = f34_granitrocks_prepare,
    .amplitude = f34texture::kAmplitude8,
    .defaults = {3, 0.5, 2},
    .point3 = true,
});

inline constexpr KVmemberDesc kF34_lunarrock = f34_textureDesc({
    .id = 33,
    .computeName = "f34_lunarrock",
    .name = " 3D Lunar rocks",
    .compute = f34_lunarrock,
    .handler = f34_lunarrock_handler,
    .prepare = f34_lunarrock_prepare,
    .amplitude = f34texture::kAmplitudeSigned,
    .defaults = {2, 0.5, 2},
    .point3 = true,
});

inline constexpr KVmemberDesc kF34_Silexnoise = f34_textureDesc({
    .id = 43,
    .computeName = "f34_Silexnoise",
    .name = " 3D Fractal Silex noise",
    .compute = f34_Silexnoise,
    .handler = f34_Silexnoise_handler,
    .prepare = f34_Silexnoise_prepare,
    .amplitude = f34texture::kAmplitudeSigned,
    .defaults = {4, 0.25, 1},
    .point3 = true,
});

inline constexpr KVmemberDesc kF34_ridgedfractal = f34_textureDesc({
    .id = 36,
    .computeName = "f34_ridgedfractal",
    .name = " 3D Ridged Fractal",
    .compute = f34_ridgedfractal,
    .handler = f34_ridgedfractal_handler,
    .prepare = f34_ridgedfractal_prepare,
    .amplitude = f34texture::kAmplitudeSigned,
    .defaults = {1, 0.5, 2},
    .point3 = true,
});

inline constexpr KVmemberDesc kF34_noiseG = f34_textureDesc({
    .id = 31,
    .computeName = "f34_noiseG",
    .name = " 3D Random Rects",
    .compute = f34_noiseG,
    .handler = f34_noiseG_handler,
    .prepare = f34_noiseG_prepare,
    .amplitude = f34texture::kAmplitude8,
    .defaults = {2, 0.25, 1},
    .point3 = true,
});

inline constexpr KVmemberDesc kF34_facetrocks = f34_textureDesc({
    .id = 41,
    .computeName = "f34_facetrocks",
    .name = " 3D Facet Rocks",
    .compute = f34_facetrocks,
    .handler = f34_facetrocks_handler,
    .prepare = f34_facetrocks_prepare,
    .amplitude = f34texture::kAmplitude8,
    .defaults = {1, 0.25, 1},
    .point3 = true,
});

inline constexpr KVmemberDesc kF34_zicecracks = f34_textureDesc({
    .id = 28,
    .computeName = "f34_zicecracks",
    .name = " 3D ice cracks ",
    .compute = f34_zicecracks,
    .handler = f34_zicecracks_handler,
    .prepare = f34_zicecracks_prepare,
    .amplitude = f34texture::kAmplitude8,
    .defaults = {2, 0.5, 1},
    .point3 = true,
});

inline constexpr KVmemberDesc kF34_futurB = f34_textureDesc({
    .id = 45,
    .computeName = "f34_futurB",
    .name = " 3D fractured rocks ",
    .compute = f34_futurB,
    .handler = f34_futurB_handler,
    .prepare = f34_futurB_prepare,
    .amplitude = f34texture::kAmplitude8,
    .defaults = {2, 0.5, 1},
    .point3 = true,
});

inline constexpr KVmemberDesc kF34_greenmarble = f34_textureDesc({
    .id = 37,
    .computeName = "f34_greenmarble",
    .name = " 3D Green Marble",
    .compute = f34_greenmarble,
    .handler = f34_greenmarble_handler,
    .prepare = f34_greenmarble_prepare,
    .amplitude = f34texture::kAmplitudeSigned,
    .defaults = {1, 0.5, 2},
    .point3 = true,
});

inline constexpr KVmemberDesc kF34_fractalbubbles = f34_textureDesc({
    .id = 40,
    .computeName = "f34_fractalbubbles",
    .name = " 3D Lava Bubbles",
    .compute = f34_fractalbubbles,
    .handler = f34_fractalbubbles_handler,
    .prepare = f34_fractalbubbles_prepare,
    .amplitude = f34texture::kAmplitude8,
    .defaults = {4, 0.5, 2},
    .point3 = true,
});

// Multi Bubbles: B is a colour-cycle position, C a frequency of 16, and no
// random flag.
inline constexpr KVmemberDesc kF34_multibubbles{
    .id = 35,
    .computeName = "f34_multibubbles",
    .name = " 3D Multi Bubbles",
    .compute = f34_multibubbles,
    .handler = f34_multibubbles_handler,
    .params = {{.label = "Amplitude ", .k = 16, .c = -8},
               {.label = "Color Cycle ", .k = 1},
               {.label = "Frequency ", .k = 16}},
    .defaults = {4, 0.5, 2},
    .inputCode = kConnThreeOut,
    .on8 = f34_multibubbles_prepare,
};

// z Green Bushes: B is "Amount ".
inline constexpr KVmemberDesc kF34_zgreenbushes{
    .id = 9,
    .computeName = "f34_zgreenbushes",
    .name = " z Green Bushes",
    .compute = f34_zgreenbushes,
    .handler = f34_zgreenbushes_handler,
    .params = {f34texture::kAmplitude8, {.label = "Amount ", .k = 1}, f34texture::kFrequency8},
    .defaults = {1, 0.5, 2},
    .freqFlag = 1,
    .on8 = f34_zgreenbushes_prepare,
};
