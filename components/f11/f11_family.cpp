// Family f11 (family code 1; one input, one output): its 59 members
// in id order, ids 0 to 57,
// then the compiled-tree member 127. Ids are stored in tree files and never
// change. An entry without compute and handler is a member not built yet.
#include <iterator>

#include "components/common/families.h"
#include "components/f11/f11_shaping.h"

namespace {

constexpr KVmemberDesc kMembers[] = {
    {.id = 0, .computeName = "f11_affine", .name = " Ax+B"},
    {.id = 1, .computeName = "f11_Sine", .name = " Sin x"},
    {.id = 2, .computeName = "f11_power", .name = " x power A"},
    {.id = 3, .computeName = "f11_inverse", .name = " A - x"},
    {.id = 4, .computeName = "f11_xplusASine", .name = " x + A sin Bx"},
    {.id = 5, .computeName = "f11_random", .name = " Random"},
    {.id = 6, .computeName = "f11_abs", .name = " Abs x"},
    {.id = 7, .computeName = "f11_powerSin", .name = " Power sin"},
    {.id = 8, .computeName = "f11_gauss", .name = " Gaussian "},
    {.id = 9, .computeName = "f11_sawWave", .name = " Saw wave"},
    {.id = 10, .computeName = "f11_clip", .name = " Clip"},
    {.id = 11, .computeName = "f11_div", .name = " A/x"},
    {.id = 12, .computeName = "f11_inversegauss", .name = " A(1-exp(-x))"},
    {.id = 13, .computeName = "f11_log", .name = " C Log (Cx+B)"},
    {.id = 14, .computeName = "f11_div2", .name = " A/(xx+A-1)"},
    {.id = 15, .computeName = "f11_Bump", .name = " Derivative"},
    {.id = 16, .computeName = "f11_EnvSine", .name = " x(Sin x)"},
    {.id = 17, .computeName = "f11_cubicClip", .name = " Cubic Clip"},
    {.id = 18, .computeName = "f11_sphere", .name = " Sphere"},
    {.id = 19, .computeName = "f11_Apwrx", .name = " Exp : B(A power X)"},
    kF11_offset,
    {.id = 21, .computeName = "f11_powerStep", .name = " Power slope"},
    {.id = 22, .computeName = "f11_iabs", .name = " A - ABS(x)"},
    {.id = 23, .computeName = "f11_floor", .name = " Floor"},
    {.id = 24, .computeName = "f11_sabs", .name = " Smooth Abs x"},
    {.id = 25, .computeName = "f11_randomize", .name = " Randomize"},
    {.id = 26, .computeName = "f11_gradient", .name = " 2D Derivative"},
    {.id = 27, .computeName = "f11_infgate", .name = " infinity gate/mask"},
    {.id = 28, .computeName = "f11_rcounter", .name = " Iterations"},
    {.id = 29, .computeName = "f11_memmax", .name = " Memory Max"},
    {.id = 30, .computeName = "f11_memadd", .name = " Memory Add"},
    {.id = 31, .computeName = "f11_ArchWave", .name = " U wave"},
    {.id = 32, .computeName = "f11_quantize", .name = " Quantize"},
    {.id = 33, .computeName = "f11_sinc", .name = " Sin(Bx)/sin(x)"},
    {.id = 34, .computeName = "f11_plateau", .name = " Plateau "},
    {.id = 35, .computeName = "f11_fractalnoise", .name = " Fractal noise"},
    {.id = 36, .computeName = "f11_grains", .name = " Grains"},
    {.id = 37, .computeName = "f11_periodRnd", .name = " Periodic Random"},
    {.id = 38, .computeName = "f11_tile", .name = " Tile wave"},
    {.id = 39, .computeName = "f11_split_stretch", .name = " Split & stretch"},
    {.id = 40, .computeName = "f11_memmin", .name = " Memory Min"},
    {.id = 41, .computeName = "f11_discretRandom", .name = " Discrete Random"},
    {.id = 42, .computeName = "f11_contrast", .name = " Contrast"},
    {.id = 43, .computeName = "f11_slidemirror", .name = " Mirror"},
    {.id = 44, .computeName = "f11_multiperlin", .name = " Multi Perlin noise"},
    {.id = 45, .computeName = "f11_smoothsteps", .name = " Smooth Steps"},
    {.id = 46, .computeName = "f11_saw", .name = " Saw"},
    {.id = 47, .computeName = "f11_linrandom", .name = " Linear Random"},
    {.id = 48, .computeName = "f11_squarefloor", .name = " x squared"},
    {.id = 49, .computeName = "f11_smoothfloor", .name = " Smooth floor"},
    {.id = 50, .computeName = "f11_memdif", .name = " Memory Diff"},
    {.id = 51, .computeName = "f11_slope", .name = " 2D Slope"},
    {.id = 52, .computeName = "f11_modulo", .name = " Modulo "},
    {.id = 53, .computeName = "f11_semitonesSeq", .name = " Semitones Seq "},
    {.id = 54, .computeName = "f11_memfractadd", .name = " Memory Fractal Add"},
    {.id = 55, .computeName = "f11_Mathutils", .name = " Math utils #", .choiceA = true},
    {.id = 56, .computeName = "f11_techWave", .name = " Tech Waves #"},
    {.id = 57, .computeName = "f11_Vsteps", .name = " Variable Steps #"},
    {.id = 127, .computeName = "f11_recurtree", .name = " Line"},
};

static_assert(KV_idsInOrder(kMembers));
static_assert(std::size(kMembers) == 59);

}  // namespace

extern const KVmemberList kF11Members{kMembers, int(std::size(kMembers))};
