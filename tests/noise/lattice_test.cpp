#include "noise/lattice.h"

#include <climits>
#include <cstdint>
#include <gtest/gtest.h>

#include "noise_test_support.h"

namespace {

// The cell hashes recomputed in 64-bit arithmetic: the low ten bits of the
// sum are the same as those of the wrapped 32-bit sum.
int32_t expectedH2(const int32_t* perm, int32_t i, int32_t j)
{
  int64_t key = int64_t(j) + perm[i & 1023] + (int64_t(i) >> 9);
  return perm[key & 1023];
}

int32_t expectedH3(const int32_t* perm, int32_t a, int32_t b, int32_t c)
{
  int64_t key = int64_t(c) + expectedH2(perm, a, b) + (int64_t(b) >> 9);
  return perm[key & 1023];
}

struct CellCase
{
  int32_t a, b, c;
};

const CellCase kCells[] = {{0, 0, 0},
                           {3, 7, -2},
                           {-1, -1, -1},
                           {511, 512, 513},
                           {-512, 1023, -1024},
                           {INT32_MAX, INT32_MAX, INT32_MAX},
                           {INT32_MIN, INT32_MIN, INT32_MIN},
                           {INT32_MAX, INT32_MIN, 5},
                           {INT32_MIN, -7, INT32_MAX},
                           {123456789, -987654321, 42}};

TEST(CellHashes, MatchTheirDefinitionOverTheWholeIndexRange)
{
  auto t = seededTables();
  for (const CellCase& c : kCells) {
    EXPECT_EQ(kvnoise::cellHash2(t.get(), c.a, c.b), expectedH2(t->perm, c.a, c.b))
        << c.a << " " << c.b;
    EXPECT_EQ(kvnoise::cellHash2(t->perm, c.a, c.b), kvnoise::cellHash2(t.get(), c.a, c.b));
    EXPECT_EQ(kvnoise::cellHash3(t.get(), c.a, c.b, c.c), expectedH3(t->perm, c.a, c.b, c.c))
        << c.a << " " << c.b << " " << c.c;
    EXPECT_EQ(kvnoise::cellHash3(t->perm, c.a, c.b, c.c),
              kvnoise::cellHash3(t.get(), c.a, c.b, c.c));
  }
}

TEST(CellHashes, RowsOfAColumnAreConsecutiveKeys)
{
  auto t = seededTables();
  for (const CellCase& c : kCells) {
    uint32_t key = kvnoise::columnKey(t->perm, c.a, c.b);
    EXPECT_EQ(kvnoise::columnKey(t->perm, c.a, kvnoise::nextCell(c.b)), key + 1u);
    EXPECT_EQ(kvnoise::hash2DCoarse(t.get(), c.a, c.b, 1023u), key & 1023u);
    EXPECT_EQ(kvnoise::cellHash2(t.get(), c.a, c.b), t->perm[key & 1023u]);
  }
}

TEST(CellHashes, ValuesOutsideThePermutationStillIndexTheTable)
{
  // A damaged permutation: the hashes must mask every sum, never index with
  // a stored value directly (the sanitizers catch a stray read).
  auto t = seededTables();
  for (int k = 0; k < 1025; k++)
    t->perm[k] = (k % 3 == 0) ? INT32_MIN + k : INT32_MAX - k;
  for (const CellCase& c : kCells) {
    EXPECT_EQ(kvnoise::cellHash2(t.get(), c.a, c.b), expectedH2(t->perm, c.a, c.b));
    EXPECT_EQ(kvnoise::cellHash3(t.get(), c.a, c.b, c.c), expectedH3(t->perm, c.a, c.b, c.c));
  }
}

}  // namespace
