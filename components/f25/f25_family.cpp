// Family f25 (family code 13; two inputs, five outputs): its 31 members
// in id order, ids 0 to 29,
// then the compiled-tree member 127. Ids are stored in tree files and never
// change. An entry without compute and handler is a member not built yet.
#include <iterator>

#include "components/common/families.h"

namespace {

constexpr KVmemberDesc kMembers[] = {
    {.id = 0, .computeName = "f25_OdiskInversion", .name = " Outer Disk Mirror "},
    {.id = 1, .computeName = "f25_inversionLab", .name = " Disk Fractal Lab", .choiceA = true},
    {.id = 2, .computeName = "f25_DinvMoebius", .name = " Moebius Inversions"},
    {.id = 3, .computeName = "f25_Tiles", .name = " Tiles"},
    {.id = 4, .computeName = "f25_DinvSpiral", .name = " Disk Inversion Spiral"},
    {.id = 5, .computeName = "f25_moebiusDisk", .name = " Moebius Disk "},
    {.id = 6, .computeName = "f25_MirrorTiles", .name = " Mirror Tiles"},
    {.id = 7, .computeName = "f25_Appolonian", .name = " Appolonian Tile"},
    {.id = 8, .computeName = "f25_mirror", .name = " Mirror"},
    {.id = 9, .computeName = "f25_diskInversion", .name = " Disk Inversion"},
    {.id = 10, .computeName = "f25_disperlin", .name = " Multi Perlin random"},
    {.id = 11, .computeName = "f25_mirrorN", .name = " Mirror N"},
    {.id = 12, .computeName = "f25_SpiralTile", .name = " Spiral Polar Tile"},
    {.id = 13, .computeName = "f25_InversionRing", .name = " Inversion Ring"},
    {.id = 14, .computeName = "f25_InversionRingIO", .name = " Fractal Ring"},
    {.id = 15, .computeName = "f25_soddyInversion", .name = " Soddy Inversions"},
    {.id = 16, .computeName = "f25_soddyOrt", .name = " O Soddy Inversions"},
    {.id = 17, .computeName = "f25_outermirrorN", .name = " Outer Mirror N"},
    {.id = 18, .computeName = "f25_fA", .name = " Test Lab"},
    {.id = 19, .computeName = "f25_PolarFractTile", .name = " Fractal Polar Tile"},
    {.id = 20, .computeName = "f25_Polar", .name = " Polar Space"},
    {.id = 21, .computeName = "f25_RandomDisk", .name = " Random disk packing "},
    {.id = 22, .computeName = "f25_fD", .name = " Polar Spiral Band "},
    {.id = 23, .computeName = "f25_Kleinian", .name = " Kleinian Group Fractal "},
    {.id = 24, .computeName = "f25_moebiusBalls", .name = " Moebius Balls "},
    {.id = 25, .computeName = "f25_HexaTiles", .name = " Hexa Mirror Tiles"},
    {.id = 26, .computeName = "f25_moduloX", .name = " Disk Modulo X "},
    {.id = 27, .computeName = "f25_EscherTile", .name = " Escher Disk Tile "},
    {.id = 28, .computeName = "f25_rotateN", .name = " Rotate N "},
    {.id = 29, .computeName = "f25_RandomTwirls", .name = " Random Twirls"},
    {.id = 127, .computeName = "f25_recurtree", .name = ""},
};

static_assert(KV_idsInOrder(kMembers));
static_assert(std::size(kMembers) == 31);

}  // namespace

extern const KVmemberList kF25Members{kMembers, int(std::size(kMembers))};
