// Family f43 (family code 9; four inputs, three outputs): its 30 members
// in id order, ids 0 to 28,
// then the compiled-tree member 127. Ids are stored in tree files and never
// change. An entry without compute and handler is a member not built yet.
#include <iterator>

#include "components/common/families.h"
#include "components/f43/looper.h"

namespace {

constexpr KVmemberDesc kMembers[] = {
    {.id = 0, .computeName = "f43_RGBmix", .name = " RGB Mix "},
    {.id = 1, .computeName = "f43_RGBmul", .name = " RGB Multiply "},
    {.id = 2, .computeName = "f43_rgbalpha", .name = " RGB Alpha "},
    {.id = 3, .computeName = "f43_RGBlerp", .name = " RGB Interpolate "},
    {.id = 4, .computeName = "f43_zcompare", .name = " Packed Depth sort"},
    {.id = 5, .computeName = "f43_wadd", .name = " w Offset"},
    {.id = 6, .computeName = "f43_wscale", .name = " w Scale "},
    {.id = 7, .computeName = "f43_wrotate", .name = " w Rotate"},
    {.id = 8, .computeName = "f43_memadd", .name = " Memory Add"},
    {.id = 9, .computeName = "f43_memmax", .name = " Memory Max"},
    {.id = 10, .computeName = "f43_packedRGBzsort", .name = " Packed RGB w Min"},
    {.id = 11, .computeName = "f43_memalpha", .name = " Memory w Alpha"},
    {.id = 12, .computeName = "f43_memwmin", .name = " Memory w Min"},
    {.id = 13, .computeName = "f43_memwmax", .name = " Memory w Max"},
    {.id = 14, .computeName = "f43_packedalpha_mul", .name = " Packed Alpha *w"},
    {.id = 15, .computeName = "f43_packedmul_alpha", .name = " Packed a*w alpha b"},
    {.id = 16, .computeName = "f43_packedalpha_add", .name = " Packed (a+w) Alpha b"},
    {.id = 17, .computeName = "f43_packedlerp_alpha", .name = " Packed Blend & Alpha"},
    {.id = 18, .computeName = "f43_packedaddadd_mul", .name = " Packed Add & Add *w"},
    {.id = 19, .computeName = "f43_packedlerpmul", .name = " Packed Add & Blend *w"},
    {.id = 20, .computeName = "f43_packedaddmul_add", .name = " Packed Add & Mul +w"},
    {.id = 21, .computeName = "f43_packedmuladd_mul", .name = " Packed Mul & Add *w"},
    {.id = 22, .computeName = "f43_packedRGBzsortblend", .name = " Packed RGB w Min Blend"},
    {.id = 23, .computeName = "f43_packedblend", .name = " Packed Blend *w & Blend"},
    {.id = 24, .computeName = "f43_wcolorshift", .name = " w Color Shift"},
    {.id = 25, .computeName = "f43_wcolorfade", .name = " w Color Fade "},
    kF43_iterator,
    kF43_iteratorB,
    kF43_crossiterator,
    {.id = 127, .computeName = "f43_recurtree", .name = "Compiled tree"},
};

static_assert(KV_idsInOrder(kMembers));
static_assert(std::size(kMembers) == 30);

}  // namespace

extern const KVmemberList kF43Members{kMembers, int(std::size(kMembers))};
