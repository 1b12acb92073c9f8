// Cell grids, the alternative highlight rule and typed number keys.
#include "ui/uidrawhelpers.h"

#include <climits>
#include <cmath>
#include <gtest/gtest.h>
#include <string>

#include "ui/uiset.h"

namespace {

struct GridCase
{
  const char* what;
  int16_t layout, count;
  Rect r;
  int16_t count_, columns, cellWidth, cellHeight;
};

TEST(MatrixParams, LayoutsAndAspects)
{
  const GridCase cases[] = {
      {"count 100 uses 64, one column", 1, 100, {0, 0, 640, 10}, 64, 1, 10, 10},
      {"one row", 2, 4, {0, 0, 10, 100}, 4, 4, 25, 10},
      {"layout 4: three columns", 4, 7, {0, 0, 90, 90}, 7, 3, 30, 30},
      {"negative: whole rectangle", -1, 5, {0, 0, 20, 50}, 5, 0, 50, 20},
      {"aspect, fewer than 4 cells: one row", 0, 3, {0, 0, 10, 20}, 3, 3, 6, 10},
      {"aspect a >= 46: one row", 0, 8, {0, 0, 10, 50}, 8, 8, 6, 10},
      {"aspect wide 2:1, 8 cells: 4 x 2", 0, 8, {0, 0, 50, 100}, 8, 4, 25, 25},
      {"aspect tall 1:2, 8 cells: 2 x 4", 0, 8, {0, 0, 100, 50}, 8, 2, 25, 25},
      {"aspect square, 4 cells: 2 x 2", 0, 4, {0, 0, 40, 40}, 4, 2, 20, 20},
      {"zero height: one row", 0, 6, {0, 0, 0, 60}, 6, 6, 10, 4},
      {"zero width: one row", 0, 6, {0, 0, 60, 0}, 6, 6, 4, 60},
      {"cells at least 4", 2, 64, {0, 0, 10, 64}, 64, 64, 4, 10},
  };
  for (const GridCase& c : cases) {
    matrix m;
    Get_matrixParams(&m, c.layout, c.count, c.r);
    EXPECT_EQ(m.count, c.count_) << c.what;
    EXPECT_EQ(m.columns, c.columns) << c.what;
    EXPECT_EQ(m.cellWidth, c.cellWidth) << c.what;
    EXPECT_EQ(m.cellHeight, c.cellHeight) << c.what;
  }
}

TEST(MatrixParams, CellsInRowAndColumnOrderAndHits)
{
  matrix m;
  Get_matrixParams(&m, 4, 5, Rect{10, 20, 50, 80});  // 3 columns, 2 rows of 20 x 20
  const Rect b4 = Get_matrixBox(&m, 4);              // row 1, column 1
  EXPECT_EQ(b4.left, 40);
  EXPECT_EQ(b4.top, 30);
  const Rect v3 = Get_matrixVBox(&m, 3);  // column 1, row 1
  EXPECT_EQ(v3.left, 40);
  EXPECT_EQ(v3.top, 30);
  const Rect v1 = Get_matrixVBox(&m, 1);  // column 0, row 1
  EXPECT_EQ(v1.left, 20);
  EXPECT_EQ(v1.top, 30);
  EXPECT_EQ(Hit_matrixBox(&m, Point{35, 45}), 4);
  EXPECT_EQ(Hit_VmatrixBox(&m, Point{35, 45}), 3);
  EXPECT_EQ(Hit_matrixBox(&m, Point{5, 5}), -1);
  EXPECT_EQ(Hit_matrixBox(&m, Point{35, 70}), -1);  // the sixth place holds no cell
  EXPECT_EQ(Hit_VmatrixBox(&m, Point{100, 100}), -1);
}

TEST(AutoBoxmatrix, SquareAsDivisorsAllow)
{
  struct Case
  {
    int16_t layout, count, columns;
    Point size;
  };
  const Case cases[] = {
      {0, 12, 4, Point{30, 40}}, {0, 7, 7, Point{10, 70}}, {0, 0, 1, Point{0, 10}},
      {1, 3, 1, Point{30, 10}},  {2, 3, 3, Point{10, 30}}, {5, 9, 4, Point{30, 40}},
  };
  for (const Case& c : cases) {
    matrix m;
    const Point size = Get_AutoBoxmatrix(&m, c.layout, c.count, 10, 10);
    EXPECT_EQ(m.columns, c.columns) << c.count;
    EXPECT_EQ(size.v, c.size.v) << c.count;
    EXPECT_EQ(size.h, c.size.h) << c.count;
    EXPECT_EQ(m.left, 2);
    EXPECT_EQ(m.top, 2);
  }
}

TEST(LabelLeftBoxes, AtLeast18Wide)
{
  Rect r{0, 10, 10, 100}, label;
  Get_LabelLeft_Boxes(&r, &label);
  EXPECT_EQ(label.left, 10);
  EXPECT_EQ(label.right, 28);
  EXPECT_EQ(r.left, 28);
  Rect tall{0, 0, 30, 100};
  Get_LabelLeft_Boxes(&tall, &label);
  EXPECT_EQ(label.right, 30);
}

TEST(AltHilit, Table)
{
  struct Case
  {
    int16_t a, b, c, result;
    uint8_t alt;
  };
  const Case cases[] = {
      {2, 3, 0, 1, 9}, {0, 3, 1, 0, 9}, {2, 1, 1, 0, 9}, {2, 3, 1, 2, 1}, {1, 4, 1, 3, 1},
      {1, 5, 1, 3, 3}, {2, 6, 1, 2, 4}, {1, 7, 1, 3, 2}, {1, 0, 1, 3, 0},
  };
  for (const Case& c : cases) {
    uiset set;
    set.altHilit = 9;
    EXPECT_EQ(GetAltHilit(&set, c.a, c.b, c.c), c.result) << c.a << c.b << c.c;
    EXPECT_EQ(set.altHilit, c.alt) << c.a << c.b << c.c;
  }
}

// Keys typed in order into a fresh set, and the value and key result after.
struct TypingCase
{
  const char* what;
  std::string keys;
  double start;
  double value;
  uint8_t used;
};

std::string fifteenDigits()
{
  return "123456789012345";
}

TEST(TypedNumbers, IntegerKeys)
{
  const TypingCase cases[] = {
      {"digits", "42", 0, 42, 1},
      {"backspace gives 0", "42\b", 0, 0, 1},
      {"minus on an empty buffer", "-5", 0, -5, 1},
      {"minus negates", "-", 7, -7, 1},
      {"star doubles", "*", 21, 42, 1},
      {"slash halves", "/", 7, 3, 1},
      {"a 16th digit restarts at 0", fifteenDigits() + "7", 0, 0, 1},
      {"and typing goes on", fifteenDigits() + "78", 0, 8, 1},
      {"15 digits saturate", fifteenDigits(), 0, INT32_MAX, 1},
      {"doubling saturates", "*", INT32_MAX, INT32_MAX, 1},
      {"negating the lowest saturates", "-", INT32_MIN, INT32_MAX, 1},
      {"an unused key", "x", 5, 5, 0},
  };
  for (const TypingCase& c : cases) {
    uiset set;
    int32_t v = int32_t(c.start);
    for (char k : c.keys)
      char2int32(&set, int8_t(k), &v);
    EXPECT_EQ(v, int32_t(c.value)) << c.what;
    EXPECT_EQ(set.keyResult, c.used) << c.what;
  }
}

TEST(TypedNumbers, RealKeys)
{
  const TypingCase cases[] = {
      {"comma as point", "1,5", 0, 1.5, 1},
      {"degrees", "180d", 0, M_PI, 1},
      {"inverse", "4i", 0, 0.25, 1},
      {"inverse of 0", "i", 0, 0, 1},
      {"the 15th character is overwritten",
       "12345678901234"
       "5"
       "9",
       0, 123456789012349.0, 1},
      {"halves", "/", 3, 1.5, 1},
      {"an unused key", "q", 2, 2, 0},
  };
  for (const TypingCase& c : cases) {
    uiset set;
    double v = c.start;
    for (char k : c.keys)
      char2double(&set, int8_t(k), &v);
    EXPECT_DOUBLE_EQ(v, c.value) << c.what;
    EXPECT_EQ(set.keyResult, c.used) << c.what;
  }
}

}  // namespace
