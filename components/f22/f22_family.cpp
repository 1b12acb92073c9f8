// Family f22 (family code 3; two inputs, two outputs): its 60 members
// in id order, ids 0 to 58,
// then the compiled-tree member 127. Ids are stored in tree files and never
// change. An entry without compute and handler is a member not built yet.
#include <iterator>

#include "components/common/families.h"

namespace {

constexpr KVmemberDesc kMembers[] = {
    {.id = 0, .computeName = "f22_skew", .name = " Skew"},
    {.id = 1, .computeName = "f22_Sine", .name = " Sin x, sin y"},
    {.id = 2, .computeName = "f22_scaleOffset", .name = " Scale & Offset "},
    {.id = 3, .computeName = "f22_rotateOffset", .name = " Rotate A"},
    {.id = 4, .computeName = "f22_xplusASine", .name = " x+Asin y, y+Asin x"},
    {.id = 5, .computeName = "f22_waves", .name = " Waves"},
    {.id = 6, .computeName = "f22_twirl", .name = " Twirl"},
    {.id = 7, .computeName = "f22_sinwarp", .name = " Sin warp"},
    {.id = 8, .computeName = "f22_hexagonalMirrors", .name = " Hexagonal Mirrors"},
    {.id = 9, .computeName = "f22_hexasin", .name = " Hexagonal Sin"},
    {.id = 10, .computeName = "f22_ComplexMap", .name = " Complex Map"},
    {.id = 11, .computeName = "f22_radialstar", .name = " Radialstar"},
    {.id = 12, .computeName = "f22_random", .name = " Random noise"},
    {.id = 13, .computeName = "f22_complexModInvert", .name = " Complex waves"},
    {.id = 14, .computeName = "f22_orbiters", .name = " Orbiters"},
    {.id = 15, .computeName = "f22_complexinversion", .name = " Complex inverse"},
    {.id = 16, .computeName = "f22_multitwirls", .name = " Multi twirls"},
    {.id = 17, .computeName = "f22_fract", .name = " 2D turbulence"},
    {.id = 18, .computeName = "f22_pixelprism", .name = " Pixel prism"},
    {.id = 19, .computeName = "f22_ComplexMapB", .name = " Complex Map 2"},
    {.id = 20, .computeName = "f22_ripples", .name = " Ripples"},
    {.id = 21, .computeName = "f22_mirrors", .name = " Mirrors 4"},
    {.id = 22, .computeName = "f22_mirrors6", .name = " Mirrors 6"},
    {.id = 23, .computeName = "f22_ringspace", .name = " Ring Space"},
    {.id = 24, .computeName = "f22_polarspace", .name = " Polar Space"},
    {.id = 25, .computeName = "f22_lowfredRND", .name = " Low Freq Random "},
    {.id = 26, .computeName = "f22_dirRnd", .name = " Directional Random "},
    {.id = 27, .computeName = "f22_Bubbles", .name = " Bubble Space"},
    {.id = 28, .computeName = "f22_DistMirror", .name = " Distance Mirror"},
    {.id = 29, .computeName = "f22_DisplaceTile", .name = " Tile & displace"},
    {.id = 30, .computeName = "f22_mirrors3", .name = " Mirrors 3"},
    {.id = 31, .computeName = "f22_cristalnoise", .name = " Crystal displace "},
    {.id = 32, .computeName = "f22_NBranch", .name = " Branch N"},
    {.id = 33, .computeName = "f22_hexaTile", .name = " Hexagonal tiles"},
    {.id = 34, .computeName = "f22_DiskTile", .name = " Disc Tiling"},
    {.id = 35, .computeName = "f22_Serpiensky", .name = " Serpiensky tiles"},
    {.id = 36, .computeName = "f22_unitinversion", .name = " Disk Mirror"},
    {.id = 37, .computeName = "f22_scale", .name = " Scale Ax, By"},
    {.id = 38, .computeName = "f22_fractSpace", .name = " Random Fractal Space"},
    {.id = 39, .computeName = "f22_smoothfacetspace", .name = " Facet space mirrors"},
    {.id = 40, .computeName = "f22_facetspace", .name = " Facet space"},
    {.id = 41, .computeName = "f22_facetprism", .name = " Crystallize"},
    {.id = 42, .computeName = "f22_techdisplace", .name = " Tech displace"},
    {.id = 43, .computeName = "f22_spotdisplace", .name = " Spots displace"},
    {.id = 44, .computeName = "f22_splitmove", .name = " Split & Move"},
    {.id = 45, .computeName = "f22_Techquantize", .name = " Tech quantize"},
    {.id = 46, .computeName = "f22_facetspaceRotate", .name = " Facet space rotate"},
    {.id = 47, .computeName = "f22_PerlinNoise", .name = " Perlin random"},
    {.id = 48, .computeName = "f22_multiperlin", .name = " Multi Perlin random"},
    {.id = 49, .computeName = "f22_ridgedfractal", .name = " Ridged Fractal displace"},
    {.id = 50, .computeName = "f22_timeturbulences", .name = " Time turbulence"},
    {.id = 51, .computeName = "f22_multifract", .name = " Multi Fractal displace"},
    {.id = 52, .computeName = "f22_ChaosDisA", .name = " Chaos displace A"},
    {.id = 53, .computeName = "f22_ChaosDisB", .name = " Chaos displace B"},
    {.id = 54, .computeName = "f22_Mirror", .name = " Mirror"},
    {.id = 55, .computeName = "f22_orthoMirrors", .name = " Orthogonal Mirror tiles"},
    {.id = 56, .computeName = "f22_diskInversering", .name = " Disk Inverse Ring"},
    {.id = 57, .computeName = "f22_infgate", .name = " infinity disk gate"},
    {.id = 58, .computeName = "f22_Moebius", .name = " Complex Moebius"},
    {.id = 127, .computeName = "f22_recurtree", .name = " Compiled tree"},
};

static_assert(KV_idsInOrder(kMembers));
static_assert(std::size(kMembers) == 60);

}  // namespace

extern const KVmemberList kF22Members{kMembers, int(std::size(kMembers))};
