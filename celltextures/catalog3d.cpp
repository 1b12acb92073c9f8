#include "celltextures/catalog3d.h"

#include <cstring>

#include "celltextures/building_shapes.h"
#include "celltextures/building_vectors.h"
#include "celltextures/buildings.h"

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
