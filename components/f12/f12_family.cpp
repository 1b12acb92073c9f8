// Family f12 (family code 16; one input, two outputs): its 11 members
// in id order, ids 0 to 9,
// then the compiled-tree member 127. Ids are stored in tree files and never
// change. An entry without compute and handler is a member not built yet.
#include <iterator>

#include "components/common/families.h"

namespace {

constexpr KVmemberDesc kMembers[] = {
    {.id = 0, .computeName = "f12_Constant", .name = " Set Constant"},
    {.id = 1, .computeName = "f12_Modulo", .name = " Modulo & int "},
    {.id = 2, .computeName = "f12_linearmotion", .name = " Linear motion"},
    {.id = 3, .computeName = "f12_circularmotion", .name = " Circular motion"},
    {.id = 4, .computeName = "f12_randommotion", .name = " Random motion"},
    {.id = 5, .computeName = "f12_MathA", .name = " Math : atan & tgt  "},
    {.id = 6, .computeName = "f12_MathB", .name = " Math : log & exp  "},
    {.id = 7, .computeName = "f12_CubicFloor", .name = " Cubic Clip "},
    {.id = 8, .computeName = "f12_derivative", .name = " 2D derivative dx,dy"},
    {.id = 9, .computeName = "f12_QTModulo", .name = " Integer Modulo"},
    {.id = 127, .computeName = "f12_recurtree", .name = ""},
};

static_assert(KV_idsInOrder(kMembers));
static_assert(std::size(kMembers) == 11);

}  // namespace

extern const KVmemberList kF12Members{kMembers, int(std::size(kMembers))};
