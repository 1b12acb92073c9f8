// Family f23 (family code 7; two inputs, three outputs): its 47 members
// in id order, ids 0 to 45,
// then the compiled-tree member 127. Ids are stored in tree files and never
// change. An entry without compute and handler is a member not built yet.
#include <iterator>

#include "components/common/families.h"
#include "components/f23/f23_boxes.h"
#include "components/f23/f23_colors.h"
#include "components/f23/f23_gradients.h"
#include "components/f23/f23_hues.h"
#include "components/f23/f23_noisecolors.h"
#include "components/f23/f23_packed.h"
#include "components/f23/f23_pictures.h"
#include "components/f23/f23_recurtree.h"
#include "components/f23/f23_surfaces.h"
#include "components/f23/f23_techno.h"
#include "components/f23/f23_terrain.h"
#include "components/f23/looper.h"

namespace {

constexpr KVmemberDesc kMembers[] = {
    kF23_colorpict,   kF23_colorpictsym, kF23_singleColor,    kF23_ColorGradient,
    kF23_ColorShade,  kF23_ColorKVgrad,  kF23_packedlerp,     kF23_zcompare,
    kF23_fract,       kF23_axono,        kF23_zset,           kF23_sphere,
    kF23_plane,       kF23_tube,         kF23_cube,           kF23_packedmul,
    kF23_packedadd,   kF23_room,         kF23_concentrichues, kF23_linearhues,
    kF23_radialhues,  kF23_randomhues,   kF23_sphereproj,     kF23_Pcube,
    kF23_Proom,       kF23_Pface,        kF23_ColorKVgradB,   kF23_bubbles,
    kF23_ColorT6,     kF23_strings,      kF23_techno,         kF23_rgbShade,
    kF23_ellipsoid,   kF23_cubeskew,     kF23_colorpicttile,  kF23_packedmax,
    kF23_multiperlin, kF23_multifractal, kF23_lunarrock,      kF23_MAXtogradient,
    kF23_slopegrass,  kF23_foliage,      kF23_indexGradient,  kF23_BezierGradient,
    kF23_iterator,    kF23_ColorKVYgrad, kF23_recurtree,
};

static_assert(KV_idsInOrder(kMembers));
static_assert(std::size(kMembers) == 47);

}  // namespace

extern const KVmemberList kF23Members{kMembers, int(std::size(kMembers))};
