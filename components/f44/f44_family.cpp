// Family f44 (family code 12; four inputs, four outputs): its 19 members
// in id order, ids 0 to 17,
// then the compiled-tree member 127. Ids are stored in tree files and never
// change. An entry without compute and handler is a member not built yet.
#include <iterator>

#include "components/common/families.h"
#include "components/f44/themefilter.h"

namespace {

constexpr KVmemberDesc kMembers[] = {
    {.id = 0, .computeName = "f44_scale", .name = " XYZ Scale"},
    {.id = 1, .computeName = "f44_memalpha", .name = " Memory w Alpha"},
    {.id = 2, .computeName = "f44_memWadd", .name = " Memory Weighted Add"},
    {.id = 3, .computeName = "f44_wmul", .name = " RGB * alpha"},
    {.id = 4, .computeName = "f44_wcolorfade", .name = " Alpha Fade "},
    {.id = 5, .computeName = "f44_wblend", .name = " Alpha Shade"},
    {.id = 6, .computeName = "f44_floor", .name = " Smooth floor"},
    {.id = 7, .computeName = "f44_alphascale", .name = " Alpha scale & offset"},
    {.id = 8, .computeName = "f44_memmax", .name = " Memory w Max"},
    {.id = 9, .computeName = "f44_offset", .name = " XYZ Offset"},
    {.id = 10, .computeName = "f44_colorshift", .name = " Color Shift"},
    {.id = 11, .computeName = "f44_memadd", .name = " Memory Add"},
    {.id = 12, .computeName = "f44_memfractadd", .name = " Memory Fractal Add"},
    {.id = 13, .computeName = "f44_memdif", .name = " Memory Diff"},
    {.id = 14, .computeName = "f44_wgrad", .name = " Alpha gradient"},
    {.id = 15, .computeName = "f44_contrast", .name = " Contrast & offset"},
    {.id = 16, .computeName = "f44_CityTextures", .name = " City Textures # (xziy)"},
    kF44_ThemeFilter,
    {.id = 127, .computeName = "f44_recurtree", .name = "Compiled tree"},
};

static_assert(KV_idsInOrder(kMembers));
static_assert(std::size(kMembers) == 19);

}  // namespace

extern const KVmemberList kF44Members{kMembers, int(std::size(kMembers))};
