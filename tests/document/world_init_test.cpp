#include <cstring>
#include <gtest/gtest.h>
#include <memory>

#include "document/engineapi.h"
#include "document/inputslots.h"
#include "document/qtsetup.h"
#include "engine/palettefiles.h"
#include "engine/palettes.h"
#include "engine/treemanage.h"
#include "foundation/mempool.h"
#include "imaging/qzbitmaps.h"
#include "noise/drivers.h"
#include "tests/platform/tempfolder.h"

namespace {

// The world initialisation carves its palette library from the pool.
void ensurePool()
{
  if (gMemPool.base == nullptr)
    finit(&gMemPool, kMemPoolFloorSize);
}

struct WorldCase
{
  std::unique_ptr<KovrelinWorld> world = std::make_unique<KovrelinWorld>();
  WorldCase() { gKovrelinWorld = world.get(); }
  ~WorldCase()
  {
    arb_Clear(&world->doc, true, true);
    gKovrelinWorld = nullptr;
  }
};

bool samePalette(const cpalette& a, const cpalette& b)
{
  return a.count == b.count && std::memcmp(a.colors, b.colors, sizeof a.colors) == 0;
}

TEST(WorldInit, WithoutALibraryFileTheBuiltInPalettesStay)
{
  ensurePool();
  TempFolder resources;
  WorldCase w;
  Kovrelin_worldinit(w.world.get(), nullptr, resources.root());

  KovrelinWorld& world = *w.world;
  ASSERT_NE(world.paletteLib, nullptr);
  cpalette builtin{};
  for (int i : {0, 1, 2, 3, 4, 5, 9}) {  // the built-in palettes without random colours
    define_cpalette(&builtin, i);
    EXPECT_TRUE(samePalette(world.paletteLib->palettes[i], builtin)) << i;
  }
  // The document: one f21 Ax+By+C component and filled tables.
  EXPECT_EQ(world.doc.tree.count, 1);
  EXPECT_EQ(world.doc.tree.funcs[0].family, kFamily21);
  EXPECT_EQ(world.doc.tree.funcs[0].funcID, 0);
  EXPECT_EQ(world.doc.tables.perm[1024], world.doc.tables.perm[0]);
  EXPECT_EQ(world.batchLength, 16);
  EXPECT_EQ(world.defaultColorCount, 48);
  const normalcolor first{255, 0, 0, 60}, last{255, 200, 20, 255};
  EXPECT_EQ(std::memcmp(&world.defaultColors[0], &first, 4), 0);
  EXPECT_EQ(std::memcmp(&world.defaultColors[47], &last, 4), 0);
  EXPECT_EQ(world.askForMissingInputs, 0);
  EXPECT_EQ(world.defaultPictureForEmptySlots, 0);
  EXPECT_EQ(world.doc.animation.mode, 1);
  EXPECT_EQ(world.doc.animation.length, 600);
  // The references read back.
  EXPECT_EQ(std::string(world.palettesFile), resources.root().child("Palettes").path());
  EXPECT_NE(std::string(world.presetsFolder).find("/Structures Presets"), std::string::npos);
}

TEST(WorldInit, StartUpInOrderRendersTheOneComponentTree)
{
  ensurePool();
  KVrenderPrefs prefs;
  Kovrelin_DefaultPrefs(&prefs);
  ASSERT_EQ(InitMovieToolbox(), 0);
  WorldCase w;
  Kovrelin_worldinit(w.world.get(), &prefs);
  ASSERT_EQ(Kovrelin_opendefaultpicture(FileRef::fromPath(KV_BINARY_DIR "/Resources")), 0);
  ASSERT_NE(gDefaultPictureGW, nullptr);
  int16_t width = 0, height = 0;
  KV_inputRenderSize(&width, &height);
  EXPECT_EQ(width, 768);
  EXPECT_EQ(height, 576);

  // Ax+By+C over the default view: a gradient, left to right.
  renderjob job;
  AccessPix buffer{};
  Kovrelin_SetUpQuartzRender(nullptr, &job, &w.world->doc, nullptr, 48, 32, &buffer);
  ASSERT_NE(buffer.base, nullptr);
  Kovrelin_RenderToContext(&job, &w.world->doc, 0);
  EXPECT_EQ(job.result, 0);
  const uint8_t* row = buffer.base + size_t(buffer.rowBytes) * 16;
  EXPECT_NE(std::memcmp(row, row + 4 * 47, 4), 0);
  DisposePtr(buffer.base);
}

TEST(WorldInit, FractalDefaultsLeaveTheOctaveCount)
{
  fractalsinfos f{};
  f.octaves = 77;
  Kovrelin_DefaultFractGlobals(&f);
  EXPECT_EQ(f.octaves, 77);
  EXPECT_EQ(f.lacunarity, 2.0943951024);
}

TEST(WorldInit, SoundDefaults)
{
  sSoundfunc sound;
  std::memset(&sound, 0x5A, sizeof sound);
  Kovrelin_SoundinfosInit(&sound);
  EXPECT_EQ(sound.tag, 2);
  EXPECT_EQ(sound.transposition, 12);
  EXPECT_EQ(sound.setting1, 0.25);
  EXPECT_EQ(sound.setting2, 120.0);
  EXPECT_EQ(sound.table[575], 0.0);
  EXPECT_EQ(sound.name[0], 0);
  EXPECT_EQ(sound.name2[0], 0);
}

TEST(WorldInit, ReadsTheLibraryFileOfTheResourcesFolder)
{
  ensurePool();
  TempFolder resources;
  auto stored = std::make_unique<cpalettelib>();
  init_cpalettelib(stored.get());
  define_cpalette(&stored->palettes[0], 7);  // a recognisable slot 0
  ASSERT_TRUE(write_cpalettelib(stored.get(), resources.ref("Palettes")));

  WorldCase w;
  Kovrelin_worldinit(w.world.get(), nullptr, resources.root());
  EXPECT_TRUE(samePalette(w.world->paletteLib->palettes[0], stored->palettes[0]));
}

TEST(WorldInit, ADamagedLibraryFileLeavesTheBuiltInPalettes)
{
  ensurePool();
  TempFolder resources;
  resources.write("Palettes", "too short");
  WorldCase w;
  Kovrelin_worldinit(w.world.get(), nullptr, resources.root());
  cpalette builtin{};
  define_cpalette(&builtin, 0);
  EXPECT_TRUE(samePalette(w.world->paletteLib->palettes[0], builtin));
}

}  // namespace
