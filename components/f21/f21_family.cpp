// Family f21 (family code 2; two inputs, one output): its 65 members
// in id order, ids 0 to 63,
// then the compiled-tree member 127. Ids are stored in tree files and never
// change. An entry without compute and handler is a member not built yet.
#include <iterator>

#include "components/common/families.h"

namespace {

constexpr KVmemberDesc kMembers[] = {
    {.id = 0, .computeName = "f21_affine", .name = " Ax+By+C"},
    {.id = 1, .computeName = "f21_add", .name = " Distance*(x + y)"},
    {.id = 2, .computeName = "f21_mul", .name = " Multiply (x+A)*(y+B)"},
    {.id = 3, .computeName = "f21_distance", .name = " Distance"},
    {.id = 4, .computeName = "f21_Grid", .name = " Grid"},
    {.id = 5, .computeName = "f21_Sines", .name = " Sin x * Sin y"},
    {.id = 6, .computeName = "f21_xplusASine", .name = " x + A Sin y "},
    {.id = 7, .computeName = "f21_radial", .name = " Radial"},
    {.id = 8, .computeName = "f21_hexaSines", .name = " Hexa sines"},
    {.id = 9, .computeName = "f21_hexagrid", .name = " Hexa grid"},
    {.id = 10, .computeName = "f21_difference", .name = " Difference"},
    {.id = 11, .computeName = "f21_random", .name = " Random noise"},
    {.id = 12, .computeName = "f21_fractalnoise", .name = " Fractal noise"},
    {.id = 13, .computeName = "f21_circles", .name = " Circles"},
    {.id = 14, .computeName = "f21_Dynamo", .name = " Dynamo"},
    {.id = 15, .computeName = "f21_ripples", .name = " Ripples"},
    {.id = 16, .computeName = "f21_sinxy", .name = " Sin x + Sin y"},
    {.id = 17, .computeName = "f21_MinMax", .name = " Min <-> Max"},
    {.id = 18, .computeName = "f21_Cones", .name = " Random Cones "},
    {.id = 19, .computeName = "f21_Bubbles", .name = " Bubbles"},
    {.id = 20, .computeName = "f21_mosaic", .name = " Facet"},
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
    {.id = 35, .computeName = "f21_hexatile", .name = " Hexagons"},
    {.id = 36, .computeName = "f21_branchpat", .name = " Circuitry"},
    {.id = 37, .computeName = "f21_branchpat2", .name = " ZigZag"},
    {.id = 38, .computeName = "f21_losange", .name = " Lozenge"},
    {.id = 39, .computeName = "f21_cristalnoise", .name = " Crystal noise "},
    {.id = 40, .computeName = "f21_Sbranchpat", .name = " Smooth Entrelas"},
    {.id = 41, .computeName = "f21_gaussianDot", .name = " Gaussian Dot"},
    {.id = 42, .computeName = "f21_Craters", .name = " Craters"},
    {.id = 43, .computeName = "f21_multifract", .name = " Multi Fractal noise"},
    {.id = 44, .computeName = "f21_crossfade", .name = " Interpolate"},
    {.id = 45, .computeName = "f21_distance2", .name = " Distance squared"},
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
    {.id = 58, .computeName = "f21_addmax", .name = " Max(x,x*A+y) "},
    {.id = 59, .computeName = "f21_sharpfaultrock", .name = " Stratified rocks"},
    {.id = 60, .computeName = "f21_volcanoes", .name = " Volcanoes "},
    {.id = 61, .computeName = "f21_Mathutils", .name = " Math utils #"},
    {.id = 62, .computeName = "f21_shapes", .name = " Shapes #"},
    {.id = 63, .computeName = "f21_procTechNoises", .name = " Tech Noise #"},
    {.id = 127, .computeName = "f21_recurtree", .name = ""},
};

static_assert(KV_idsInOrder(kMembers));
static_assert(std::size(kMembers) == 65);

}  // namespace

extern const KVmemberList kF21Members{kMembers, int(std::size(kMembers))};
