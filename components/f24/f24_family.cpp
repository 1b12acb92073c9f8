// Family f24 (family code 10; two inputs, four outputs): its 60 members
// in id order, ids 0 to 58,
// then the compiled-tree member 127. Ids are stored in tree files and never
// change. An entry without compute and handler is a member not built yet.
#include <iterator>

#include "components/common/families.h"
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
    {.id = 10, .computeName = "f24_ridgednoise", .name = " Ridged noise "},
    {.id = 11, .computeName = "f24_fractalFacets", .name = " Fractal facets"},
    {.id = 12, .computeName = "f24_lunargranit", .name = " Lunar Granite noise "},
    {.id = 13, .computeName = "f24_lichenrocks", .name = " Lichen rocks "},
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
    {.id = 25, .computeName = "f24_dunes", .name = " Dunes "},
    {.id = 26, .computeName = "f24_rocks", .name = " Rocks "},
    {.id = 27, .computeName = "f24_beachrocks", .name = " Pebbles "},
    kF24_EGLine,
    {.id = 29, .computeName = "f24_XTile", .name = " Color Tiles "},
    {.id = 30, .computeName = "f24_domerocknoise", .name = " Dome Rock "},
    {.id = 31, .computeName = "f24_multifractal", .name = " MultiFractal noise "},
    kF24_xyza_Radial,
    kF24_xyza_Escher,
    kF24_xyza_Appolon,
    {.id = 35, .computeName = "f24_packedacomp", .name = " Packed Alpha Compose"},
    {.id = 36, .computeName = "f24_RegionA", .name = " Random sticks "},
    {.id = 37, .computeName = "f24_starfield", .name = " Color Stars"},
    {.id = 38, .computeName = "f24_RegionB", .name = " Slanted disk noise "},
    {.id = 39, .computeName = "f24_sparceMF", .name = " Sparse MultiFractal "},
    kF24_xyza_HexaDTiles,
    kF24_xyza_jitterdisk,
    {.id = 42, .computeName = "f24_colorpict", .name = " RGBa Pict/Movie"},
    kF24_halfplane,
    {.id = 44, .computeName = "f24_packedadd", .name = " Packed Add"},
    {.id = 45, .computeName = "f24_packedmul", .name = " Packed Alpha Mul"},
    {.id = 46, .computeName = "f24_fractcurves", .name = " Fractal Curves "},
    {.id = 47, .computeName = "f24_fractfutur", .name = " Random Domes"},
    {.id = 48, .computeName = "f24_earthrocks", .name = " Earth Cracks "},
    {.id = 49, .computeName = "f24_PolyA", .name = " Random Polygons A"},
    {.id = 50, .computeName = "f24_PolyB", .name = " Random Polygons B"},
    kF24_gaussian,
    {.id = 52, .computeName = "f24_Technoid", .name = " Time R-patchwork"},
    {.id = 53, .computeName = "f24_rivernetwork", .name = " Vein network "},
    {.id = 54, .computeName = "f24_fractalclouds", .name = " Fractal Shaded Clouds "},
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
