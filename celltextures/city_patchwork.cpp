// The patchwork cities: a generator per coarse block over the street cells.
#include "celltextures/building_shapes.h"
#include "celltextures/buildings.h"
#include "celltextures/buildings_pvt.h"
#include "celltextures/city_ground.h"
#include "celltextures/city_techset.h"
#include "celltextures/streets.h"

using kvcell::offset;
using kvcell::permChain2;
using kvcell::putCode;

namespace {

// The block code of StreetsNetworkMask for the 16-unit block of (x, z).
int32_t networkBlockCode(const KVtables* t, int32_t x, int32_t z, int16_t* code)
{
  StreetsNetworkMask(t, offset(x, 15) >> 4, offset(z, 15) >> 4, 0.0, code);
  return *code;
}

CellTexture3DProc city1Generator(int32_t b, int32_t y, int32_t c, int16_t* code)
{
  const bool hiEven = ((b >> 4) & 1) == 0;
  switch (b & 15) {
    case 0:
      return hiEven ? LABTXT3D_A : LABTXT3D_BuildV1;
    case 1:
      return LABTXT3D_BuildA4;
    case 2:
      return LABTXT3D_BuildB;  // inverted by the caller
    case 3:
      return (y & 8) ? LABTXT3D_City : nullptr;
    case 4:
      return LABTXT3D_TB;
    case 5:
      putCode(code, c & 3, 0.0);
      return LABTXT3D_BuildB;
    case 6:
      return hiEven ? LABTXT3D_BuildV1 : LABTXT3D_TC;
    case 7:
      return LABTXT3D_BSigns;
    case 8:
    case 9:
      return LABTXT3D_BuildA;
    default:  // 10..15
      putCode(code, b, 0.0);
      return LABTXT3D_BuildOthers;
  }
}

// The generators of the second patchwork by block hash & 15.
constexpr CellTexture3DProc kCity2Generators[16] = {
    LABTXT3D_BuildA,          LABTXT3D_BuildA4, LABTXT3D_ClassicGen,      LABTXT3D_BuildD,
    LABTXT3D_BuildComposites, LABTXT3D_BuildB,  LABTXT3D_BuildWA,         LABTXT3D_BuildV1,
    LABTXT3D_BuildBGen,       LABTXT3D_BuildF,  LABTXT3D_BuildComposites, LABTXT3D_BuildI,
    LABTXT3D_BuildE,          LABTXT3D_BuildV1, LABTXT3D_BuildAalt,       LABTXT3D_BuildAalt};

// The generators of the third patchwork by block hash & 15, in pairs.
constexpr CellTexture3DProc kCity3Generators[8] = {
    LABTXT3D_BuildA, LABTXT3D_BuildB, LABTXT3D_BuildD,  LABTXT3D_BuildE,
    LABTXT3D_BuildF, LABTXT3D_BuildI, LABTXT3D_BuildV1, LABTXT3D_BuildAalt};

}  // namespace

double LABTXT3D_Patchwork_City1(const KVtables* t, int32_t x, int32_t y, int32_t z, int16_t* code)
{
  const int32_t c = networkBlockCode(t, x, z, code);
  if (c < 0)
    return putCode(code, -90, 0.0);
  const int32_t xs = offset(x, 11), zs = offset(z, 11);
  const int32_t b = c + permChain2(t, xs >> 11, zs >> 9, xs >> 20);
  const CellTexture3DProc cell = city1Generator(b, y, c, code);
  if (!cell)
    return putCode(code, -120, 0.0);
  const double level = cell(t, xs, y, zs, code);
  return (b & 15) == 2 ? 1.0 - level : level;
}

double LABTXT3D_Patchwork_City2(const KVtables* t, int32_t x, int32_t y, int32_t z, int16_t* code)
{
  const int32_t c = networkBlockCode(t, x, z, code);
  const int32_t xs = offset(x, 11), zs = offset(z, 11);
  if (c < 0 || y <= 7) {
    if (y < 0 && c < 0) {
      LABTXT_StreetsMarks(t, offset(x, 7) >> 1, offset(z, 7) >> 1, code);
      return 0.0;
    }
    return LABTXT3D_groundC2(t, xs, y, zs, code);
  }
  const int32_t b = c + permChain2(t, zs >> 9, xs >> 9, zs >> 18);
  return kCity2Generators[b & 15](t, xs, y, zs, code);
}

double LABTXT3D_Patchwork_City3(const KVtables* t, int32_t x, int32_t y, int32_t z, int16_t* code)
{
  const int32_t x12 = offset(x, 12), z12 = offset(z, 12);
  const int32_t s = LABTXT_StreetsFlags(t, x12 >> 4, z12 >> 4);
  const int32_t xs = offset(x, 11), zs = offset(z, 11);
  if (s < 0 || y <= 0) {
    putCode(code, s, 0.0);
    return LABTXT3D_groundC3(t, xs, y, zs, code);
  }
  const int32_t b = s + permChain2(t, x12 >> 8, z12 >> 8, x12 >> 17) + 4;
  putCode(code, s + ((b >> 5) & 7) + 1, 0.0);
  return kCity3Generators[(b & 15) >> 1](t, xs, y, zs, code);
}
