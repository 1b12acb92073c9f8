// Family f41 (family code 15; four inputs, one output): its 10 members in id
// order, ids 0 to 8, then the compiled-tree member 127. Ids are stored in
// tree files and never change.
#include <iterator>

#include "components/common/families.h"
#include "components/f41/f41_mixes.h"
#include "components/f41/f41_noise.h"
#include "components/f41/f41_recurtree.h"

namespace {

constexpr KVmemberDesc kMembers[] = {
    kF41_Pack, kF41_mix, kF41_Min, kF41_Max, kF41_RndMix,
    kF41_mul,  kF41_FB,  kF41_FC,  kF41_det, kF41_recurtree,
};

static_assert(KV_idsInOrder(kMembers));
static_assert(std::size(kMembers) == 10);

}  // namespace

extern const KVmemberList kF41Members{kMembers, int(std::size(kMembers))};
