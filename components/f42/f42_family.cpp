// Family f42 (family code 6; four inputs, two outputs): its 33 members
// in id order, ids 0 to 31,
// then the compiled-tree member 127. Ids are stored in tree files and never
// change. An entry without compute and handler is a member not built yet.
#include <iterator>

#include "components/common/families.h"

namespace {

constexpr KVmemberDesc kMembers[] = {
    {.id = 0, .computeName = "f42_add", .name = " Complex add Z+C"},
    {.id = 1, .computeName = "f42_mul", .name = " Complex multiply Z*C"},
    {.id = 2, .computeName = "f42_div", .name = " Complex divide Z/C"},
    {.id = 3, .computeName = "f42_maximum", .name = " Blended Max "},
    {.id = 4, .computeName = "f42_distdiv", .name = " Distance divide"},
    {.id = 5, .computeName = "f42_lerp", .name = " Interpolate "},
    {.id = 6, .computeName = "f42_expfield", .name = " Exp field "},
    {.id = 7, .computeName = "f42_ComplexMap4", .name = " ComplexMap 4D "},
    {.id = 8, .computeName = "f42_absmin", .name = " Abs & minimum "},
    {.id = 9, .computeName = "f42_rmul", .name = " Real multiply "},
    {.id = 10, .computeName = "f42_radiallerp", .name = " Radial Interpolate "},
    {.id = 11, .computeName = "f42_facetmix", .name = " Facet Mix "},
    {.id = 12, .computeName = "f42_ycompare", .name = " Y compare "},
    {.id = 13, .computeName = "f42_DistCompare", .name = " Distance compare "},
    {.id = 14, .computeName = "f42_split", .name = " Split space "},
    {.id = 15, .computeName = "f42_MinMax", .name = " Min <-> Max"},
    {.id = 16, .computeName = "f42_addNormalised", .name = " Add normalized"},
    {.id = 17, .computeName = "f42_mandel2", .name = " Complex Z^2 + C "},
    {.id = 18, .computeName = "f42_mandel3", .name = " Complex Z^3 + C "},
    {.id = 19, .computeName = "f42_mandel4", .name = " Complex C(Z+ 1/Z) "},
    {.id = 20, .computeName = "f42_Escher", .name = " Escher disks"},
    {.id = 21, .computeName = "f42_cexp", .name = " Complex exp C e^Z "},
    {.id = 22, .computeName = "f42_csin", .name = " Complex C sin Z"},
    {.id = 23, .computeName = "f42_xfzyfc", .name = " x from Z, y from C"},
    {.id = 24, .computeName = "f42_rdisplace", .name = " Mondrian displace"},
    {.id = 25, .computeName = "f42_split_four", .name = " Split 4"},
    {.id = 26, .computeName = "f42_Cadd", .name = " Complex add N*Z+C"},
    {.id = 27, .computeName = "f42_splitAlternate", .name = " Alternate Split "},
    {.id = 28, .computeName = "f42_moebius", .name = " Moebius(Z) + C "},
    {.id = 29, .computeName = "f42_cpower", .name = " Complex power Z^n + C "},
    {.id = 30, .computeName = "f42_splitunitdisk", .name = " Split Disk "},
    {.id = 31, .computeName = "f42_CityTextures", .name = " City Light & Reflection #"},
    {.id = 127, .computeName = "f42_recurtree", .name = " Compiled tree"},
};

static_assert(KV_idsInOrder(kMembers));
static_assert(std::size(kMembers) == 33);

}  // namespace

extern const KVmemberList kF42Members{kMembers, int(std::size(kMembers))};
