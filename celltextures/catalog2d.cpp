#include "celltextures/catalog2d.h"

#include <cstring>

#include "celltextures/city_highrise.h"
#include "celltextures/city_insect.h"
#include "celltextures/city_pyramids.h"
#include "celltextures/city_sparse.h"
#include "celltextures/city_walls.h"
#include "celltextures/cityplan_a.h"
#include "celltextures/cityplan_b.h"
#include "celltextures/streets.h"
#include "celltextures/techmotifs.h"
#include "celltextures/techpanels.h"

namespace kvcell {
namespace {

constexpr CellEntry cell(const char* name, CellTexture2DProc f, CodeRule rule = CodeRule::Set)
{
  return {.name = name, .form = Form::Cell, .code = rule, .cell = f};
}
constexpr CellEntry maze(const char* name, MazeCellProc f)
{
  return {.name = name, .form = Form::Maze, .code = CodeRule::Set, .maze = f};
}
constexpr CellEntry levelOnly(const char* name, CellLevel2DProc f)
{
  return {.name = name, .form = Form::Level, .code = CodeRule::None, .level = f};
}

constexpr CellEntry kCells[] = {
    cell("LABTXT_StreetsNetwork", LABTXT_StreetsNetwork),
    cell("LABTXT_StreetsMask", LABTXT_StreetsMask),
    {.name = "LABTXT_StreetsFlags",
     .form = Form::Flag,
     .code = CodeRule::None,
     .flag = LABTXT_StreetsFlags},
    maze("StreetsNetworkMask", StreetsNetworkMask),
    cell("LABTXT_StreetsMarks", LABTXT_StreetsMarks),

    cell("LABTXT_TEK_computerdots", LABTXT_TEK_computerdots),
    cell("LABTXT_TEK_AlienSigns", LABTXT_TEK_AlienSigns),
    cell("LABTXT_TEK_Acity", LABTXT_TEK_Acity),
    cell("LABTXT_TEK_grid", LABTXT_TEK_grid),
    cell("LABTXT_TEK_Maze", LABTXT_TEK_Maze),
    cell("LABTXT_TEK_D", LABTXT_TEK_D),
    cell("LABTXT_TEK_sparce", LABTXT_TEK_sparce),
    cell("LABTXT_TEK_corail", LABTXT_TEK_corail),
    cell("LABTXT_TEK_BuildA", LABTXT_TEK_BuildA),
    cell("LABTXT_TEK_BuildB", LABTXT_TEK_BuildB),
    cell("LABTXT_TEK_lines", LABTXT_TEK_lines),
    cell("LABTXT_TEK_groundmarks", LABTXT_TEK_groundmarks, CodeRule::SetOrNull),
    cell("LABTXT_TEK_RandomRects", LABTXT_TEK_RandomRects, CodeRule::SetOrNull),
    cell("LABTXT_TEK_sparceRects", LABTXT_TEK_sparceRects, CodeRule::SetOrNull),
    levelOnly("LABTXT_TEK_randomEdges", LABTXT_TEK_randomEdges),
    cell("LABTXT_mondrian", LABTXT_mondrian, CodeRule::Keep),
    maze("LABTXT_mondrianRects", LABTXT_mondrianRects),
    maze("LABTXT_omazeA", LABTXT_omazeA),
    maze("LABTXT_CityBblock", LABTXT_CityBblock),
    levelOnly("LABTXT", LABTXT),

    cell("LABTXT_CityA", LABTXT_CityA),
    cell("LABTXT_TEK_randomsymbuild", LABTXT_TEK_randomsymbuild, CodeRule::AddOrNull),
    cell("LABTXT_TEK_symbuild32", LABTXT_TEK_symbuild32, CodeRule::Add),
    cell("LABTXT_subcityA", LABTXT_subcityA),

    cell("LABTXT2D_A", LABTXT2D_A),
    cell("LABTXT2D_BuildA", LABTXT2D_BuildA),
    cell("LABTXT2D_BuildB", LABTXT2D_BuildB),
    cell("LABTXT2D_Mayan", LABTXT2D_Mayan),
    cell("LABTXT2D_Network", LABTXT2D_Network),
    cell("LABTXT2D_CubeGrid", LABTXT2D_CubeGrid),
    cell("LABTXT2D_ASigns", LABTXT2D_ASigns),
    cell("LABTXT2D_BSigns", LABTXT2D_BSigns),
    cell("LABTXT2D_TA", LABTXT2D_TA),
    cell("LABTXT2D_Hgrid", LABTXT2D_Hgrid),
    cell("LABTXT2D_Comput", LABTXT2D_Comput),

    cell("LABTXT_City", LABTXT_City),
    {.name = "PyraStreetsNetwork",
     .form = Form::Pyramid,
     .code = CodeRule::None,
     .pyramid = PyraStreetsNetwork},

    cell("LABTXT_HighRiseCity", LABTXT_HighRiseCity),
    cell("LABTXT_InsectCity", LABTXT_InsectCity),
    cell("LABTXT_SparceCity", LABTXT_SparceCity),
    cell("LABTXT_CityB", LABTXT_CityB),

    cell("LABTXT3D_StonesD2D", LABTXT3D_StonesD2D),
    cell("LABTXT2D_paves", LABTXT2D_paves),
};

}  // namespace

std::span<const CellEntry> cells2D()
{
  return kCells;
}

const CellEntry* findCell2D(const char* name)
{
  for (const CellEntry& e : kCells) {
    if (std::strcmp(e.name, name) == 0)
      return &e;
  }
  return nullptr;
}

const char* formName(Form form)
{
  switch (form) {
    case Form::Cell:
      return "cell";
    case Form::Maze:
      return "maze";
    case Form::Level:
      return "level";
    case Form::Flag:
      return "flag";
    case Form::Pyramid:
      return "pyramid";
  }
  return "?";
}

}  // namespace kvcell
