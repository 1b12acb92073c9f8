// Tree files: round trip of a whole document, the normalisation of what is
// read, version gates, the widening of versions 15 to 17, refused files and
// failed writes.
#include "document/treefile.h"

#include <cmath>
#include <filesystem>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>
#include <iterator>
#include <numbers>
#include <set>
#include <vector>

#include "engine/render.h"
#include "foundation/appshell.h"
#include "foundation/bigendian.h"
#include "imaging/qzbitmaps.h"
#include "tests/document/sample_tree.h"
#include "tests/platform/tempfolder.h"

namespace {

using Bytes = std::vector<unsigned char>;

Bytes readAll(const FileRef& file)
{
  std::ifstream in(file.path(), std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(in), {});
}

void writeAll(const FileRef& file, const Bytes& bytes)
{
  std::ofstream out(file.path(), std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

frefinfos treeRef(const TempFolder& folder, const char* name)
{
  frefinfos ref;
  ref.parent = folder.root();
  kvsample::setPascal(ref.name, name);
  return ref;
}

// The pixels of a 48 x 32 render on one thread.
Bytes render(sfuncSystem* doc)
{
  AccessPix access;
  uint8_t* pixels = QZ_AllocateRenderBuffer32(&access, 48, 32);
  if (!pixels)
    return {};
  renderjob job;
  SetUpRender(doc, &job, nullptr, nullptr, nullptr, nullptr);
  SetUpRenderAccess(&job, &access);
  findRenderMetrics(&job, 1.0);
  Bytes out;
  if (KV_MultiProcRenderOn(&job, 0, 1) == 0)
    for (int y = 0; y < access.height; y++)
      out.insert(out.end(), access.base + int64_t(y) * access.rowBytes,
                 access.base + int64_t(y) * access.rowBytes + 4 * access.width);
  DisposePtr(pixels);
  return out;
}

int slotOf(const smalltree& tree, const gfunc* g)
{
  return g ? int(g - tree.funcs) : -1;
}

void expectSameTree(const smalltree& a, const smalltree& b)
{
  ASSERT_EQ(a.count, b.count);
  EXPECT_EQ(a.rootLevel, b.rootLevel);
  EXPECT_EQ(a.kind, b.kind);
  EXPECT_EQ(a.selection1, b.selection1);
  EXPECT_EQ(a.selection2, b.selection2);
  for (int i = 0; i < a.count; i++) {
    SCOPED_TRACE(testing::Message() << "slot " << i);
    const gfunc& x = a.funcs[i];
    const gfunc& y = b.funcs[i];
    EXPECT_EQ(x.family, y.family);
    EXPECT_EQ(x.funcID, y.funcID);
    EXPECT_EQ(x.index, y.index);
    EXPECT_EQ(x.level, y.level);
    EXPECT_EQ(x.displayIndex, y.displayIndex);
    EXPECT_EQ(x.lockFlags, y.lockFlags);
    EXPECT_EQ(x.evalFlag, y.evalFlag);
    EXPECT_EQ(x.paramCount, y.paramCount);
    EXPECT_EQ(x.A, y.A);
    EXPECT_EQ(x.B, y.B);
    EXPECT_EQ(x.C, y.C);
    for (int k = 0; k < kKeyframeCount; k++) {
      EXPECT_EQ(x.keyframes[k].A, y.keyframes[k].A);
      EXPECT_EQ(x.keyframes[k].B, y.keyframes[k].B);
      EXPECT_EQ(x.keyframes[k].C, y.keyframes[k].C);
    }
    // Binding clears the inputs a family does not have.
    for (int j = 0; j < KV_familyInputs(x.family); j++) {
      EXPECT_EQ(x.inlets[j].source, y.inlets[j].source) << "input " << j;
      EXPECT_EQ(slotOf(a, x.sources[j]), slotOf(b, y.sources[j])) << "input " << j;
    }
  }
}

void expectSamePalette(const cpalette& a, const cpalette& b)
{
  EXPECT_EQ(a.count, b.count);
  for (int i = 0; i < 64; i++)
    EXPECT_EQ(a.colors[i], b.colors[i]) << "colour " << i;
}

void expectSameDocument(const sfuncSystem& a, const sfuncSystem& b)
{
  expectSameTree(a.tree, b.tree);
  EXPECT_EQ(slotOf(a.tree, a.outputFunc), slotOf(b.tree, b.outputFunc));
  EXPECT_EQ(a.view.xmin, b.view.xmin);
  EXPECT_EQ(a.view.xmax, b.view.xmax);
  EXPECT_EQ(a.view.ymin, b.view.ymin);
  EXPECT_EQ(a.view.ymax, b.view.ymax);
  expectSamePalette(a.tables.gradientKeys, b.tables.gradientKeys);
  EXPECT_EQ(a.colorFuncIndex, b.colorFuncIndex);
  EXPECT_EQ(a.colorFunc, b.colorFunc);
  EXPECT_EQ(a.depthCue, b.depthCue);
  EXPECT_EQ(a.globalShade, b.globalShade);
  EXPECT_EQ(a.paletteNumber, b.paletteNumber);
  EXPECT_EQ(a.indexPair[0], b.indexPair[0]);
  EXPECT_EQ(a.indexPair[1], b.indexPair[1]);
  for (int i = 0; i < 3; i++)
    EXPECT_EQ(a.defaultColors[i], b.defaultColors[i]);
  EXPECT_EQ(a.movie.documentByte, b.movie.documentByte);
  EXPECT_EQ(a.movie.soundTree, b.movie.soundTree);
  EXPECT_EQ(a.movie.soundPathStraight, b.movie.soundPathStraight);
  for (int i = 0; i < 4; i++)
    EXPECT_EQ(a.movie.outputChannels[i], b.movie.outputChannels[i]);
  EXPECT_EQ(a.fractal.octaves, b.fractal.octaves);
  EXPECT_EQ(a.animPeriod, b.animPeriod);
  EXPECT_EQ(a.inputMode, b.inputMode);
  for (int i = 0; i < 6; i++)
    EXPECT_EQ(a.masterDoubles[i], b.masterDoubles[i]);

  const KVanimation& x = a.animation;
  const KVanimation& y = b.animation;
  EXPECT_EQ(x.keyCount, y.keyCount);
  EXPECT_EQ(x.selectedKey, y.selectedKey);
  EXPECT_EQ(x.mode, y.mode);
  EXPECT_EQ(x.length, y.length);
  EXPECT_EQ(x.frameRate, y.frameRate);
  EXPECT_EQ(x.straightMoves, y.straightMoves);
  EXPECT_EQ(x.cameraPath, y.cameraPath);
  EXPECT_EQ(x.easing, y.easing);
  EXPECT_EQ(x.randomDrift, y.randomDrift);
  EXPECT_EQ(x.timeRandomOffset, y.timeRandomOffset);
  for (int k = 0; k < x.keyCount; k++) {
    SCOPED_TRACE(testing::Message() << "key " << k);
    EXPECT_EQ(x.keys[k].inUse, y.keys[k].inUse);
    EXPECT_EQ(x.keys[k].componentCount, y.keys[k].componentCount);
    EXPECT_EQ(x.keys[k].cameraX, y.keys[k].cameraX);
    EXPECT_EQ(x.keys[k].cameraY, y.keys[k].cameraY);
    EXPECT_EQ(x.keys[k].halfSize, y.keys[k].halfSize);
    expectSamePalette(x.keys[k].palette, y.keys[k].palette);
  }
  EXPECT_TRUE(std::equal(a.tables.perm, a.tables.perm + 1025, b.tables.perm));
}

// A world with the sample document, and a second, plain document to read into.
class TreeFileTest : public testing::Test
{
protected:
  void SetUp() override
  {
    world_ = kvsample::makeWorld(77);
    doc_ = &world_->doc;
    kvsample::buildDocument(doc_);
    sound_ = kvsample::makeSound();
    other_ = std::make_unique<sfuncSystem>();
    arb_Init(other_.get());
    SetRndTempTables(other_.get(), 3);
    arb_setColorfunc(other_.get(), 0, true);
    previousAlert_ = SetAlertSoundProc([](bool) { ++alerts_; });
    alerts_ = 0;
  }
  void TearDown() override
  {
    SetAlertSoundProc(previousAlert_);
    arb_Clear(other_.get(), true, true);
    arb_Clear(doc_, true, true);
    gKovrelinWorld = nullptr;
  }

  // The sample written to "sample.kovr"; its bytes.
  Bytes writeSample()
  {
    frefinfos ref = treeRef(folder_, "sample.kovr");
    EXPECT_EQ(arb_WRITE(doc_, &ref, &sound_), 0);
    return readAll(file());
  }
  FileRef file() const { return folder_.root().child("sample.kovr"); }
  int16_t readBack(bool full = true, bool tables = true, KVfileProblem* problem = nullptr)
  {
    return arb_READ(other_.get(), file(), full, tables, &readSound_, problem);
  }
  // Writes the sample, changes its bytes and reads the result.
  int16_t readPatched(const std::function<void(Bytes&)>& patch, KVfileProblem* problem = nullptr)
  {
    Bytes bytes = writeSample();
    patch(bytes);
    writeAll(file(), bytes);
    return readBack(true, true, problem);
  }

  inline static int alerts_ = 0;
  TempFolder folder_;
  std::unique_ptr<KovrelinWorld> world_;
  sfuncSystem* doc_ = nullptr;
  std::unique_ptr<sfuncSystem> other_;
  sSoundfunc sound_{};
  sSoundfunc readSound_{};
  AlertSoundProc previousAlert_ = nullptr;
};

TEST_F(TreeFileTest, WrittenDocumentReadsBackTheSameAndRendersTheSame)
{
  Bytes before = render(doc_);
  ASSERT_FALSE(before.empty());
  std::set<uint32_t> colours;
  for (size_t i = 0; i + 4 <= before.size(); i += 4)
    colours.insert(be::get_u32(&before[i]));
  ASSERT_GT(colours.size(), 8u) << "the sample must draw a picture, not a flat colour";
  Bytes bytes = writeSample();
  EXPECT_EQ(bytes.size(), kTreeRecordSize + kComponentSectionSize);
  ASSERT_EQ(readBack(), kTreeReadOK);

  expectSameDocument(*doc_, *other_);
  const smalltree* sub = arb_subtreeOf(&other_->tree.funcs[2]);
  ASSERT_NE(sub, nullptr);
  expectSameTree(*arb_subtreeOf(&doc_->tree.funcs[2]), *sub);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(sub->name + 1), sub->name[0]), "Twirl");
  EXPECT_EQ(other_->compiledCount, 1);

  EXPECT_EQ(readSound_.tag, 0);  // the reader leaves the tag as it found it
  EXPECT_EQ(readSound_.transposition, 7);
  EXPECT_EQ(readSound_.setting1, 0.5);
  EXPECT_EQ(readSound_.setting2, 96.0);
  EXPECT_EQ(readSound_.setting3, 0xA1B2C3D4u);
  EXPECT_EQ(readSound_.setting4, 0x1234);
  EXPECT_EQ(readSound_.setting5, 77u);
  EXPECT_EQ(readSound_.setting6, -3.5);
  ASSERT_EQ(readSound_.name[0], 200);  // names of 128 to 255 characters are kept
  EXPECT_EQ(0, std::memcmp(readSound_.name, sound_.name, 201));

  EXPECT_EQ(render(other_.get()), before);
}

TEST_F(TreeFileTest, WritingTwiceGivesTheSameBytes)
{
  Bytes first = writeSample();
  ASSERT_EQ(readBack(), kTreeReadOK);
  frefinfos ref = treeRef(folder_, "again.kovr");
  ASSERT_EQ(arb_WRITE(other_.get(), &ref, &sound_), 0);
  EXPECT_EQ(ref.type, kTreeFileType);
  EXPECT_EQ(readAll(folder_.root().child("again.kovr")), first);
}

struct NormalisationCase
{
  const char* name;
  std::function<void(Bytes&)> patch;
  std::function<void(const sfuncSystem&, const sSoundfunc&)> check;
};

void putVersion(Bytes& b, int16_t v)
{
  be::put_i16(b.data(), v);
}

TEST_F(TreeFileTest, ReadingNormalisesStoredValues)
{
  constexpr double pi = std::numbers::pi;
  const NormalisationCase cases[] = {
      {"all-zero view", [](Bytes& b) { std::fill(b.begin() + 14264, b.begin() + 14296, 0); },
       [&](const sfuncSystem& d, const sSoundfunc&) {
         EXPECT_EQ(d.view.xmin, -pi);
         EXPECT_EQ(d.view.xmax, pi);
         EXPECT_EQ(d.view.ymin, -pi);
         EXPECT_EQ(d.view.ymax, pi);
       }},
      {"version 18, length 3",
       [](Bytes& b) {
         putVersion(b, 18);
         be::put_i32(&b[18916], 3);
       },
       [](const sfuncSystem& d, const sSoundfunc&) { EXPECT_EQ(d.animation.length, 10); }},
      {"rate 0",
       [](Bytes& b) {
         be::put_u16(&b[18920], 0);
         be::put_u16(&b[18922], 0);
       },
       [](const sfuncSystem& d, const sSoundfunc&) { EXPECT_EQ(d.animation.frameRate, 1.0); }},
      {"rate 29 flagged",
       [](Bytes& b) {
         be::put_u16(&b[18920], 29);
         be::put_u16(&b[18922], 1);
       },
       [](const sfuncSystem& d, const sSoundfunc&) { EXPECT_EQ(d.animation.frameRate, 29.97); }},
      {"rate 25 flagged",
       [](Bytes& b) {
         be::put_u16(&b[18920], 25);
         be::put_u16(&b[18922], 1);
       },
       [](const sfuncSystem& d, const sSoundfunc&) { EXPECT_EQ(d.animation.frameRate, 25.0); }},
      {"keyframe count 20",
       [](Bytes& b) {
         be::put_u16(&b[14298], 20);
         be::put_u16(&b[14212], 20);
       },
       [](const sfuncSystem& d, const sSoundfunc&) {
         EXPECT_EQ(d.animation.keyCount, 16);
         EXPECT_EQ(d.tree.kind, 16);
       }},
      {"octave count 2", [](Bytes& b) { be::put_i16(&b[19258], 2); },
       [](const sfuncSystem& d, const sSoundfunc&) { EXPECT_EQ(d.fractal.octaves, 4); }},
      {"octave count -1", [](Bytes& b) { be::put_i16(&b[19258], -1); },
       [](const sfuncSystem& d, const sSoundfunc&) { EXPECT_EQ(d.fractal.octaves, 4); }},
      {"octave count 257", [](Bytes& b) { be::put_i16(&b[19258], 257); },
       [](const sfuncSystem& d, const sSoundfunc&) { EXPECT_EQ(d.fractal.octaves, 256); }},
      {"octave count 32767", [](Bytes& b) { be::put_i16(&b[19258], 32767); },
       [](const sfuncSystem& d, const sSoundfunc&) { EXPECT_EQ(d.fractal.octaves, 256); }},
      {"time-random period 40000", [](Bytes& b) { be::put_u16(&b[18960], 40000); },
       [](const sfuncSystem& d, const sSoundfunc&) { EXPECT_EQ(d.animPeriod, 40000); }},
      {"transposition 50", [](Bytes& b) { be::put_i32(&b[19920], 50); },
       [](const sfuncSystem&, const sSoundfunc& s) { EXPECT_EQ(s.transposition, 36); }},
      {"transposition -20", [](Bytes& b) { be::put_i32(&b[19920], -20); },
       [](const sfuncSystem&, const sSoundfunc& s) { EXPECT_EQ(s.transposition, -12); }},
      {"no sound tag", [](Bytes& b) { be::put_i32(&b[19916], 0); },
       [](const sfuncSystem&, const sSoundfunc& s) {
         EXPECT_EQ(s.name[0], 0);
         EXPECT_EQ(s.setting1, 0.25);
         EXPECT_EQ(s.setting3, 0u);
         EXPECT_EQ(s.transposition, 12);
       }},
      {"palette count beyond the palette",
       [](Bytes& b) {
         be::put_u32(&b[18972], 0xFFFFFFF0u);
         be::put_u32(&b[14300 + 28], 64);
       },
       [](const sfuncSystem& d, const sSoundfunc&) {
         EXPECT_EQ(d.tables.gradientKeys.count, 63);
         EXPECT_EQ(d.animation.keys[0].palette.count, 63);
       }},
      {"colour function out of range", [](Bytes& b) { be::put_u16(&b[19234], 40); },
       [](const sfuncSystem& d, const sSoundfunc&) { EXPECT_EQ(d.colorFuncIndex, 12); }},
      {"selected key beyond the keys", [](Bytes& b) { be::put_u16(&b[14296], 300); },
       [](const sfuncSystem& d, const sSoundfunc&) { EXPECT_EQ(d.animation.selectedKey, 0); }},
      {"selections are signed low bytes",
       [](Bytes& b) {
         be::put_u16(&b[14214], 0x01FE);
         be::put_u16(&b[14216], 0xFF03);
       },
       [](const sfuncSystem& d, const sSoundfunc&) {
         EXPECT_EQ(d.tree.selection1, -2);
         EXPECT_EQ(d.tree.selection2, 3);
       }},
  };
  for (const NormalisationCase& c : cases) {
    SCOPED_TRACE(c.name);
    readSound_ = sSoundfunc{};
    readSound_.transposition = 12;
    ASSERT_EQ(readPatched(c.patch), kTreeReadOK);
    c.check(*other_, readSound_);
  }
}

TEST_F(TreeFileTest, DepthCueAndGlobalShadeComeFromTheFile)
{
  // Colour function 11 derives depth cue 2 and global shade 1; the file says
  // otherwise.
  doc_->colorFuncIndex = 11;
  doc_->depthCue = 1;
  doc_->globalShade = 0;
  writeSample();
  ASSERT_EQ(readBack(), kTreeReadOK);
  EXPECT_EQ(other_->colorFuncIndex, 11);
  EXPECT_EQ(other_->depthCue, 1);
  EXPECT_EQ(other_->globalShade, 0);
}

TEST_F(TreeFileTest, VersionGates)
{
  struct Case
  {
    int16_t version;
    int16_t result;
    int alerts;
  };
  const Case cases[] = {{13, kTreeReadUnsupported, 1}, {0, kTreeReadUnsupported, 1},
                        {14, kTreeReadUnsupported, 0}, {21, kTreeReadUnsupported, 0},
                        {18, kTreeReadOK, 0},          {19, kTreeReadOK, 0}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.version);
    alerts_ = 0;
    other_->tree.count = 0;
    EXPECT_EQ(readPatched([&](Bytes& b) { putVersion(b, c.version); }), c.result);
    EXPECT_EQ(alerts_, c.alerts);
    EXPECT_EQ(other_->tree.version, c.version);
    if (c.result != kTreeReadOK) {
      EXPECT_EQ(other_->tree.count, 0);
    }
  }
  EXPECT_EQ(arb_READ(other_.get(), folder_.root().child("missing.kovr"), true, true, nullptr),
            kTreeReadCannotOpen);
}

TEST_F(TreeFileTest, CompiledTreeIdsOfOldVersions)
{
  struct Case
  {
    int16_t version;
    int16_t id;
  };
  for (const Case c : {Case{18, kCompiledTreeId}, Case{19, 63}, Case{20, 63}}) {
    SCOPED_TRACE(c.version);
    ASSERT_EQ(readPatched([&](Bytes& b) {
                putVersion(b, c.version);
                be::put_u16(&b[4 + 444 * 2 + 2], 63);
              }),
              kTreeReadOK);
    EXPECT_EQ(other_->tree.funcs[2].funcID, c.id);
    EXPECT_EQ(arb_subtreeOf(&other_->tree.funcs[2]) != nullptr, c.id == kCompiledTreeId);
  }
}

TEST_F(TreeFileTest, StoredIndexDecidesBetweenFileAndCatalogParameters)
{
  // Record 3 carries index 80: it keeps the catalog's defaults. Its source
  // 2 names an index no record carries any more once record 2 is renumbered
  // to 9, and is linked to slot 2.
  ASSERT_EQ(readPatched([](Bytes& b) {
              be::put_i16(&b[4 + 444 * 3 + 4], 80);
              be::put_i16(&b[4 + 444 * 2 + 4], 9);
            }),
            kTreeReadOK);
  gfunc fresh{};
  setFunc(&fresh, kFamily21, 44, kBindDefaults);
  const gfunc& out = other_->tree.funcs[3];
  EXPECT_EQ(out.A, fresh.A);
  EXPECT_EQ(out.keyframes[5].A, fresh.keyframes[5].A);
  EXPECT_NE(out.keyframes[5].A, doc_->tree.funcs[3].keyframes[5].A);
  EXPECT_EQ(out.sources[0], &other_->tree.funcs[2]);
  EXPECT_EQ(other_->tree.funcs[0].A, doc_->tree.funcs[0].A);
}

TEST_F(TreeFileTest, DamagedFilesAreRefusedWithoutTouchingTheDocument)
{
  const size_t rec2 = 4 + 444 * 2;
  const size_t rec3 = 4 + 444 * 3;
  struct Case
  {
    const char* name;
    std::function<void(Bytes&)> patch;
  };
  const Case cases[] = {
      {"count 33", [](Bytes& b) { be::put_u16(&b[2], 33); }},
      {"family 14", [&](Bytes& b) { be::put_u16(&b[rec3], 14); }},
      {"family 0 in a used record", [&](Bytes& b) { be::put_u16(&b[rec3], 0); }},
      {"function id 300", [&](Bytes& b) { be::put_u16(&b[rec3 + 2], 300); }},
      {"negative index", [&](Bytes& b) { be::put_i16(&b[rec3 + 4], -4); }},
      {"source 40", [&](Bytes& b) { be::put_i16(&b[rec3 + 12], 40); }},
      {"input code 18", [&](Bytes& b) { be::put_u16(&b[rec3 + 20], 18); }},
      {"sub-tree number 16", [&](Bytes& b) { be::put_u16(&b[rec2 + 6], 16); }},
      {"permutation entry 1024", [](Bytes& b) { be::put_u32(&b[25160 + 4 * 9], 1024); }},
      {"sub-tree section count 40", [](Bytes& b) { be::put_u16(&b[29256 + 2], 40); }},
      {"sub-tree section version 12", [](Bytes& b) { be::put_u16(&b[29256], 12); }},
      {"record cut short", [](Bytes& b) { b.resize(20000); }},
      {"version only", [](Bytes& b) { b.resize(2); }},
      {"empty file", [](Bytes& b) { b.clear(); }},
      {"sub-tree section cut short", [](Bytes& b) { b.resize(29256 + 100); }},
      {"seventeen compiled sub-trees",
       [](Bytes& b) {
         be::put_u16(&b[2], 17);
         for (int i = 0; i < 17; i++) {
           unsigned char* r = &b[4 + 444 * size_t(i)];
           be::put_u16(r, kFamily21);
           be::put_u16(r + 2, kCompiledTreeId);
           be::put_u16(r + 6, 0);
           r[8] = 0;
         }
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    alerts_ = 0;
    other_->tree.count = 0;
    KVfileProblem problem;
    EXPECT_EQ(readPatched(c.patch, &problem), kTreeReadDamaged);
    EXPECT_TRUE(problem);
    EXPECT_EQ(alerts_, 1);
    EXPECT_EQ(other_->tree.count, 0);
  }
}

TEST_F(TreeFileTest, FileEndingAfterItsRecordLeavesTheCompiledTreeWithoutSubTree)
{
  ASSERT_EQ(readPatched([](Bytes& b) { b.resize(kTreeRecordSize); }), kTreeReadOK);
  EXPECT_EQ(other_->tree.funcs[2].funcID, kCompiledTreeId);
  EXPECT_EQ(arb_subtreeOf(&other_->tree.funcs[2]), nullptr);
}

TEST_F(TreeFileTest, WithoutTablesFlagThePermutationIsKept)
{
  writeSample();
  std::vector<int32_t> perm(other_->tables.perm, other_->tables.perm + 1024);
  ASSERT_EQ(readBack(true, false), kTreeReadOK);
  EXPECT_TRUE(std::equal(perm.begin(), perm.end(), other_->tables.perm));
}

TEST_F(TreeFileTest, FailedWriteLeavesNoFileBehind)
{
  Bytes good = writeSample();
  // The target name is taken by a folder: nothing replaces it, and no
  // temporary file stays in the folder.
  std::filesystem::create_directory(folder_.root().path() + "/taken.kovr");
  std::filesystem::create_directory(folder_.root().path() + "/taken.kovr/inside");
  frefinfos taken = treeRef(folder_, "taken.kovr");
  EXPECT_NE(arb_WRITE(doc_, &taken, nullptr), 0);
  int entries = 0;
  for (const auto& e : std::filesystem::directory_iterator(folder_.root().path())) {
    (void)e;
    entries++;
  }
  EXPECT_EQ(entries, 2);
  EXPECT_EQ(readAll(file()), good);

  frefinfos nowhere;
  nowhere.parent = folder_.root().child("no-such-folder");
  kvsample::setPascal(nowhere.name, "x.kovr");
  EXPECT_NE(arb_WRITE(doc_, &nowhere, nullptr), 0);
}

TEST(TreeFileNames, MadeNamesGetTheKovrExtension)
{
  Str255 name;
  kvsample::setPascal(name, "Tree 1");
  arb_MakeTreeFileName(name);
  EXPECT_EQ(std::string(reinterpret_cast<char*>(name + 1), name[0]), "Tree 1.kovr");
  arb_MakeTreeFileName(name);
  EXPECT_EQ(std::string(reinterpret_cast<char*>(name + 1), name[0]), "Tree 1.kovr");
}

}  // namespace
