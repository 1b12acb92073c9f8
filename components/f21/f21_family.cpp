// Family f21 (family code 2; two inputs, one output): its 65 members
// in id order, ids 0 to 63,
// then the compiled-tree member 127. Ids are stored in tree files and never
// change. An entry without compute and handler is a member not built yet.
#include <iterator>

#include "components/common/families.h"
#include "components/f21/f21_arith.h"
#include "components/f21/f21_mathutils.h"
#include "components/f21/f21_noises.h"
#include "components/f21/f21_recurtree.h"
#include "components/f21/f21_waves.h"

namespace {

constexpr KVmemberDesc kMembers[] = {
    kF21_affine,
    kF21_add,
    kF21_mul,
    kF21_distance,
    kF21_Grid,
    kF21_Sines,
    kF21_xplusASine,
    kF21_radial,
    kF21_hexaSines,
    kF21_hexagrid,
    kF21_difference,
    kF21_random,
    kF21_fractalnoise,
    kF21_circles,
    kF21_Dynamo,
    kF21_ripples,
    kF21_sinxy,
    kF21_MinMax,
    kF21_Cones,
    kF21_Bubbles,
    kF21_mosaic,
    {.id = 21, .computeName = "f21_LowFreqRandom", .name = " Low freq noise"},
    {.id = 22, .computeName = "f21_MinMaxAdd", .name = " Min+Max"},
    {.id = 23, .computeName = "f21_discretRandom", .name = " Random Squares"},
    {.id = 24, .computeName = "f21_recursivepyramid", .name = " Techno"},
    {.id = 25, .computeName = "f21_PerlinNoise", .name = " Perlin noise"},
    {.id = 26, .computeName = "f21_DiffNoise", .name = " Bump noise"},
    {.id = 27, .computeName = "f21_LinesNoise", .name = " Zebra noise"},
    {.id = 28, .computeName = "f21_fractalLines", .name = " Fractal Lines"},
    {.id = 29, .computeName = "f21_StarField", .name = " Star Field "},
    {.id = 30, .computeName = "f21_movie", .name = " Pict/Movie"},
    {.id = 31, .computeName = "f21_movieSym", .name = " Pict/Movie SymTiled "},
    {.id = 32, .computeName = "f21_pyranoise", .name = " Pyramids"},
    {.id = 33, .computeName = "f21_line", .name = " Line"},
    {.id = 34, .computeName = "f21_blurredmovie", .name = " Blurred Pict/Movie "},
    kF21_hexatile,
    {.id = 36, .computeName = "f21_branchpat", .name = " Circuitry"},
    {.id = 37, .computeName = "f21_branchpat2", .name = " ZigZag"},
    {.id = 38, .computeName = "f21_losange", .name = " Lozenge"},
    {.id = 39, .computeName = "f21_cristalnoise", .name = " Crystal noise "},
    {.id = 40, .computeName = "f21_Sbranchpat", .name = " Smooth Entrelas"},
    {.id = 41, .computeName = "f21_gaussianDot", .name = " Gaussian Dot"},
    {.id = 42, .computeName = "f21_Craters", .name = " Craters"},
    {.id = 43, .computeName = "f21_multifract", .name = " Multi Fractal noise"},
    kF21_crossfade,
    kF21_distance2,
    {.id = 46, .computeName = "f21_voronoi", .name = " Cellular"},
    {.id = 47, .computeName = "f21_ridgedfractal", .name = " Ridged fractal noise"},
    {.id = 48, .computeName = "f21_mazeA", .name = " Maze "},
    {.id = 49, .computeName = "f21_sparcefractal", .name = " Sparse fractal rocks"},
    {.id = 50, .computeName = "f21_erodedfractal", .name = " Eroded Fractal"},
    {.id = 51, .computeName = "f21_lightnings", .name = " Lightning"},
    {.id = 52, .computeName = "f21_multiRidged", .name = " Ridged noise"},
    {.id = 53, .computeName = "f21_multiperlin", .name = " Multi Perlin noise"},
    {.id = 54, .computeName = "f21_lunarrock", .name = " Lunar rocks"},
    {.id = 55, .computeName = "f21_bubblerock", .name = " Bubble rocks"},
    {.id = 56, .computeName = "f21_ridgedtomf", .name = " Mountain Ranges"},
    {.id = 57, .computeName = "f21_stonescluster", .name = " Stone Clusters "},
    kF21_addmax,
    {.id = 59, .computeName = "f21_sharpfaultrock", .name = " Stratified rocks"},
    {.id = 60, .computeName = "f21_volcanoes", .name = " Volcanoes "},
    kF21_Mathutils,
    {.id = 62, .computeName = "f21_shapes", .name = " Shapes #"},
    {.id = 63, .computeName = "f21_procTechNoises", .name = " Tech Noise #"},
    kF21_recurtree,
};

static_assert(KV_idsInOrder(kMembers));
static_assert(std::size(kMembers) == 65);

}  // namespace

extern const KVmemberList kF21Members{kMembers, int(std::size(kMembers))};
