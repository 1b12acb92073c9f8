// A bench that renders the document's tree through the render driver, as the
// family render tests use it: a world with reproducible tables, the default
// colour function, and a picture wide enough for four column bands of 64.
#pragma once

#include <cstdint>
#include <gtest/gtest.h>
#include <memory>
#include <vector>

#include "engine/catalog.h"
#include "engine/colorfuncs.h"
#include "engine/render.h"
#include "engine/tables.h"
#include "engine/treemanage.h"
#include "engine/world.h"

class KVfamilyRender : public ::testing::Test
{
protected:
  static constexpr int kWidth = 256;
  static constexpr int kHeight = 20;

  void SetUp() override
  {
    world_ = std::make_unique<KovrelinWorld>();
    gKovrelinWorld = world_.get();
    KV_initWorldRecord(world_.get());
    doc_ = &world_->doc;
    arb_Init(doc_);
    SetRndTempTables(doc_, 1);
    arb_setColorfunc(doc_, 0, true);
  }
  void TearDown() override
  {
    arb_Clear(doc_, true, true);
    gKovrelinWorld = nullptr;
  }

  // The picture's RGBA bytes, rendered on `processors` threads.
  std::vector<uint8_t> render(int processors)
  {
    std::vector<uint8_t> pixels(size_t(kWidth) * kHeight * 4);
    AccessPix access;
    access.base = pixels.data();
    access.rowBytes = kWidth * 4;
    access.width = kWidth;
    access.height = kHeight;
    access.pixelSize = 32;
    renderjob job;
    SetUpRender(doc_, &job, nullptr, nullptr, nullptr, nullptr);
    SetUpRenderAccess(&job, &access);
    findRenderMetrics(&job, 1.0);
    EXPECT_EQ(KV_MultiProcRenderOn(&job, 0, processors), 0);
    return pixels;
  }

  // Every built member of `family` as a one-component tree draws the same
  // picture on one thread and on four.
  void expectEveryMemberThreadIndependent(int family)
  {
    const int count = KV_familyMemberCount(family);
    for (int pos = 0; pos < count; ++pos) {
      const KVcatalogMember m = KV_familyMember(family, pos);
      if (!m.real)
        continue;
      SCOPED_TRACE(m.computeName);
      arb_presetinit(doc_, int16_t(family), m.id);
      const std::vector<uint8_t> one = render(1);
      const std::vector<uint8_t> four = render(4);
      EXPECT_TRUE(one == four);
      arb_Clear(doc_, true, true);
    }
  }

  std::unique_ptr<KovrelinWorld> world_;
  sfuncSystem* doc_ = nullptr;
};
