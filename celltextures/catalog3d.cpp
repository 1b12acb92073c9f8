#include "celltextures/catalog3d.h"

#include <cstring>

#include "celltextures/building_shapes.h"
#include "celltextures/building_vectors.h"
#include "celltextures/buildings.h"
#include "celltextures/city_dispatch.h"
#include "celltextures/city_ground.h"
#include "celltextures/city_techset.h"
#include "celltextures/city_walls.h"

namespace kvcell {
namespace {

constexpr CellEntry3D cell(const char* name, CellTexture3DProc f)
{
  return {.name = name, .form = Form3D::Cell, .cell = f};
}
constexpr CellEntry3D vec(const char* name, CellTexture3DVecProc f)
{
  return {.name = name, .form = Form3D::Vector, .vector = f};
}

constexpr CellEntry3D kCells[] = {
    cell("LABTXT3D_BuildA", LABTXT3D_BuildA),
    cell("LABTXT3D_BuildA4", LABTXT3D_BuildA4),
    cell("LABTXT3D_BuildI", LABTXT3D_BuildI),
    cell("LABTXT3D_BuildV1", LABTXT3D_BuildV1),
    cell("LABTXT3D_BuildE", LABTXT3D_BuildE),
    cell("LABTXT3D_BuildF", LABTXT3D_BuildF),
    cell("LABTXT3D_BuildOthers", LABTXT3D_BuildOthers),
    cell("Tnoises_VHrects", Tnoises_VHrects),

    cell("LABTXT3D_BuildD", LABTXT3D_BuildD),
    cell("LABTXT3D_BuildWA", LABTXT3D_BuildWA),
    cell("LABTXT3D_BuildAalt", LABTXT3D_BuildAalt),
    cell("LABTXT3D_BuildB", LABTXT3D_BuildB),
    cell("LABTXT3D_BuildComposites", LABTXT3D_BuildComposites),
    cell("LABTXT3D_ClassicGen", LABTXT3D_ClassicGen),
    cell("LABTXT3D_BuildBGen", LABTXT3D_BuildBGen),

    vec("LABTXT3D_AR_BuildA", LABTXT3D_AR_BuildA),
    vec("LABTXT3D_AR_BuildA4", LABTXT3D_AR_BuildA4),
    vec("LABTXT3D_AR_BuildD", LABTXT3D_AR_BuildD),
    vec("LABTXT3D_AR_BuildI", LABTXT3D_AR_BuildI),
    vec("LABTXT3D_AR_BuildV1", LABTXT3D_AR_BuildV1),
    vec("LABTXT3D_AR_BuildE", LABTXT3D_AR_BuildE),
    vec("LABTXT3D_AR_BuildF", LABTXT3D_AR_BuildF),
    vec("LABTXT3D_AR_BuildVlines", LABTXT3D_AR_BuildVlines),
    vec("LABTXT3D_AR_BuildBW", LABTXT3D_AR_BuildBW),
    vec("LABTXT3D_AR_cityA", LABTXT3D_AR_cityA),
    vec("LABTXT3D_AR_BuildAalt", LABTXT3D_AR_BuildAalt),
    vec("LABTXT3D_AR_BuildB", LABTXT3D_AR_BuildB),
    vec("LABTXT3D_AR_BuildWA", LABTXT3D_AR_BuildWA),
    vec("LABTXT3D_AR_ClassicGen", LABTXT3D_AR_ClassicGen),
    vec("LABTXT3D_AR_BuildBGen", LABTXT3D_AR_BuildBGen),
    vec("LABTXT3D_AR_Composites", LABTXT3D_AR_Composites),

    cell("LABTXT3D_groundC2", LABTXT3D_groundC2),
    cell("LABTXT3D_groundC3", LABTXT3D_groundC3),
    vec("LABTXT3D_AR_ground", LABTXT3D_AR_ground),
    vec("LABTXT3D_AR_groundC", LABTXT3D_AR_groundC),

    cell("LABTXT3D_A", LABTXT3D_A),
    cell("LABTXT3D_Mayan", LABTXT3D_Mayan),
    cell("LABTXT3D_City", LABTXT3D_City),
    cell("LABTXT3D_VStrat", LABTXT3D_VStrat),
    cell("LABTXT3D_CubeGrid", LABTXT3D_CubeGrid),
    cell("LABTXT3D_BSigns", LABTXT3D_BSigns),
    cell("LABTXT3D_ASigns", LABTXT3D_ASigns),
    cell("LABTXT3D_TA", LABTXT3D_TA),
    cell("LABTXT3D_TB", LABTXT3D_TB),
    cell("LABTXT3D_TC", LABTXT3D_TC),
    cell("LABTXT3D_Patchwork_City1", LABTXT3D_Patchwork_City1),
    cell("LABTXT3D_Patchwork_City2", LABTXT3D_Patchwork_City2),
    cell("LABTXT3D_Patchwork_City3", LABTXT3D_Patchwork_City3),

    cell("LABTXT3D_CeramicsA", LABTXT3D_CeramicsA),
    cell("LABTXT3D_StonesA", LABTXT3D_StonesA),
    cell("LABTXT3D_StonesC", LABTXT3D_StonesC),
    cell("LABTXT3D_StonesD", LABTXT3D_StonesD),
    cell("LABTXT3D_StonesB", LABTXT3D_StonesB),
    cell("LABWALL_ConcreteA", LABWALL_ConcreteA),
    cell("LABTXT3D_PlatesNWindow", LABTXT3D_PlatesNWindow),
    cell("LABTXT3D_discreetplates", LABTXT3D_discreetplates),
    cell("LABTXT3D_StonesNWindow", LABTXT3D_StonesNWindow),
    cell("LABTXT3D_WhiteNWindow", LABTXT3D_WhiteNWindow),
    cell("LABTXT3D_MotifA", LABTXT3D_MotifA),
    cell("LABTXT3D_MotifB", LABTXT3D_MotifB),
    cell("LABTXT3D_MotifC", LABTXT3D_MotifC),
    cell("LABTXT3D_bricksA", LABTXT3D_bricksA),
    cell("LABTXT3D_bricksB", LABTXT3D_bricksB),
    cell("LABWALL_ConcreteB", LABWALL_ConcreteB),
    cell("LABWALL_ConcreteLines", LABWALL_ConcreteLines),
    cell("LABWALL_ConcreteMix", LABWALL_ConcreteMix),

    cell("LABTexture_City1", LABTexture_City1),
    cell("LABTexture_City2", LABTexture_City2),
    cell("LABTexture_City3", LABTexture_City3),
    cell("LABTexture_CityClassic", LABTexture_CityClassic),
    vec("LABTextureAR_City1", LABTextureAR_City1),
    vec("LABTextureAR_City2", LABTextureAR_City2),
    vec("LABTextureAR_City3", LABTextureAR_City3),
    vec("LABTextureAR_CityClassic", LABTextureAR_CityClassic),
    vec("LABTXT3D_AR_cityB", LABTXT3D_AR_cityB),
    vec("LABTXT3D_AR_cityC", LABTXT3D_AR_cityC),
};

}  // namespace

std::span<const CellEntry3D> cells3D()
{
  return kCells;
}

const CellEntry3D* findCell3D(const char* name)
{
  for (const CellEntry3D& e : kCells) {
    if (std::strcmp(e.name, name) == 0)
      return &e;
  }
  return nullptr;
}

const char* formName3D(Form3D form)
{
  return form == Form3D::Cell ? "cell3d" : "vector3d";
}

}  // namespace kvcell
