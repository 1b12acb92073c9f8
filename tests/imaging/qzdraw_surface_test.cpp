#include <cairo.h>
#include <gtest/gtest.h>

#include "imaging/quartz_pvt.h"

namespace {

// A context over a caller's cairo surface keeps the y-up user space, draws
// straight into the surface and holds its own reference until released.
TEST(QZContextOnCairoSurface, DrawsYUpAndHoldsAReference)
{
  cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 8, 6);
  CGContextRef ctx = QZ_ContextOnCairoSurface(surface, 8, 6);
  ASSERT_NE(ctx, nullptr);
  EXPECT_GT(cairo_surface_get_reference_count(surface), 1u);
  // The caller may let go of its own reference at once.
  cairo_surface_reference(surface);
  cairo_surface_destroy(surface);

  // A mask covering the bottom-left 2 x 2 units paints black there.
  const uint8_t samples[4] = {0, 0, 0, 0};
  CGImageRef mask = QZ_ImageMaskCreateWithBits(samples, 2, 2, 2);
  QZ_ContextDrawImage(ctx, QZRect{0, 0, 2, 2}, mask);
  QZ_ImageRelease(mask);
  QZ_ContextRelease(ctx);
  EXPECT_EQ(cairo_surface_get_reference_count(surface), 1u);

  cairo_surface_flush(surface);
  const uint8_t* data = cairo_image_surface_get_data(surface);
  const int stride = cairo_image_surface_get_stride(surface);
  auto pixel = [&](int col, int row) {
    return reinterpret_cast<const uint32_t*>(data + row * stride)[col];
  };
  EXPECT_EQ(pixel(0, 5), 0xff000000u);  // bottom-left: painted
  EXPECT_EQ(pixel(1, 4), 0xff000000u);
  EXPECT_EQ(pixel(0, 0), 0u);  // top-left: untouched
  EXPECT_EQ(pixel(2, 5), 0u);
  // The surface is not finished: it still takes drawing.
  EXPECT_EQ(cairo_surface_status(surface), CAIRO_STATUS_SUCCESS);
  cairo_surface_destroy(surface);
}

TEST(QZContextOnCairoSurface, RefusesBadArguments)
{
  cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 4, 4);
  EXPECT_EQ(QZ_ContextOnCairoSurface(nullptr, 4, 4), nullptr);
  EXPECT_EQ(QZ_ContextOnCairoSurface(surface, 0, 4), nullptr);
  EXPECT_EQ(QZ_ContextOnCairoSurface(surface, 4, -1), nullptr);
  EXPECT_EQ(cairo_surface_get_reference_count(surface), 1u);
  cairo_surface_destroy(surface);
}

}  // namespace
