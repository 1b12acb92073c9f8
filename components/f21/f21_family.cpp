// Family f21 (family code 2; two inputs, one output): its 65 members
// in id order, ids 0 to 63,
// then the compiled-tree member 127. Ids are stored in tree files and never
// change. An entry without compute and handler is a member not built yet.
#include <iterator>

#include "components/common/families.h"
#include "components/f21/f21_arith.h"
#include "components/f21/f21_branches.h"
#include "components/f21/f21_fractals.h"
#include "components/f21/f21_lattices.h"
#include "components/f21/f21_mathutils.h"
#include "components/f21/f21_noises.h"
#include "components/f21/f21_pictures.h"
#include "components/f21/f21_recurtree.h"
#include "components/f21/f21_tech.h"
#include "components/f21/f21_terrain.h"
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
    kF21_LowFreqRandom,
    kF21_MinMaxAdd,
    kF21_discretRandom,
    kF21_recursivepyramid,
    kF21_PerlinNoise,
    kF21_DiffNoise,
    kF21_LinesNoise,
    kF21_fractalLines,
    kF21_StarField,
    kF21_movie,
    kF21_movieSym,
    kF21_pyranoise,
    kF21_line,
    kF21_blurredmovie,
    kF21_hexatile,
    kF21_branchpat,
    kF21_branchpat2,
    kF21_losange,
    kF21_cristalnoise,
    kF21_Sbranchpat,
    kF21_gaussianDot,
    kF21_Craters,
    kF21_multifract,
    kF21_crossfade,
    kF21_distance2,
    kF21_voronoi,
    kF21_ridgedfractal,
    kF21_mazeA,
    kF21_sparcefractal,
    kF21_erodedfractal,
    kF21_lightnings,
    kF21_multiRidged,
    kF21_multiperlin,
    kF21_lunarrock,
    kF21_bubblerock,
    kF21_ridgedtomf,
    kF21_stonescluster,
    kF21_addmax,
    kF21_sharpfaultrock,
    kF21_volcanoes,
    kF21_Mathutils,
    kF21_shapes,
    kF21_procTechNoises,
    kF21_recurtree,
};

static_assert(KV_idsInOrder(kMembers));
static_assert(std::size(kMembers) == 65);

}  // namespace

extern const KVmemberList kF21Members{kMembers, int(std::size(kMembers))};
