// Family f24 (family code 10; two inputs, four outputs): its 60 members
// in id order, ids 0 to 58,
// then the compiled-tree member 127. Ids are stored in tree files and never
// change.
#include <iterator>

#include "components/common/families.h"
#include "components/f24/f24_fractalnoise.h"
#include "components/f24/f24_lattice.h"
#include "components/f24/f24_meshes.h"
#include "components/f24/f24_packed.h"
#include "components/f24/f24_recurtree.h"
#include "components/f24/f24_regions.h"
#include "components/f24/f24_shapes.h"
#include "components/f24/f24_technoise.h"
#include "components/f24/f24_tiles.h"
#include "components/f24/f24_xyza.h"

namespace {

constexpr KVmemberDesc kMembers[] = {
    kF24_xyza_Tiles,      kF24_xyza_Facets,     kF24_xyza_Spots,    kF24_xyza_QuantizeSpots,
    kF24_mondrian,        kF24_OMaze,           kF24_cityblock,     kF24_hexaMaze,
    kF24_litLedround,     kF24_xyza_TSpots,     kF24_ridgednoise,   kF24_fractalFacets,
    kF24_lunargranit,     kF24_lichenrocks,     kF24_packedlerp,    kF24_packedmax,
    kF24_packedalpha,     kF24_TriTile,         kF24_HexaTile,      kF24_Randomcircles,
    kF24_Randomtriangles, kF24_PolyN,           kF24_Circle,        kF24_Line,
    kF24_NeonLine,        kF24_dunes,           kF24_rocks,         kF24_beachrocks,
    kF24_EGLine,          kF24_XTile,           kF24_domerocknoise, kF24_multifractal,
    kF24_xyza_Radial,     kF24_xyza_Escher,     kF24_xyza_Appolon,  kF24_packedacomp,
    kF24_RegionA,         kF24_starfield,       kF24_RegionB,       kF24_sparceMF,
    kF24_xyza_HexaDTiles, kF24_xyza_jitterdisk, kF24_colorpict,     kF24_halfplane,
    kF24_packedadd,       kF24_packedmul,       kF24_fractcurves,   kF24_fractfutur,
    kF24_earthrocks,      kF24_PolyA,           kF24_PolyB,         kF24_gaussian,
    kF24_Technoid,        kF24_rivernetwork,    kF24_fractalclouds, kF24_packedMIN,
    kF24_procTechNoises,  kF24_xyza_pyranet,    kF24_CityNoises,    kF24_recurtree,
};

static_assert(KV_idsInOrder(kMembers));
static_assert(std::size(kMembers) == 60);

}  // namespace

extern const KVmemberList kF24Members{kMembers, int(std::size(kMembers))};
