// Family f34 (family code 11; three inputs, four outputs): its 52 members
// in id order, ids 0 to 50,
// then the compiled-tree member 127. Ids are stored in tree files and never
// change. An entry without compute and handler is a member not built yet.
#include <iterator>

#include "components/common/families.h"
#include "components/f34/f34_rndvlines.h"

namespace {

constexpr KVmemberDesc kMembers[] = {
    {.id = 0, .computeName = "f34_PolyN", .name = " Color Polygon N "},
    {.id = 1, .computeName = "f34_Circle", .name = " Color Circle "},
    {.id = 2, .computeName = "f34_Line", .name = " Color Line "},
    {.id = 3, .computeName = "f34_NeonLine", .name = " Color Neon Line "},
    // Its handler is built (f14 id 11 binds it); the compute is not yet.
    {.id = 4,
     .computeName = "f34_RndVLines",
     .name = " Random Verticals",
     .handler = f34_RndVLines_handler,
     .params = {kF34RndVLinesParams[0], kF34RndVLinesParams[1], kF34RndVLinesParams[2]},
     .defaults = kF34RndVLinesDefaults},
    {.id = 5, .computeName = "f34_OLinesMaze", .name = " L Maze"},
    {.id = 6, .computeName = "f34_litLedround", .name = " z LED Array"},
    {.id = 7, .computeName = "f34_mondrian", .name = " Mondrian "},
    {.id = 8, .computeName = "f34_zmultifractal", .name = " z Multifractal"},
    {.id = 9, .computeName = "f34_zgreenbushes", .name = " z Green Bushes"},
    {.id = 10, .computeName = "f34_zfiberrock", .name = " z Sulfur Fiberrock"},
    {.id = 11, .computeName = "f34_zgrainrock", .name = " z Granular rock"},
    {.id = 12, .computeName = "f34_colorpatches", .name = " 3D Color Patchwork"},
    {.id = 13, .computeName = "f34_packedzBlend", .name = " Packed z Blend "},
    {.id = 14, .computeName = "f34_packedzMax", .name = " Packed z Max"},
    {.id = 15, .computeName = "f34_packedlerp", .name = " Packed Crossfade"},
    {.id = 16, .computeName = "f34_packedmax", .name = " Packed Max"},
    {.id = 17, .computeName = "f34_packedacomp", .name = " Packed Alpha Compose"},
    {.id = 18, .computeName = "f34_OMaze", .name = " O Maze"},
    {.id = 19, .computeName = "f34_multifractal", .name = " 3D MultiFractal noise "},
    {.id = 20, .computeName = "f34_paintstrokes", .name = " z Paint strokes"},
    {.id = 21, .computeName = "f34_litLedsquare", .name = " z Square LEDs"},
    {.id = 22, .computeName = "f34_citylights", .name = " z matrix lights "},
    {.id = 23, .computeName = "f34_linesNetwork", .name = " z Line network"},
    {.id = 24, .computeName = "f34_zdisktiles", .name = " z Disk Tiles"},
    {.id = 25, .computeName = "f34_zstrokes", .name = " z Strokes"},
    {.id = 26, .computeName = "f34_Cmaze", .name = " R Maze"},
    {.id = 27, .computeName = "f34_colordots", .name = " 3D Color Dots "},
    {.id = 28, .computeName = "f34_zicecracks", .name = " 3D ice cracks "},
    {.id = 29, .computeName = "f34_packedmuladd", .name = " Packed mul & add"},
    {.id = 30, .computeName = "f34_granitrocks", .name = " 3D granit rocks"},
    {.id = 31, .computeName = "f34_noiseG", .name = " 3D Random Rects"},
    {.id = 32, .computeName = "f34_starfield", .name = " 3D Color Star Field"},
    {.id = 33, .computeName = "f34_lunarrock", .name = " 3D Lunar rocks"},
    {.id = 34, .computeName = "f34_voron3d", .name = " 3D Cellular"},
    {.id = 35, .computeName = "f34_multibubbles", .name = " 3D Multi Bubbles"},
    {.id = 36, .computeName = "f34_ridgedfractal", .name = " 3D Ridged Fractal"},
    {.id = 37, .computeName = "f34_greenmarble", .name = " 3D Green Marble"},
    {.id = 38, .computeName = "f34_PolyB", .name = " z Random Polygons"},
    {.id = 39, .computeName = "f34_gaussian", .name = " Gaussian Dot "},
    {.id = 40, .computeName = "f34_fractalbubbles", .name = " 3D Lava Bubbles"},
    {.id = 41, .computeName = "f34_facetrocks", .name = " 3D Facet Rocks"},
    {.id = 42, .computeName = "f34_packedaddmul", .name = " Packed add & mul"},
    {.id = 43, .computeName = "f34_Silexnoise", .name = " 3D Fractal Silex noise"},
    {.id = 44, .computeName = "f34_Technoid", .name = " z R-patchwork"},
    {.id = 45, .computeName = "f34_futurB", .name = " 3D fractured rocks "},
    {.id = 46, .computeName = "f34_memPackzBlend", .name = " Memory Packed z Blend "},
    {.id = 47, .computeName = "f34_packedRndMix", .name = " Packed random Mix"},
    {.id = 48, .computeName = "f34_packedMIN", .name = " Packed Alpha Min"},
    {.id = 49, .computeName = "f34_procTechNoises", .name = " 3D Tech Noise #"},
    {.id = 50, .computeName = "f34_procWalls", .name = " 3D Walls & Concrete #"},
    {.id = 127, .computeName = "f34_recurtree", .name = " Compiled tree"},
};

static_assert(KV_idsInOrder(kMembers));
static_assert(std::size(kMembers) == 52);

}  // namespace

extern const KVmemberList kF34Members{kMembers, int(std::size(kMembers))};
