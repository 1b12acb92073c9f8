#include "imaging/qzbitmaps.h"

#include <cstring>
#include <gtest/gtest.h>
#include <vector>

#include "tests/imaging/test_buffers.h"

namespace {

normalcolor At(const uint8_t* base, int32_t rowBytes, int32_t col, int32_t row)
{
  const uint8_t* p = base + row * rowBytes + col * 4;
  return normalcolor{p[0], p[1], p[2], p[3]};
}

normalcolor At(Offworld w, int32_t col, int32_t row)
{
  return At(w->pixels.baseAddr, w->pixels.rowBytes, col, row);
}

normalcolor At(const AccessPix& a, int32_t col, int32_t row)
{
  return At(a.base, a.rowBytes, col, row);
}

// A picture whose four corners differ, so that any flip or mirror shows.
void PaintCorners(uint8_t* base, int32_t rowBytes, int32_t width, int32_t height)
{
  for (int32_t row = 0; row < height; ++row)
    for (int32_t col = 0; col < width; ++col) {
      uint8_t* p = base + row * rowBytes + col * 4;
      p[0] = 255, p[1] = uint8_t(10 + col), p[2] = uint8_t(100 + row), p[3] = 50;
    }
}

// A context opened on an off-screen buffer: origin top-left, y down.
struct FlippedTarget
{
  OffworldGuard dest;
  CGContextRef ctx;
  FlippedTarget(int16_t width, int16_t height) : dest{Make(Rect{0, 0, height, width}, 32)}
  {
    ctx = QZ_OpenContext(dest.w);
  }
  ~FlippedTarget() { QZ_CloseContext(ctx, dest.w); }
};

}  // namespace

TEST(QZBuffers, BitmapContextDescribesItsBlock)
{
  AccessPix a;
  a.bottomUp = 1;
  a.ownsBuffer = 1;
  CGContextRef ctx = QZ_CreateBitmapContext(5, 3, &a, true);
  ASSERT_TRUE(ctx);
  EXPECT_NE(a.base, nullptr);
  EXPECT_EQ(a.rowBytes, 20);
  EXPECT_EQ(a.pixelSize, 32);
  EXPECT_EQ(a.pixelFormat, kPixelFormatARGB);
  EXPECT_EQ(a.owned, ctx);
  EXPECT_EQ(a.bottomUp, 1);  // left as the caller set it
  EXPECT_EQ(a.ownsBuffer, 1);
  EXPECT_EQ(QZ_BitmapContextGetData(ctx), a.base);
  QZ_KillBitmapContext(&ctx, nullptr);  // frees the context's own block
  EXPECT_EQ(ctx, nullptr);

  AccessPix none;
  EXPECT_EQ(QZ_CreateBitmapContext(0, 7, &none, false), nullptr);
  EXPECT_EQ(none.base, nullptr);
  EXPECT_EQ(none.height, 7);

  CGContextRef nothing = nullptr;
  QZ_KillBitmapContext(&nothing, nullptr);
  EXPECT_EQ(nothing, nullptr);
  ctx = QZ_CreateBitmapContext(2, 2, &a, false);
  QZ_KillBitmapContext(&ctx, &a.base);
  EXPECT_EQ(a.base, nullptr);
  EXPECT_EQ(ctx, nullptr);
}

TEST(QZBuffers, RenderBuffersStartCleared)
{
  for (int16_t depth : {32, 8}) {
    AccessPix a;
    a.bottomUp = a.ownsBuffer = a.isPort = 1;
    a.pixelFormat = 1234;
    uint8_t* base =
        depth == 32 ? QZ_AllocateRenderBuffer32(&a, 6, 4) : QZ_AllocateRenderBuffer8(&a, 6, 4);
    ASSERT_TRUE(base);
    EXPECT_EQ(a.base, base);
    EXPECT_EQ(a.rowBytes, 6 * depth / 8);
    EXPECT_EQ(a.pixelSize, depth);
    EXPECT_EQ(a.bottomUp, 0);
    EXPECT_EQ(a.ownsBuffer, 0);
    EXPECT_EQ(a.isPort, 0);
    EXPECT_EQ(a.pixelFormat, 1234u);
    EXPECT_EQ(base[6 * 4 * depth / 8 - 1], 0);
    DisposePtr(base);
  }
  AccessPix a;
  EXPECT_EQ(QZ_AllocateRenderBuffer32(&a, -1, 4), nullptr);
}

TEST(QZRows, CallbacksDeliverRowsAndHonourTheFlag)
{
  // 32-bit source 2 x 3: pixel (c, r) = {r, c, 9, 7}; 8-bit source: r * 10 + c.
  uint8_t deep[2 * 3 * 4], grey[2 * 3];
  for (int r = 0; r < 3; ++r)
    for (int c = 0; c < 2; ++c) {
      uint8_t* p = deep + (r * 2 + c) * 4;
      p[0] = uint8_t(r), p[1] = uint8_t(c), p[2] = 9, p[3] = 7;
      grey[r * 2 + c] = uint8_t(r * 10 + c);
    }
  struct Case
  {
    QZRowCallback callback;
    bool deepSource;
    bool bottomUp;
    int32_t imageRowBytes;
    std::vector<uint8_t> row1;  // what row 1 of the image holds
  } cases[] = {
      {getbitsrender32, true, false, 8, {1, 0, 9, 7, 1, 1, 9, 7}},
      {getbitsrender32, true, true, 8, {1, 0, 9, 7, 1, 1, 9, 7}},  // middle row: same either way
      {getbitsrender8to32, false, false, 8, {255, 10, 10, 10, 255, 11, 11, 11}},
      {getbitsrender24, true, true, 6, {0, 9, 7, 1, 9, 7}},  // flag ignored
      {getbitsrender8, false, true, 2, {10, 11}},
  };
  for (const Case& c : cases) {
    AccessPix a;
    a.bottomUp = c.bottomUp;
    a.rowBytes = c.deepSource ? 8 : 2;
    RowSource rs;
    rs.width = 2, rs.height = 3, rs.rowBytes = c.imageRowBytes;
    rs.source = c.deepSource ? deep : grey;
    rs.access = &a;
    std::vector<uint8_t> out(size_t(c.imageRowBytes) * 2 + 1, 0xAB);
    EXPECT_EQ(c.callback(&rs, out.data(), c.imageRowBytes, out.size() - 1), out.size() - 1);
    EXPECT_EQ(std::vector<uint8_t>(out.begin(), out.begin() + c.imageRowBytes), c.row1);
    EXPECT_EQ(out.back(), 0xAB);
  }
  // Flag set: the first image row is the last source row; a short count
  // stops inside the row.
  AccessPix a;
  a.bottomUp = 1;
  a.rowBytes = 8;
  RowSource rs{2, 3, 8, deep, &a};
  uint8_t out[8];
  std::memset(out, 0xAB, sizeof out);
  EXPECT_EQ(getbitsrender32(&rs, out, 0, 5), 5u);
  EXPECT_EQ(out[0], 2);
  EXPECT_EQ(out[4], 2);
  EXPECT_EQ(out[5], 0xAB);
  rs.access = nullptr;
  EXPECT_EQ(getbitsrender32(&rs, out, 0, 8), 0u);
}

TEST(QZRows, ShadesRepeatTableEntries)
{
  const normalcolor table[3] = {{255, 1, 2, 3}, {255, 4, 5, 6}, {255, 7, 8, 9}};
  RowSource v{2, 3, 8, reinterpret_cast<const uint8_t*>(table), nullptr};
  uint8_t out[24];
  EXPECT_EQ(Vshade(&v, out, 16, 8), 8u);  // row 2
  EXPECT_EQ(At(out, 8, 1, 0), table[2]);
  RowSource h{3, 2, 12, reinterpret_cast<const uint8_t*>(table), nullptr};
  EXPECT_EQ(Hshade(&h, out, 0, 24), 24u);
  EXPECT_EQ(At(out, 12, 2, 1), table[2]);
  EXPECT_EQ(At(out, 12, 0, 1), table[0]);
}

TEST(QZDrawing, OneToOneCopiesAreExactAndTheFlagTurnsRows)
{
  AccessPix target;
  CGContextRef ctx = QZ_CreateBitmapContext(4, 3, &target, false);
  ASSERT_TRUE(ctx);
  AccessPix source;
  uint8_t* pixels = QZ_AllocateRenderBuffer32(&source, 4, 3);
  PaintCorners(pixels, source.rowBytes, 4, 3);
  for (uint8_t flag : {0, 1}) {
    SCOPED_TRACE(int(flag));
    source.bottomUp = flag;
    QZ_ContextSetInterpolationQuality(ctx, kQZInterpolationHigh);
    QZ_CopyBitsToContext(ctx, &source, nullptr, Rect{0, 0, 3, 4});
    EXPECT_EQ(QZ_ContextGetInterpolationQuality(ctx), kQZInterpolationDefault);
    // A bitmap's default space is y-up: without the flag the rows keep
    // their memory order, with it they are turned over.
    for (int32_t row = 0; row < 3; ++row)
      for (int32_t col = 0; col < 4; ++col) {
        normalcolor want = At(source, col, flag ? 2 - row : row);
        want.flag = 0;  // the skipped first byte is left as it was
        ASSERT_EQ(At(target, col, row), want) << col << "," << row;
      }
  }
  DisposePtr(pixels);
  QZ_KillBitmapContext(&ctx, nullptr);
}

TEST(QZDrawing, ShrinkingSmoothsAndLeavesInterpolationAlone)
{
  AccessPix stripes;
  uint8_t* pixels = QZ_AllocateRenderBuffer32(&stripes, 8, 4);
  for (int i = 0; i < 32; ++i)
    pixels[i * 4 + 1] = (i % 2) ? 255 : 0;  // red columns alternate
  AccessPix target;
  CGContextRef ctx = QZ_CreateBitmapContext(8, 4, &target, false);
  QZ_ContextSetInterpolationQuality(ctx, kQZInterpolationHigh);
  QZ_CopyBitsToContext(ctx, &stripes, nullptr, Rect{0, 0, 4, 4});
  EXPECT_EQ(QZ_ContextGetInterpolationQuality(ctx), kQZInterpolationHigh);
  for (int col = 0; col < 4; ++col) {
    EXPECT_GT(At(target, col, 1).red, 60) << col;
    EXPECT_LT(At(target, col, 1).red, 195) << col;
  }
  // Same width, fewer rows: not shrinking, so pixels are taken whole.
  for (int i = 0; i < 32; ++i)
    pixels[i * 4 + 1] = ((i / 8) % 2) ? 255 : 0;  // rows alternate
  QZ_CopyBitsToContext(ctx, &stripes, nullptr, Rect{0, 0, 2, 8});
  for (int col = 0; col < 8; ++col) {
    const uint8_t red = At(target, col, 3).red;
    EXPECT_TRUE(red == 0 || red == 255) << int(red);
  }
  EXPECT_EQ(QZ_ContextGetInterpolationQuality(ctx), kQZInterpolationDefault);
  DisposePtr(pixels);
  QZ_KillBitmapContext(&ctx, nullptr);
}

TEST(QZDrawing, GreyBuffersDrawOpaque)
{
  AccessPix grey;
  uint8_t* pixels = QZ_AllocateRenderBuffer8(&grey, 2, 2);
  pixels[0] = 40, pixels[3] = 200;
  AccessPix target;
  CGContextRef ctx = QZ_CreateBitmapContext(2, 2, &target, true);  // transparent to start
  QZ_CopyBitsToContext(ctx, &grey, nullptr, Rect{0, 0, 2, 2});
  EXPECT_EQ(At(target, 0, 0), (normalcolor{255, 40, 40, 40}));
  EXPECT_EQ(At(target, 1, 1), (normalcolor{255, 200, 200, 200}));
  DisposePtr(pixels);
  QZ_KillBitmapContext(&ctx, nullptr);
}

TEST(QZDrawing, SubRectanglesAreCutToTheBuffer)
{
  AccessPix source;
  uint8_t* pixels = QZ_AllocateRenderBuffer32(&source, 4, 4);
  PaintCorners(pixels, source.rowBytes, 4, 4);
  FlippedTarget t(6, 6);
  source.bottomUp = 1;
  const Rect sub{2, 2, 9, 9};  // reaches past the buffer: only {2, 2, 4, 4} is read
  QZ_CopyBitsToContext(t.ctx, &source, &sub, Rect{0, 0, 2, 2});
  normalcolor want = At(source, 2, 2);
  want.flag = 0;
  EXPECT_EQ(At(t.dest.w, 0, 0), want);
  DisposePtr(pixels);
}

TEST(QZDrawing, RenderBuffersStandUprightInAnOpenedContext)
{
  // A render buffer carries the flag; drawn 1:1 into a context opened on a
  // port of cairo-ordered pixels, it arrives upright and exact.
  std::vector<uint8_t> screen(8 * 6 * 4, 0);
  CGrafPtr port = NewPixelPort(screen.data(), 32, Rect{0, 0, 6, 8}, 32, kPixelFormatBGRA);
  CGContextRef ctx = QZ_OpenContext(port);
  ASSERT_TRUE(ctx);
  AccessPix render;
  uint8_t* pixels = QZ_AllocateRenderBuffer32(&render, 4, 3);
  PaintCorners(pixels, render.rowBytes, 4, 3);
  render.bottomUp = 1;
  QZ_CopyBitsToContext(ctx, &render, nullptr, Rect{2, 3, 5, 7});
  QZ_CloseContext(ctx, port);
  for (int32_t row = 0; row < 3; ++row)
    for (int32_t col = 0; col < 4; ++col) {
      const uint8_t* p = &screen[((row + 2) * 8 + col + 3) * 4];
      const normalcolor want = At(render, col, row);
      ASSERT_EQ(p[2], want.red);
      ASSERT_EQ(p[1], want.green);
      ASSERT_EQ(p[0], want.blue);
      ASSERT_EQ(p[3], 255);
    }
  EXPECT_EQ(screen[3], 0);  // outside the rectangle nothing was drawn
  DisposePtr(pixels);
  DisposePixelPort(port);
}

TEST(QZDrawing, FitImageStandsUprightInAFlippedContext)
{
  OffworldGuard source{Make(Rect{0, 0, 3, 4}, 32)};
  PaintCorners(source.w->pixels.baseAddr, source.w->pixels.rowBytes, 4, 3);
  FlippedTarget t(8, 6);
  WriteGworldPadByte(t.dest.w, PackRectTopLeft(Rect{0, 0, 6, 8}),
                     PackRectBottomRight(Rect{0, 0, 6, 8}), 33);
  QZ_BlitGworld(t.ctx, Rect{1, 2, 4, 6}, source.w, kQZBlendNormal);
  struct Corner
  {
    int32_t col, row;
  } corners[] = {{0, 0}, {3, 0}, {0, 2}, {3, 2}};
  for (const Corner& c : corners) {
    normalcolor want = At(source.w, c.col, c.row);
    want.flag = 33;  // the destination's pad bytes are kept
    EXPECT_EQ(At(t.dest.w, c.col + 2, c.row + 1), want) << c.col << "," << c.row;
  }
  EXPECT_EQ(QZ_ContextGetBlendMode(t.ctx), kQZBlendNormal);

  // An off-screen buffer drawn through its access is marked bottom-up, so it
  // is upright too.
  FlippedTarget u(4, 3);
  Rect sub{0, 0, 3, 4};
  EXPECT_EQ(QZ_CopyGWToContext(u.ctx, source.w, &sub, Rect{0, 0, 3, 4}), 1);
  EXPECT_EQ(At(u.dest.w, 3, 0).red, At(source.w, 3, 0).red);
  EXPECT_EQ(At(u.dest.w, 0, 2).green, At(source.w, 0, 2).green);
  EXPECT_EQ(QZ_CopyGWToContext(u.ctx, nullptr, &sub, Rect{0, 0, 3, 4}), 0);
}

TEST(QZDrawing, ImagesFromBuffersUseTheirMaskAsAlpha)
{
  OffworldGuard world{Make(Rect{0, 0, 1, 2}, 32)}, mask{Make(Rect{0, 0, 1, 2}, 8)};
  PaintCorners(world.w->pixels.baseAddr, world.w->pixels.rowBytes, 2, 1);
  mask.w->pixels.baseAddr[0] = 0;
  mask.w->pixels.baseAddr[1] = 255;
  CGImageRef image = QZ_createImagefromGW(world.w, mask.w, true);
  ASSERT_TRUE(image);
  EXPECT_EQ(At(world.w, 1, 0).flag, 255);  // the mask went into the pad bytes
  AccessPix target;
  CGContextRef ctx = QZ_CreateBitmapContext(2, 1, &target, true);
  QZ_ContextDrawImage(ctx, QZRect{0, 0, 2, 1}, image);
  EXPECT_EQ(At(target, 0, 0), (normalcolor{0, 0, 0, 0}));
  EXPECT_EQ(At(target, 1, 0), At(world.w, 1, 0));
  QZ_ImageRelease(image);

  EXPECT_EQ(QZ_createMaskfromGW(world.w), nullptr);
  CGImageRef maskImage = QZ_createMaskfromGW(mask.w);
  ASSERT_TRUE(maskImage);
  std::memset(target.base, 255, 8);
  QZ_ContextDrawImage(ctx, QZRect{0, 0, 2, 1}, maskImage);
  EXPECT_EQ(At(target, 0, 0), (normalcolor{255, 0, 0, 0}));  // sample 0 paints
  EXPECT_EQ(At(target, 1, 0), (normalcolor{255, 255, 255, 255}));
  QZ_ImageRelease(maskImage);
  QZ_KillBitmapContext(&ctx, nullptr);
}

TEST(QZDrawing, VerticalGradientIsDrawnInBands)
{
  FlippedTarget t(30, 8);
  std::vector<normalcolor> table;
  for (int k = 0; k < 4; ++k)
    table.push_back(normalcolor{255, uint8_t(50 * k + 10), 0, 0});
  table[3] = normalcolor{0, 0, 0, 0};  // transparent: leaves the destination
  CleanOffworld(t.dest.w);
  QZ_fillboxGradientV(t.ctx, table.data(), Rect{2, 3, 6, 23});
  // Bands at 3, 11 and 19, the last cut to 4 columns by the clip.
  for (int32_t col = 0; col < 30; ++col) {
    const bool inside = col >= 3 && col < 23;
    EXPECT_EQ(At(t.dest.w, col, 4).red, inside ? 60 : 255) << col;
  }
  // Images put their first row at the top edge in the context's own
  // space: in a flipped context entry k lands on row bottom - 1 - k.
  EXPECT_EQ(At(t.dest.w, 10, 5).red, 10);
  EXPECT_EQ(At(t.dest.w, 10, 2), (normalcolor{0, 255, 255, 255}));
  EXPECT_EQ(At(t.dest.w, 10, 6).red, 255);
}

TEST(QZDrawing, HorizontalGradientIsDrawnInBands)
{
  FlippedTarget t(6, 12);
  CleanOffworld(t.dest.w);
  const normalcolor table[3] = {{255, 10, 0, 0}, {255, 20, 0, 0}, {255, 30, 0, 0}};
  QZ_fillboxGradientH(t.ctx, table, Rect{1, 2, 11, 5});
  for (int32_t row = 0; row < 12; ++row) {
    const bool inside = row >= 1 && row < 11;
    EXPECT_EQ(At(t.dest.w, 4, row).red, inside ? 30 : 255) << row;
    EXPECT_EQ(At(t.dest.w, 2, row).red, inside ? 10 : 255) << row;
  }
}

namespace {

struct ProcCall
{
  int32_t columns = -1, rows = -1, rowBytes = -1, param = -1;
};
ProcCall gLastCall;

// Paints the first row opaque red.
void RedTopRow(int32_t columns, int32_t rows, uint8_t* pixels, int32_t rowBytes, int32_t param)
{
  gLastCall = ProcCall{columns, rows, rowBytes, param};
  for (int32_t col = 0; col < columns; ++col) {
    uint8_t* p = pixels + col * 4;
    p[0] = 255, p[1] = 200, p[2] = 0, p[3] = 0;
  }
}

}  // namespace

TEST(QZDrawing, RowCallbackResultIsComposited)
{
  struct Case
  {
    CGBlendMode mode;
    CGBlendMode before, after;
  } cases[] = {{kQZBlendNormal, 1, 1}, {5, 1, kQZBlendNormal}};
  for (const Case& c : cases) {
    FlippedTarget t(6, 5);
    CleanOffworld(t.dest.w);
    QZ_ContextSetBlendMode(t.ctx, c.before);
    QZ_BlitPixCommandes(t.ctx, Rect{1, 1, 4, 5}, 42, RedTopRow, c.mode, true);
    EXPECT_EQ(QZ_ContextGetBlendMode(t.ctx), c.after);
    EXPECT_EQ(gLastCall.columns, 4);
    EXPECT_EQ(gLastCall.rows, 3);
    EXPECT_EQ(gLastCall.rowBytes, 16);
    EXPECT_EQ(gLastCall.param, 42);
    if (c.mode == kQZBlendNormal) {
      // multiply over white: the bitmap's first row on top
      EXPECT_EQ(At(t.dest.w, 2, 1).red, 200);
      EXPECT_EQ(At(t.dest.w, 2, 1).green, 0);
      EXPECT_EQ(At(t.dest.w, 2, 3).green, 255);  // transparent below
    }
  }
  QZ_BlitPixCommandes(nullptr, Rect{0, 0, 2, 2}, 0, RedTopRow, 0, true);
}

TEST(QZCapture, ScreenPixelsBecomeOpaqueArgb)
{
  std::vector<uint8_t> screen(4 * 4 * 4);
  for (size_t i = 0; i < screen.size(); i += 4)
    screen[i] = 1, screen[i + 1] = 2, screen[i + 2] = 3, screen[i + 3] = 0;
  CGrafPtr port = NewPixelPort(screen.data(), 16, Rect{0, 0, 4, 4}, 32, kPixelFormatBGRA);
  AccessPix out;
  CGContextRef ctx = QZ_CaptureScreenPix(port, &out, Rect{2, 1, 9, 3});  // cut to the port
  ASSERT_TRUE(ctx);
  EXPECT_EQ(out.width, 2);
  EXPECT_EQ(out.height, 2);
  EXPECT_EQ(out.owned, ctx);
  EXPECT_EQ(At(out, 1, 1), (normalcolor{255, 3, 2, 1}));
  QZ_KillBitmapContext(&ctx, nullptr);
  DisposePixelPort(port);

  std::vector<uint8_t> shallow(4 * 4 * 2);
  CGrafPtr port16 = NewPixelPort(shallow.data(), 8, Rect{0, 0, 4, 4}, 16, 0);
  AccessPix none;
  EXPECT_EQ(QZ_CaptureScreenPix(port16, &none, Rect{0, 0, 4, 4}), nullptr);
  EXPECT_EQ(none.owned, nullptr);
  EXPECT_EQ(port16->bitsLockCount, 0);
  DisposePixelPort(port16);
  EXPECT_EQ(QZ_CaptureScreenPix(nullptr, &none, Rect{0, 0, 4, 4}), nullptr);
}
