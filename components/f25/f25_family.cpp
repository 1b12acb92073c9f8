// Family f25 (family code 13; two inputs, five outputs): its 31 members
// in id order, ids 0 to 29,
// then the compiled-tree member 127. Ids are stored in tree files and never
// change. An entry without compute and handler is a member not built yet.
#include <iterator>

#include "components/common/families.h"
#include "components/f25/f25_disks.h"
#include "components/f25/f25_lab.h"
#include "components/f25/f25_moebius.h"
#include "components/f25/f25_packings.h"
#include "components/f25/f25_recurtree.h"

namespace {

constexpr KVmemberDesc kMembers[] = {
    kF25_OdiskInversion,
    kF25_inversionLab,
    kF25_DinvMoebius,
    {.id = 3, .computeName = "f25_Tiles", .name = " Tiles"},
    kF25_DinvSpiral,
    kF25_moebiusDisk,
    {.id = 6, .computeName = "f25_MirrorTiles", .name = " Mirror Tiles"},
    kF25_Appolonian,
    {.id = 8, .computeName = "f25_mirror", .name = " Mirror"},
    kF25_diskInversion,
    {.id = 10, .computeName = "f25_disperlin", .name = " Multi Perlin random"},
    {.id = 11, .computeName = "f25_mirrorN", .name = " Mirror N"},
    {.id = 12, .computeName = "f25_SpiralTile", .name = " Spiral Polar Tile"},
    kF25_InversionRing,
    kF25_InversionRingIO,
    kF25_soddyInversion,
    kF25_soddyOrt,
    {.id = 17, .computeName = "f25_outermirrorN", .name = " Outer Mirror N"},
    kF25_fA,
    {.id = 19, .computeName = "f25_PolarFractTile", .name = " Fractal Polar Tile"},
    {.id = 20, .computeName = "f25_Polar", .name = " Polar Space"},
    kF25_RandomDisk,
    kF25_fD,
    kF25_Kleinian,
    kF25_moebiusBalls,
    {.id = 25, .computeName = "f25_HexaTiles", .name = " Hexa Mirror Tiles"},
    {.id = 26, .computeName = "f25_moduloX", .name = " Disk Modulo X "},
    {.id = 27, .computeName = "f25_EscherTile", .name = " Escher Disk Tile "},
    {.id = 28, .computeName = "f25_rotateN", .name = " Rotate N "},
    {.id = 29, .computeName = "f25_RandomTwirls", .name = " Random Twirls"},
    kF25_recurtree,
};

static_assert(KV_idsInOrder(kMembers));
static_assert(std::size(kMembers) == 31);

}  // namespace

extern const KVmemberList kF25Members{kMembers, int(std::size(kMembers))};
