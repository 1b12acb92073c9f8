// Family f12 (family code 16; one input, two outputs): its 11 members in id
// order, ids 0 to 9, then the compiled-tree member 127. Ids are stored in
// tree files and never change.
#include <iterator>

#include "components/common/families.h"
#include "components/f12/f12_nodes.h"
#include "components/f12/f12_pairs.h"

namespace {

constexpr KVmemberDesc kMembers[] = {
    kF12_Constant,     kF12_Modulo,   kF12_linearmotion, kF12_circularmotion,
    kF12_randommotion, kF12_MathA,    kF12_MathB,        kF12_CubicFloor,
    kF12_derivative,   kF12_QTModulo, kF12_recurtree,
};

static_assert(KV_idsInOrder(kMembers));
static_assert(std::size(kMembers) == 11);

}  // namespace

extern const KVmemberList kF12Members{kMembers, int(std::size(kMembers))};
