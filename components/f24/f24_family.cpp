// Family f24 (family code 10; two inputs, four outputs): its 60 members
// in id order, ids 0 to 58,
// then the compiled-tree member 127. Ids are stored in tree files and never
// change. An entry without compute and handler is a member not built yet.
#include <iterator>

#include "components/common/families.h"
#include "components/f24/f24_fractalnoise.h"
#include "components/f24/f24_lattice.h"
#include "components/f24/f24_recurtree.h"
#include "components/f24/f24_shapes.h"
#include "components/f24/f24_technoise.h"
#include "components/f24/f24_xyza.h"

namespace {

constexpr KVmemberDesc kMembers[] = {
    kF24_xyza_Tiles,
    kF24_xyza_Facets,
    kF24_xyza_Spots,
    kF24_xyza_QuantizeSpots,
    kF24_mondrian,
    kF24_OMaze,
    kF24_cityblock,
    kF24_hexaMaze,
    kF24_litLedround,
    kF24_xyza_TSpots,
    kF24_ridgednoise,
    kF24_fractalFacets,
    kF24_lunargranit,
    kF24_lichenrocks,
    {.id = 14, .computeName = "f24_packedlerp", .name = " Packed Crossfade"},
    {.id = 15, .computeName = "f24_packedmax", .name = " Packed Alpha Max"},
    {.id = 16, .computeName = "f24_packedalpha", .name = " Packed Alpha blend "},
    {.id = 17, .computeName = "f24_TriTile", .name = " Color Triangle Tiles "},
    {.id = 18, .computeName = "f24_HexaTile", .name = " Color Hexagonal Tiles "},
    {.id = 19, .computeName = "f24_Randomcircles", .name = " Random Circles"},
    {.id = 20, .computeName = "f24_Randomtriangles", .name = " Triangle Random Mesh"},
    kF24_PolyN,
    kF24_Circle,
    kF24_Line,
    kF24_NeonLine,
    kF24_dunes,
    kF24_rocks,
    kF24_beachrocks,
    kF24_EGLine,
    {.id = 29, .computeName = "f24_XTile", .name = " Color Tiles "},
    kF24_domerocknoise,
    kF24_multifractal,
    kF24_xyza_Radial,
    kF24_xyza_Escher,
    kF24_xyza_Appolon,
    {.id = 35, .computeName = "f24_packedacomp", .name = " Packed Alpha Compose"},
    {.id = 36, .computeName = "f24_RegionA", .name = " Random sticks "},
    {.id = 37, .computeName = "f24_starfield", .name = " Color Stars"},
    {.id = 38, .computeName = "f24_RegionB", .name = " Slanted disk noise "},
    kF24_sparceMF,
    kF24_xyza_HexaDTiles,
    kF24_xyza_jitterdisk,
    {.id = 42, .computeName = "f24_colorpict", .name = " RGBa Pict/Movie"},
    kF24_halfplane,
    {.id = 44, .computeName = "f24_packedadd", .name = " Packed Add"},
    {.id = 45, .computeName = "f24_packedmul", .name = " Packed Alpha Mul"},
    kF24_fractcurves,
    kF24_fractfutur,
    kF24_earthrocks,
    {.id = 49, .computeName = "f24_PolyA", .name = " Random Polygons A"},
    {.id = 50, .computeName = "f24_PolyB", .name = " Random Polygons B"},
    kF24_gaussian,
    kF24_Technoid,
    kF24_rivernetwork,
    kF24_fractalclouds,
    {.id = 55, .computeName = "f24_packedMIN", .name = " Packed Alpha Min"},
    kF24_procTechNoises,
    kF24_xyza_pyranet,
    kF24_CityNoises,
    kF24_recurtree,
};

static_assert(KV_idsInOrder(kMembers));
static_assert(std::size(kMembers) == 60);

}  // namespace

extern const KVmemberList kF24Members{kMembers, int(std::size(kMembers))};
