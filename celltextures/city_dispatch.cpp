#include "celltextures/city_dispatch.h"

#include "celltextures/building_shapes.h"
#include "celltextures/building_vectors.h"
#include "celltextures/buildings.h"
#include "celltextures/buildings_pvt.h"
#include "celltextures/city_ground.h"
#include "celltextures/city_techset.h"
#include "celltextures/streets.h"

using kvcell::offset;
using kvcell::permChain2;
using kvcell::putCode;
using kvcell::setPair;
using kvcell::wrap16;

namespace {

// ---- where a generator is called ----

struct CallPoint
{
  int32_t x, y, z;
};

CallPoint callPoint(int32_t x, int32_t y, int32_t z, bool halved)
{
  const int32_t xs = offset(x, 11), zs = offset(z, 11);
  return halved ? CallPoint{xs >> 1, y >> 1, zs >> 1} : CallPoint{xs, y, zs};
}

// ---- scalar dispatchers ----

enum class ScalarGround
{
  GroundC2,     // code -80 for c < 0 below y = 0, else groundC2
  StreetMarks,  // street marks for c < 0 below y = 0, else groundC2
  GroundC3,     // always groundC3
};

struct Route
{
  CellTexture3DProc cell;
  bool halved = false;
  bool shiftedCode = false;  // hand on c >> 3 instead of the variant
};

struct CityPlan
{
  ScalarGround ground;
  int32_t indexOffset, indexMask;
  const Route* routes;
};

constexpr Route kOthers{LABTXT3D_BuildOthers, false, true};
constexpr Route kCity1[16] = {{LABTXT3D_BuildA},
                              {LABTXT3D_BuildA4},
                              {LABTXT3D_BuildB},
                              {LABTXT3D_BuildE},
                              {LABTXT3D_TB},
                              {LABTXT3D_BuildB},
                              {LABTXT3D_BuildV1},
                              {LABTXT3D_BSigns},
                              {LABTXT3D_BuildF},
                              {LABTXT3D_BuildA},
                              kOthers,
                              kOthers,
                              kOthers,
                              kOthers,
                              kOthers,
                              kOthers};
constexpr Route kCity2[16] = {
    {LABTXT3D_BuildComposites}, {LABTXT3D_BuildA},  {LABTXT3D_BuildBGen},  {LABTXT3D_BuildB},
    {LABTXT3D_BuildD},          {LABTXT3D_BuildD},  {LABTXT3D_ClassicGen}, {LABTXT3D_BuildE},
    {LABTXT3D_BuildComposites}, {LABTXT3D_BuildF},  {LABTXT3D_BuildI},     {LABTXT3D_BuildI},
    {LABTXT3D_BuildV1},         {LABTXT3D_BuildV1}, {LABTXT3D_BuildAalt},  {LABTXT3D_BuildAalt}};
constexpr Route kCity3[16] = {
    {LABTXT3D_BuildA},  {LABTXT3D_BuildA4}, {LABTXT3D_BuildB},    {LABTXT3D_BuildB},
    {LABTXT3D_BuildD},  {LABTXT3D_BuildD},  {LABTXT3D_BuildBGen}, {LABTXT3D_BuildE, true},
    {LABTXT3D_BuildF},  {LABTXT3D_BuildF},  {LABTXT3D_BuildI},    {LABTXT3D_BuildI},
    {LABTXT3D_BuildV1}, {LABTXT3D_BuildV1}, {LABTXT3D_BuildAalt}, {LABTXT3D_BuildAalt}};
constexpr Route kCityClassic[8] = {{LABTXT3D_BuildComposites}, {LABTXT3D_BuildBGen},
                                   {LABTXT3D_BuildBGen},       {LABTXT3D_ClassicGen},
                                   {LABTXT3D_ClassicGen},      {LABTXT3D_ClassicGen},
                                   {LABTXT3D_BuildV1},         {LABTXT3D_BuildE, true}};

double scalarGround(ScalarGround kind, const KVtables* t, int32_t x, int32_t y, int32_t z,
                    int16_t* code)
{
  const int32_t xs = offset(x, 11), zs = offset(z, 11);
  if (kind == ScalarGround::GroundC3)
    return LABTXT3D_groundC3(t, xs, y, zs, code);
  if (*code < 0 && y < 0) {
    if (kind == ScalarGround::StreetMarks) {
      LABTXT_StreetsMarks(t, offset(x >> 1, 3), offset(z >> 1, 3), code);
      if (*code >= 0)
        return 0.0;
    }
    return putCode(code, -80, 0.0);
  }
  return LABTXT3D_groundC2(t, xs, y, zs, code);
}

double dispatch(const CityPlan& plan, const KVtables* t, int32_t x, int32_t y, int32_t z,
                int16_t* code)
{
  const int32_t c = *code;
  if (c < 0 || y < 1)
    return scalarGround(plan.ground, t, x, y, z, code);
  const Route& r = plan.routes[((c >> 3) + plan.indexOffset) & plan.indexMask];
  *code = wrap16(r.shiftedCode ? c >> 3 : c & 7);
  const CallPoint p = callPoint(x, y, z, r.halved);
  return r.cell(t, p.x, p.y, p.z, code);
}

constexpr CityPlan kPlan1{ScalarGround::GroundC2, 0, 15, kCity1};
constexpr CityPlan kPlan2{ScalarGround::StreetMarks, 0, 15, kCity2};
constexpr CityPlan kPlan3{ScalarGround::GroundC3, 4, 15, kCity3};
constexpr CityPlan kPlanClassic{ScalarGround::StreetMarks, 0, 7, kCityClassic};

// ---- vector dispatchers ----

enum class VectorGround
{
  None,     // c < 0: zero output; y is not tested
  Ground,   // c < 0 below y = 0: zero output; else AR_ground
  GroundC,  // AR_groundC
};

struct VecRoute
{
  CellTexture3DVecProc cell;  // null: zero output
  bool halved = false;
};

struct VecPlan
{
  VectorGround ground;
  int32_t indexOffset, indexMask;
  const VecRoute* routes;
  bool indexZeroByBit7 = false;  // index 0: AR_BuildV1 when bit 7 is set, else AR_BuildAalt
};

constexpr VecRoute kArCity1[16] = {{nullptr},
                                   {LABTXT3D_AR_BuildA},
                                   {LABTXT3D_AR_BuildB},
                                   {nullptr},
                                   {nullptr},
                                   {LABTXT3D_AR_BuildB},
                                   {LABTXT3D_AR_BuildV1},
                                   {nullptr},
                                   {nullptr},
                                   {LABTXT3D_AR_BuildA},
                                   {LABTXT3D_AR_BuildE},
                                   {LABTXT3D_AR_BuildI},
                                   {LABTXT3D_AR_BuildD},
                                   {LABTXT3D_AR_BuildV1},
                                   {nullptr},
                                   {LABTXT3D_AR_BuildF}};
constexpr VecRoute kArCity2[16] = {
    {LABTXT3D_AR_Composites}, {LABTXT3D_AR_BuildA},  {LABTXT3D_AR_BuildBGen},
    {LABTXT3D_AR_BuildB},     {LABTXT3D_AR_BuildD},  {LABTXT3D_AR_BuildD},
    {LABTXT3D_AR_ClassicGen}, {LABTXT3D_AR_BuildE},  {LABTXT3D_AR_Composites},
    {LABTXT3D_AR_BuildF},     {LABTXT3D_AR_BuildI},  {LABTXT3D_AR_BuildI},
    {LABTXT3D_AR_BuildV1},    {LABTXT3D_AR_BuildV1}, {LABTXT3D_AR_BuildAalt},
    {LABTXT3D_AR_BuildAalt}};
constexpr VecRoute kArCity3[16] = {
    {LABTXT3D_AR_BuildA},    {LABTXT3D_AR_BuildA4},      {LABTXT3D_AR_BuildB},
    {LABTXT3D_AR_BuildB},    {LABTXT3D_AR_BuildD},       {LABTXT3D_AR_BuildD},
    {LABTXT3D_AR_BuildBGen}, {LABTXT3D_AR_BuildE, true}, {LABTXT3D_AR_BuildF},
    {LABTXT3D_AR_BuildF},    {LABTXT3D_AR_BuildI},       {LABTXT3D_AR_BuildI},
    {LABTXT3D_AR_BuildV1},   {LABTXT3D_AR_BuildV1},      {LABTXT3D_AR_BuildAalt},
    {LABTXT3D_AR_BuildAalt}};
constexpr VecRoute kArCityClassic[8] = {{LABTXT3D_AR_Composites}, {LABTXT3D_AR_BuildBGen},
                                        {LABTXT3D_AR_BuildBGen},  {LABTXT3D_AR_ClassicGen},
                                        {LABTXT3D_AR_ClassicGen}, {LABTXT3D_AR_ClassicGen},
                                        {LABTXT3D_AR_BuildV1},    {LABTXT3D_AR_BuildE, true}};

constexpr VecPlan kArPlan1{VectorGround::None, 0, 15, kArCity1, true};
constexpr VecPlan kArPlan2{VectorGround::Ground, 0, 15, kArCity2};
constexpr VecPlan kArPlan3{VectorGround::GroundC, 4, 15, kArCity3};
constexpr VecPlan kArPlanClassic{VectorGround::Ground, 0, 7, kArCityClassic};

void zeroOutput(dvector3d* out)
{
  setPair(out, 0.0, 0.0);
}

// The ground of a vector dispatcher, on a local copy of the pair.
void vectorGround(VectorGround kind, const KVtables* t, int32_t x, int32_t y, int32_t z,
                  dvector3d* out, const int16_t* code)
{
  int16_t local[2] = {code[0], code[1]};
  const int32_t xs = offset(x, 11), zs = offset(z, 11);
  if (kind == VectorGround::GroundC)
    LABTXT3D_AR_groundC(t, xs, y, zs, out, local);
  else if (kind == VectorGround::Ground && !(code[0] < 0 && y < 0))
    LABTXT3D_AR_ground(t, xs, y, zs, out, local);
  else
    zeroOutput(out);
}

void vectorDispatch(const VecPlan& plan, const KVtables* t, int32_t x, int32_t y, int32_t z,
                    dvector3d* out, const int16_t* code)
{
  const int32_t c = code[0];
  const bool ground = plan.ground == VectorGround::None ? c < 0 : c < 0 || y < 1;
  if (ground) {
    vectorGround(plan.ground, t, x, y, z, out, code);
    return;
  }
  const int32_t index = ((c >> 3) + plan.indexOffset) & plan.indexMask;
  VecRoute r = plan.routes[index];
  if (plan.indexZeroByBit7 && index == 0)
    r.cell = (c & 128) ? LABTXT3D_AR_BuildV1 : LABTXT3D_AR_BuildAalt;
  if (!r.cell) {
    zeroOutput(out);
    return;
  }
  int16_t local[2] = {int16_t(c & 7), code[1]};
  const CallPoint p = callPoint(x, y, z, r.halved);
  r.cell(t, p.x, p.y, p.z, out, local);
}

// ---- vector cities over the street cells ----

constexpr CellTexture3DVecProc kCityB[16] = {
    LABTXT3D_AR_BuildA,     LABTXT3D_AR_BuildA4, LABTXT3D_AR_ClassicGen, LABTXT3D_AR_BuildD,
    LABTXT3D_AR_Composites, LABTXT3D_AR_BuildB,  LABTXT3D_AR_BuildWA,    LABTXT3D_AR_BuildV1,
    LABTXT3D_AR_BuildBGen,  LABTXT3D_AR_BuildF,  LABTXT3D_AR_Composites, LABTXT3D_AR_BuildI,
    LABTXT3D_AR_BuildE,     LABTXT3D_AR_BuildV1, LABTXT3D_AR_BuildAalt,  LABTXT3D_AR_BuildAalt};

// In pairs of block hash values.
constexpr CellTexture3DVecProc kCityC[8] = {
    LABTXT3D_AR_BuildA, LABTXT3D_AR_BuildB, LABTXT3D_AR_BuildD,  LABTXT3D_AR_BuildE,
    LABTXT3D_AR_BuildF, LABTXT3D_AR_BuildI, LABTXT3D_AR_BuildV1, LABTXT3D_AR_BuildAalt};

}  // namespace

double LABTexture_City1(const KVtables* t, int32_t x, int32_t y, int32_t z, int16_t* code)
{
  return dispatch(kPlan1, t, x, y, z, code);
}

double LABTexture_City2(const KVtables* t, int32_t x, int32_t y, int32_t z, int16_t* code)
{
  return dispatch(kPlan2, t, x, y, z, code);
}

double LABTexture_City3(const KVtables* t, int32_t x, int32_t y, int32_t z, int16_t* code)
{
  return dispatch(kPlan3, t, x, y, z, code);
}

double LABTexture_CityClassic(const KVtables* t, int32_t x, int32_t y, int32_t z, int16_t* code)
{
  return dispatch(kPlanClassic, t, x, y, z, code);
}

void LABTextureAR_City1(const KVtables* t, int32_t x, int32_t y, int32_t z, dvector3d* out,
                        int16_t* code)
{
  vectorDispatch(kArPlan1, t, x, y, z, out, code);
}

void LABTextureAR_City2(const KVtables* t, int32_t x, int32_t y, int32_t z, dvector3d* out,
                        int16_t* code)
{
  vectorDispatch(kArPlan2, t, x, y, z, out, code);
}

void LABTextureAR_City3(const KVtables* t, int32_t x, int32_t y, int32_t z, dvector3d* out,
                        int16_t* code)
{
  vectorDispatch(kArPlan3, t, x, y, z, out, code);
}

void LABTextureAR_CityClassic(const KVtables* t, int32_t x, int32_t y, int32_t z, dvector3d* out,
                              int16_t* code)
{
  vectorDispatch(kArPlanClassic, t, x, y, z, out, code);
}

void LABTXT3D_AR_cityB(const KVtables* t, int32_t x, int32_t y, int32_t z, dvector3d* out,
                       int16_t* code)
{
  StreetsNetworkMask(t, offset(x, 15) >> 4, offset(z, 15) >> 4, 0.0, &code[0]);
  const int32_t c = code[0];
  if (c < 0) {
    zeroOutput(out);
    return;
  }
  const int32_t xs = offset(x, 11), zs = offset(z, 11);
  if (y > 7) {
    const int32_t b = c + permChain2(t, zs >> 9, xs >> 9, zs >> 18);
    kCityB[b & 15](t, xs, y, zs, out, code);
  } else if (kvcell::flagSet(code)) {
    zeroOutput(out);
  } else {
    LABTXT3D_AR_ground(t, xs, y, zs, out, code);
  }
}

void LABTXT3D_AR_cityC(const KVtables* t, int32_t x, int32_t y, int32_t z, dvector3d* out,
                       int16_t* code)
{
  const int32_t x12 = offset(x, 12), z12 = offset(z, 12);
  const int32_t s = LABTXT_StreetsFlags(t, x12 >> 4, z12 >> 4);
  const int32_t xs = offset(x, 11), zs = offset(z, 11);
  if (s < 0 || y <= 0) {
    code[0] = wrap16(s);
    LABTXT3D_AR_groundC(t, xs, y, zs, out, code);
    return;
  }
  const int32_t b = s + permChain2(t, x12 >> 8, z12 >> 8, x12 >> 17) + 4;
  code[0] = wrap16(s + ((b >> 5) & 7) + 1);
  kCityC[(b & 15) >> 1](t, xs, y, zs, out, code);
}
