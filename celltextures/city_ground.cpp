#include "celltextures/city_ground.h"

#include "celltextures/buildings_pvt.h"
#include "celltextures/techmotifs.h"

using kvcell::hash;
using kvcell::offset;
using kvcell::putCode;
using kvcell::setPair;
using kvcell::within;

namespace {

struct GroundPoint
{
  int32_t k;
  bool frame;      // x & 7 = 0 or z & 7 = 0
  bool b8;         // x & z & 8
  bool bitsAgree;  // bit 3 of x equals bit 3 of z
  bool noEdge16;   // x & 15 and z & 15 both nonzero
};

GroundPoint groundPoint(int32_t x, int32_t z, const int16_t* code)
{
  return {*code & 15, (x & 7) == 0 || (z & 7) == 0, (x & z & 8) != 0,
          kvcell::bit(x, 3) == kvcell::bit(z, 3), (x & 15) != 0 && (z & 15) != 0};
}

// The paved squares of the first city: the shade in quarters (1..4) of the
// 64-unit square kind g (0..11) at the half-resolution positions.
int32_t squareQuartersC2(int32_t g, int32_t x, int32_t z)
{
  const bool lx = ((x >> 1) & 31)<17, gx = ((x >> 1) & 31)> 16, gz = ((z >> 1) & 31) > 16;
  switch (g) {
    case 0:
      return lx && !gz ? 1 : 2;
    case 1:
      return gx && !gz ? 3 : 2;
    case 2:
      return gx && gz ? 2 : 1;
    case 3:
      return lx && gz ? 2 : 3;
    case 4:
    case 5:
      return lx ? 2 : 1;
    case 6:
    case 7:
      return gz ? 2 : 3;
    default:  // 8..11: a flat shade
      return g - 7;
  }
}

// The 32-unit squares of the third city, likewise.
int32_t squareQuartersC3(int32_t g, int32_t x, int32_t z)
{
  const bool lx = (x & 31)<17, gx = (x & 31)> 16, lz = (z & 31)<17, gz = (z & 31)> 16;
  switch (g) {
    case 0:
      return lx && lz ? 1 : 2;
    case 1:
      return lz && gx ? 3 : 2;
    case 2:
      return gx && gz ? 2 : 1;
    case 3:
      return lx && gz ? 2 : 3;
    case 4:
      return lx ? 2 : 1;
    case 5:
      return gx ? 1 : 2;
    case 6:
      return gz ? 2 : 3;
    case 7:
      return lz ? 3 : 2;
    default:
      return g - 7;
  }
}

// A paving joint chosen by q (0..3): along x, along z, either, or both.
bool jointByKind(int32_t q, bool ex, bool ez)
{
  switch (q & 3) {
    case 0:
      return ex;
    case 1:
      return ez;
    case 2:
      return ex || ez;
    default:
      return ex && ez;
  }
}

int16_t groundC2Code(const KVtables* t, const GroundPoint& p, int32_t x, int32_t z)
{
  switch (p.k) {
    case 0:
      return -100;
    case 1:
    case 2:
    case 14:
    case 15:
      return p.frame ? -80 : -130;
    case 3:
      return p.frame ? -128 : p.b8 ? -160 : -96;
    case 4:
      return p.b8 ? -32 : -100;
    case 5:
      return p.noEdge16 ? -130 : -200;
    case 6:
      return p.frame ? -200 : -130;
    case 7:
    case 8: {
      if ((x & 15) == 0 || (z & 15) == 0)
        return -60;
      // -(32 t + 70) with t = quarters / 4
      return int16_t(-(8 * squareQuartersC2(hash(t, 6, x, z) % 12, x, z) + 70));
    }
    case 10:
      return p.b8 ? 16 : -160;
    case 11:
      return p.bitsAgree ? 72 : -200;
    default:  // 9, 12, 13
      return (x & 15) == 0 || (z & 15) == 0 ? -80 : -110;
  }
}

// Tiles at double and quadruple density with their joints.
int16_t doubleTiles(const KVtables* t, int32_t x, int32_t z)
{
  const int32_t x2 = kvnum::wrap_mul_i32(x, 2), z2 = kvnum::wrap_mul_i32(z, 2);
  const int32_t r = hash(t, 5, x2, z2) & 7;
  const bool highX = (x2 & 31) > 16, highZ = (z2 & 31) > 16;
  if (r == 4 && highX)
    return -116;
  if (r == 5 && !highX)
    return -132;
  if (r == 6 && !highZ)
    return 95;
  if (r == 7 && highZ)
    return -132;
  const int32_t x4 = kvnum::wrap_mul_i32(x, 4), z4 = offset(kvnum::wrap_mul_i32(z, 4), 1);
  const int32_t q = hash(t, 5, offset(x4, 1), z4) & 3;
  return jointByKind(q, (x4 & 31) < 2, (z4 & 31) < 3) ? -128 : -200;
}

int16_t pavingJoints(const KVtables* t, int32_t x, int32_t z)
{
  const int32_t x1 = offset(x, 1), z1 = offset(z, 1);
  const int32_t q = hash(t, 5, x1, z1) & 3;
  return jointByKind(q, (x1 & 31) < 3, (z1 & 31) < 3) ? 89 : -20;
}

int16_t groundC3Code(const KVtables* t, const GroundPoint& p, int32_t x, int32_t z)
{
  switch (p.k) {
    case 0:
      return -100;
    case 1:  // -(72 t + 64) with t = quarters / 4
      return int16_t(-(18 * squareQuartersC3(hash(t, 5, x, z) % 12, x, z) + 64));
    case 2:
      return doubleTiles(t, x, z);
    case 3:
      return p.frame ? -128 : p.b8 ? -160 : -96;
    case 4:
      return p.bitsAgree ? -100 : -32;
    case 5:
    case 6:
    case 7:
      return p.frame ? -200 : -130;
    case 10:
      return p.b8 ? 16 : -160;
    case 11:
      return p.bitsAgree ? 14 : -200;
    case 12:
      return (x & 16) ? -100 : ((z >> 1) & 15) < 14 ? -35 : 88;
    case 13:
      return pavingJoints(t, x, z);
    case 14:
      return (z & 8) ? -20 : ((x >> 1) & 15) < 14 ? -65 : 90;
    default:  // 8, 15 (9 is handled by the caller)
      return p.frame ? -80 : -130;
  }
}

// The light of the vector grounds for the types they share.
double sharedGroundLight(const GroundPoint& p, int32_t x, int32_t z)
{
  switch (p.k) {
    case 3:
      return p.frame || p.b8 ? 0.0 : 2.0;
    case 5:
      return p.frame ? 0.5 : !p.b8 ? 1.0 : 0.0;
    case 6:
      if (!within(x & 7, 2, 6) || !within(z & 7, 2, 6))
        return 0.0;
      return p.bitsAgree ? 0.0 : 1.0;
    case 10:
      return p.b8 ? 1.0 : 0.0;
    case 11:
      return p.bitsAgree ? 1.0 : 0.0;
    default:
      return 0.0;
  }
}

}  // namespace

double LABTXT3D_groundC2(const KVtables* t, int32_t x, int32_t /*y*/, int32_t z, int16_t* code)
{
  return putCode(code, groundC2Code(t, groundPoint(x, z, code), x, z), 0.0);
}

double LABTXT3D_groundC3(const KVtables* t, int32_t x, int32_t /*y*/, int32_t z, int16_t* code)
{
  const GroundPoint p = groundPoint(x, z, code);
  if (p.k == 9)
    return LABTXT_TEK_groundmarks(t, x >> 1, z >> 1, code);
  return putCode(code, groundC3Code(t, p, x, z), 0.0);
}

void LABTXT3D_AR_ground(const KVtables* /*t*/, int32_t x, int32_t /*y*/, int32_t z, dvector3d* out,
                        int16_t* code)
{
  const GroundPoint p = groundPoint(x, z, code);
  setPair(out, 0.0, p.k == 4 ? (p.b8 ? 3.0 : 1.0) : sharedGroundLight(p, x, z));
}

void LABTXT3D_AR_groundC(const KVtables* t, int32_t x, int32_t /*y*/, int32_t z, dvector3d* out,
                         int16_t* code)
{
  const GroundPoint p = groundPoint(x, z, code);
  switch (p.k) {
    case 4:
      setPair(out, 0.0, p.bitsAgree ? 1.0 : 3.0);
      return;
    case 9: {
      // Lit only where the ground marks leave their plain ground level.
      const bool plain = LABTXT_TEK_groundmarks(t, x >> 1, z >> 1, nullptr) == 0.5;
      setPair(out, 0.0, plain ? hash(t, 0, x, z) / 2048.0 : 0.0);
      return;
    }
    case 14:
      setPair(out, (z & 8) ? 1.0 : 0.0, 0.0);
      return;
    default:
      setPair(out, 0.0, sharedGroundLight(p, x, z));
  }
}
