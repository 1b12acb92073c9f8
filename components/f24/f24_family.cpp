// Family f24 (family code 10; two inputs, four outputs): its 60 members
// in id order, ids 0 to 58,
// then the compiled-tree member 127. Ids are stored in tree files and never
// change. An entry without compute and handler is a member not built yet.
#include <iterator>

#include "components/common/families.h"

namespace {

constexpr KVmemberDesc kMembers[] = {
    {.id = 0, .computeName = "f24_xyza_Tiles", .name = " XYza Tiles"},
    {.id = 1, .computeName = "f24_xyza_Facets", .name = " XYza Facet Space "},
    {.id = 2, .computeName = "f24_xyza_Spots", .name = " XYza Sparse Spot "},
    {.id = 3, .computeName = "f24_xyza_QuantizeSpots", .name = " XYza Quantizer Spot "},
    {.id = 4, .computeName = "f24_mondrian", .name = " Mondrian "},
    {.id = 5, .computeName = "f24_OMaze", .name = " Orthogonal Maze"},
    {.id = 6, .computeName = "f24_cityblock", .name = " City Blocks "},
    {.id = 7, .computeName = "f24_hexaMaze", .name = " Hexagonal Maze"},
    {.id = 8, .computeName = "f24_litLedround", .name = " Light LED Array"},
    {.id = 9, .computeName = "f24_xyza_TSpots", .name = " XYza Tiled Spot "},
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
    {.id = 21, .computeName = "f24_PolyN", .name = " Color Polygon N "},
    {.id = 22, .computeName = "f24_Circle", .name = " Color Circle "},
    {.id = 23, .computeName = "f24_Line", .name = " Color Line "},
    {.id = 24, .computeName = "f24_NeonLine", .name = " Color Neon Line "},
    {.id = 25, .computeName = "f24_dunes", .name = " Dunes "},
    {.id = 26, .computeName = "f24_rocks", .name = " Rocks "},
    {.id = 27, .computeName = "f24_beachrocks", .name = " Pebbles "},
    {.id = 28, .computeName = "f24_EGLine", .name = " Interlaced Grid "},
    {.id = 29, .computeName = "f24_XTile", .name = " Color Tiles "},
    {.id = 30, .computeName = "f24_domerocknoise", .name = " Dome Rock "},
    {.id = 31, .computeName = "f24_multifractal", .name = " MultiFractal noise "},
    {.id = 32, .computeName = "f24_xyza_Radial", .name = " XYza Polar Tile"},
    {.id = 33, .computeName = "f24_xyza_Escher", .name = " XYza Escher Disk "},
    {.id = 34, .computeName = "f24_xyza_Appolon", .name = " Appolonian Gasket"},
    {.id = 35, .computeName = "f24_packedacomp", .name = " Packed Alpha Compose"},
    {.id = 36, .computeName = "f24_RegionA", .name = " Random sticks "},
    {.id = 37, .computeName = "f24_starfield", .name = " Color Stars"},
    {.id = 38, .computeName = "f24_RegionB", .name = " Slanted disk noise "},
    {.id = 39, .computeName = "f24_sparceMF", .name = " Sparse MultiFractal "},
    {.id = 40, .computeName = "f24_xyza_HexaDTiles", .name = " XYza tiled disks"},
    {.id = 41, .computeName = "f24_xyza_jitterdisk", .name = " XYza jitter disks"},
    {.id = 42, .computeName = "f24_colorpict", .name = " RGBa Pict/Movie"},
    {.id = 43, .computeName = "f24_halfplane", .name = " RGBa half plane "},
    {.id = 44, .computeName = "f24_packedadd", .name = " Packed Add"},
    {.id = 45, .computeName = "f24_packedmul", .name = " Packed Alpha Mul"},
    {.id = 46, .computeName = "f24_fractcurves", .name = " Fractal Curves "},
    {.id = 47, .computeName = "f24_fractfutur", .name = " Random Domes"},
    {.id = 48, .computeName = "f24_earthrocks", .name = " Earth Cracks "},
    {.id = 49, .computeName = "f24_PolyA", .name = " Random Polygons A"},
    {.id = 50, .computeName = "f24_PolyB", .name = " Random Polygons B"},
    {.id = 51, .computeName = "f24_gaussian", .name = " Gaussian Dot "},
    {.id = 52, .computeName = "f24_Technoid", .name = " Time R-patchwork"},
    {.id = 53, .computeName = "f24_rivernetwork", .name = " Vein network "},
    {.id = 54, .computeName = "f24_fractalclouds", .name = " Fractal Shaded Clouds "},
    {.id = 55, .computeName = "f24_packedMIN", .name = " Packed Alpha Min"},
    {.id = 56, .computeName = "f24_procTechNoises", .name = " Tech Noise #"},
    {.id = 57, .computeName = "f24_xyza_pyranet", .name = " XYza Tek Pyramid "},
    {.id = 58, .computeName = "f24_CityNoises", .name = " City Maps # (xziy)"},
    {.id = 127, .computeName = "f24_recurtree", .name = " Compiled tree"},
};

static_assert(KV_idsInOrder(kMembers));
static_assert(std::size(kMembers) == 60);

}  // namespace

extern const KVmemberList kF24Members{kMembers, int(std::size(kMembers))};
