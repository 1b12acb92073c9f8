// Family f25 (family code 13; two inputs, five outputs): its 31 members
// in id order, ids 0 to 29,
// then the compiled-tree member 127. Ids are stored in tree files and never
// change. An entry without compute and handler is a member not built yet.
#include <iterator>

#include "components/common/families.h"
#include "components/f25/f25_disks.h"
#include "components/f25/f25_lab.h"
#include "components/f25/f25_mirrors.h"
#include "components/f25/f25_moebius.h"
#include "components/f25/f25_packings.h"
#include "components/f25/f25_polartiles.h"
#include "components/f25/f25_recurtree.h"
#include "components/f25/f25_tilings.h"
#include "components/f25/f25_twirls.h"

namespace {

constexpr KVmemberDesc kMembers[] = {
    kF25_OdiskInversion,
    kF25_inversionLab,
    kF25_DinvMoebius,
    kF25_Tiles,
    kF25_DinvSpiral,
    kF25_moebiusDisk,
    kF25_MirrorTiles,
    kF25_Appolonian,
    kF25_mirror,
    kF25_diskInversion,
    kF25_disperlin,
    kF25_mirrorN,
    kF25_SpiralTile,
    kF25_InversionRing,
    kF25_InversionRingIO,
    kF25_soddyInversion,
    kF25_soddyOrt,
    kF25_outermirrorN,
    kF25_fA,
    kF25_PolarFractTile,
    kF25_Polar,
    kF25_RandomDisk,
    kF25_fD,
    kF25_Kleinian,
    kF25_moebiusBalls,
    kF25_HexaTiles,
    kF25_moduloX,
    kF25_EscherTile,
    kF25_rotateN,
    kF25_RandomTwirls,
    kF25_recurtree,
};

static_assert(KV_idsInOrder(kMembers));
static_assert(std::size(kMembers) == 31);

}  // namespace

extern const KVmemberList kF25Members{kMembers, int(std::size(kMembers))};
