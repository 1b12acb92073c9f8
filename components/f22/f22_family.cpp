// Family f22 (family code 3; two inputs, two outputs): its 60 members in id
// order, ids 0 to 58, then the compiled-tree member 127. Ids are stored in
// tree files and never change.
#include <iterator>

#include "components/common/families.h"
#include "components/f22/f22_affine.h"
#include "components/f22/f22_cells.h"
#include "components/f22/f22_complex.h"
#include "components/f22/f22_folds.h"
#include "components/f22/f22_fractal.h"
#include "components/f22/f22_recurtree.h"

namespace {

constexpr KVmemberDesc kMembers[] = {
    kF22_skew,
    kF22_Sine,
    kF22_scaleOffset,
    kF22_rotateOffset,
    kF22_xplusASine,
    kF22_waves,
    kF22_twirl,
    kF22_sinwarp,
    kF22_hexagonalMirrors,
    kF22_hexasin,
    kF22_ComplexMap,
    kF22_radialstar,
    kF22_random,
    kF22_complexModInvert,
    kF22_orbiters,
    kF22_complexinversion,
    kF22_multitwirls,
    kF22_fract,
    kF22_pixelprism,
    kF22_ComplexMapB,
    kF22_ripples,
    kF22_mirrors,
    kF22_mirrors6,
    kF22_ringspace,
    kF22_polarspace,
    kF22_lowfredRND,
    kF22_dirRnd,
    kF22_Bubbles,
    kF22_DistMirror,
    kF22_DisplaceTile,
    kF22_mirrors3,
    kF22_cristalnoise,
    kF22_NBranch,
    kF22_hexaTile,
    kF22_DiskTile,
    kF22_Serpiensky,
    kF22_unitinversion,
    kF22_scale,
    kF22_fractSpace,
    kF22_smoothfacetspace,
    kF22_facetspace,
    kF22_facetprism,
    kF22_techdisplace,
    kF22_spotdisplace,
    kF22_splitmove,
    kF22_Techquantize,
    kF22_facetspaceRotate,
    kF22_PerlinNoise,
    kF22_multiperlin,
    kF22_ridgedfractal,
    kF22_timeturbulences,
    kF22_multifract,
    kF22_ChaosDisA,
    kF22_ChaosDisB,
    kF22_Mirror,
    kF22_orthoMirrors,
    kF22_diskInversering,
    kF22_infgate,
    kF22_Moebius,
    kF22_recurtree,
};

static_assert(KV_idsInOrder(kMembers));
static_assert(std::size(kMembers) == 60);

}  // namespace

extern const KVmemberList kF22Members{kMembers, int(std::size(kMembers))};
