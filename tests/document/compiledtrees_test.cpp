// Compiled sub-trees: type codes, logical inputs and outputs, the table of
// embedded trees, and compiled-tree files.
#include "document/compiledtrees.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <string>
#include <vector>

#include "document/treefile.h"
#include "foundation/appshell.h"
#include "foundation/bigendian.h"
#include "tests/document/sample_tree.h"
#include "tests/platform/tempfolder.h"

namespace {

using Bytes = std::vector<unsigned char>;

std::string str(ConstStringPtr s)
{
  return std::string(reinterpret_cast<const char*>(s + 1), s[0]);
}

TEST(CompiledTreeTypes, CodesAndExtensions)
{
  struct Case
  {
    int16_t inputs, outputs;
    const char* code;  // "" for none
    const char* name;  // the name after extension
  };
  const Case cases[] = {
      {1, 5, "", "t"},          {2, 5, "st25", "t.cp25"}, {4, 5, "", "t"}, {3, 5, "st35", "t.cp35"},
      {1, 1, "st11", "t.cp11"}, {4, 4, "st44", "t.cp44"}, {0, 1, "", "t"}, {2, 6, "", "t"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.inputs << " x " << c.outputs);
    Str255 name;
    kvsample::setPascal(name, "t");
    OSType code = getTreeFTYPE(c.inputs, c.outputs, name);
    EXPECT_EQ(code, c.code[0] ? fourcc(reinterpret_cast<const char(&)[5]>(*c.code)) : 0u);
    EXPECT_EQ(str(name), c.name);
  }
  EXPECT_EQ(getTreeFTYPE(2, 5, nullptr), fourcc("st25"));
}

TEST(CompiledTreeTypes, FamilyOfEveryCode)
{
  struct Case
  {
    OSType code;
    int16_t family;
  };
  for (Case c : {Case{fourcc("st35"), 14}, Case{fourcc("st41"), 15}, Case{fourcc("st12"), 16},
                 Case{fourcc("st24"), 10}, Case{fourcc("st45"), 1}, Case{fourcc("qjKv"), 1}})
    EXPECT_EQ(getTreeRealTYPE(c.code), c.family);
  // Every code of the table goes to a family with the same inputs and outputs
  // (the five-output three-input cell has no family of its own).
  for (int16_t in = 1; in <= 4; in++)
    for (int16_t out = 1; out <= 4; out++) {
      int16_t family = getTreeRealTYPE(getTreeFTYPE(in, out, nullptr));
      EXPECT_EQ(smalltree_familyInputs(uint16_t(family)), in);
      EXPECT_EQ(smalltree_familyOutputs(uint16_t(family)), out);
    }
}

class CompiledTreeTest : public testing::Test
{
protected:
  void SetUp() override
  {
    world_ = kvsample::makeWorld();
    doc_ = &world_->doc;
    tree_ = std::make_unique<smalltree>();
    previousAlert_ = SetAlertSoundProc([](bool) { ++alerts_; });
    alerts_ = 0;
  }
  void TearDown() override
  {
    SetAlertSoundProc(previousAlert_);
    arb_Clear(doc_, true, true);
    gKovrelinWorld = nullptr;
  }

  inline static int alerts_ = 0;
  std::unique_ptr<KovrelinWorld> world_;
  sfuncSystem* doc_ = nullptr;
  std::unique_ptr<smalltree> tree_;
  TempFolder folder_;
  Bytes section_ = Bytes(kComponentSectionSize);
  AlertSoundProc previousAlert_ = nullptr;
};

TEST_F(CompiledTreeTest, LogicalInputsAndOutputs)
{
  smalltree* t = tree_.get();
  kvsample::addComponent(t, kFamily21, 12, 0, {}, {6, 8});
  kvsample::addComponent(t, kFamily21, 15, 0, {}, {6, 7});
  kvsample::addComponent(t, kFamily21, 44, 1, {0, 1}, {1, 1});
  int16_t in = 0, out = 0;
  arb_GetTreeLogicalInOuts(t, &in, &out);
  EXPECT_EQ(in, 3);
  EXPECT_EQ(out, 1);

  // Two inputs and a root group of a two-output then a four-output member.
  auto second = std::make_unique<smalltree>();
  kvsample::addComponent(second.get(), kFamily22, 0, 0, {}, {6, 7});
  kvsample::addComponent(second.get(), kFamily22, 1, 1, {0}, {1, 2});
  kvsample::addComponent(second.get(), kFamily24, 0, 1, {0}, {1, 2});
  arb_GetTreeLogicalInOuts(second.get(), &in, &out);
  EXPECT_EQ(in, 2);
  EXPECT_EQ(out, 5);

  // A one-input member reading a sub-tree inlet does not count.
  auto third = std::make_unique<smalltree>();
  kvsample::addComponent(third.get(), kFamily11, 0, 0, {}, {14});
  arb_GetTreeLogicalInOuts(third.get(), &in, nullptr);
  EXPECT_EQ(in, 0);
}

TEST_F(CompiledTreeTest, InletCodesConvertBothWaysOnLevelZeroOnly)
{
  smalltree* t = tree_.get();
  kvsample::addComponent(t, kFamily42, 0, 0, {}, {6, 7, 8, 9});
  kvsample::addComponent(t, kFamily21, 0, 0, {}, {10, 13});
  kvsample::addComponent(t, kFamily21, 44, 1, {0, 1}, {6, 1});
  convertCTinput(t);
  EXPECT_EQ(t->funcs[0].inlets[0].source, 14);
  EXPECT_EQ(t->funcs[0].inlets[3].source, 17);
  EXPECT_EQ(t->funcs[1].inlets[0].source, 10);
  EXPECT_EQ(t->funcs[2].inlets[0].source, 6);
  UnconvertCTinput(t);
  EXPECT_EQ(t->funcs[0].inlets[0].source, 6);
  EXPECT_EQ(t->funcs[0].inlets[3].source, 9);
  EXPECT_EQ(t->funcs[1].inlets[1].source, 13);
}

TEST_F(CompiledTreeTest, SaveThenLoadKeepsInletCodes)
{
  gfunc owner{};
  setFunc(&owner, kFamily42, 3, kBindDefaults);
  owner.A = 0.375;
  smalltree_newCT(doc_, &owner, tree_.get());
  EXPECT_EQ(tree_->typeCode, fourcc("st42"));
  EXPECT_EQ(str(tree_->name), "Untitled");

  Str255 name;
  kvsample::setPascal(name, "Sub");
  ASSERT_EQ(smalltree_save(tree_.get(), &owner, folder_.root(), name, section_.data()), 0);
  EXPECT_EQ(str(name), "Sub.cp42");
  FileRef file = folder_.root().child("Sub.cp42");
  EXPECT_EQ(std::filesystem::file_size(file.path()), kComponentSectionSize);
  EXPECT_EQ(smalltree_getversion(file), kTreeVersion);

  auto loaded = std::make_unique<smalltree>();
  ASSERT_EQ(smalltree_load(loaded.get(), file, 0, section_.data()), 1);
  ASSERT_EQ(loaded->count, 1);
  for (int j = 0; j < 4; j++)
    EXPECT_EQ(loaded->funcs[0].inlets[j].source, 14 + j);
  EXPECT_EQ(loaded->funcs[0].A, 0.375);
  EXPECT_EQ(loaded->funcs[0].funcID, 3);
  EXPECT_EQ(str(loaded->name), "Sub");
}

TEST_F(CompiledTreeTest, NewSubTreeIsItsOwnerAsOneComponent)
{
  doc_->animation.keyCount = 5;
  gfunc owner{};
  setFunc(&owner, kFamily22, 1, kBindDefaults);
  owner.A = -1.25;
  owner.B = 2.5;
  owner.C = 0.125;
  owner.keyframes[7] = KVparamTriple{1.0, 2.0, 3.0};
  owner.funcID = kCompiledTreeId;  // the member of a compiled-tree owner is id 0
  smalltree_newCT(doc_, &owner, tree_.get());

  const smalltree& t = *tree_;
  EXPECT_EQ(t.count, 1);
  EXPECT_EQ(t.rootLevel, 1);
  EXPECT_EQ(t.kind, 5);
  EXPECT_EQ(t.version, 16);
  EXPECT_EQ(t.selected, 0);
  EXPECT_EQ(t.selection1, 0);
  EXPECT_EQ(t.selection2, 0);
  EXPECT_EQ(t.typeCode, fourcc("st22"));
  const gfunc& g = t.funcs[0];
  EXPECT_EQ(g.family, kFamily22);
  EXPECT_EQ(g.funcID, 0);
  EXPECT_EQ(g.index, 0);
  EXPECT_EQ(g.level, 0);
  EXPECT_EQ(g.displayIndex, 0);
  EXPECT_EQ(g.A, -1.25);
  EXPECT_EQ(g.B, 2.5);
  EXPECT_EQ(g.C, 0.125);
  EXPECT_EQ(g.keyframes[7].A, 1.0);
  EXPECT_EQ(g.keyframes[7].B, 2.0);
  EXPECT_EQ(g.keyframes[7].C, 3.0);
  for (int j = 0; j < 4; j++) {
    EXPECT_EQ(g.inlets[j].source, 14 + j);
    EXPECT_EQ(g.sources[j], nullptr);
  }
}

TEST_F(CompiledTreeTest, ConvertSaveWritesInletsAndLeavesTheTreeAsItWas)
{
  smalltree* t = tree_.get();
  kvsample::addComponent(t, kFamily21, 12, 0, {}, {6, 7});
  kvsample::addComponent(t, kFamily11, 20, 1, {0}, {1});
  Str255 name;
  kvsample::setPascal(name, "Main copy");
  ASSERT_EQ(smalltree_convertsave(doc_, t, folder_.root(), name, section_.data()), 0);
  EXPECT_EQ(str(name), "Main copy.cp21");
  EXPECT_EQ(t->funcs[0].inlets[0].source, 6);
  EXPECT_EQ(t->funcs[0].inlets[1].source, 7);
  Bytes bytes(kComponentSectionSize);
  std::ifstream(folder_.root().child("Main copy.cp21").path(), std::ios::binary)
      .read(reinterpret_cast<char*>(bytes.data()), std::streamsize(bytes.size()));
  EXPECT_EQ(be::get_u16(&bytes[4 + 20]), 14);
  EXPECT_EQ(be::get_u16(&bytes[4 + 22]), 15);
  EXPECT_EQ(be::get_u16(&bytes[14212]), 1);  // keyframe count at least 1

  // A tree of one input and five outputs has no type: nothing is written.
  auto five = std::make_unique<smalltree>();
  kvsample::addComponent(five.get(), kFamily11, 0, 0, {}, {6});
  kvsample::addComponent(five.get(), kFamily25, 0, 1, {0}, {1});
  kvsample::setPascal(name, "none");
  EXPECT_NE(smalltree_convertsave(doc_, five.get(), folder_.root(), name, section_.data()), 0);
  EXPECT_EQ(alerts_, 1);
  EXPECT_FALSE(std::filesystem::exists(folder_.root().path() + "/none"));
}

TEST_F(CompiledTreeTest, LoadingChecksVersionAndTakesTheFileName)
{
  smalltree* t = tree_.get();
  kvsample::addComponent(t, kFamily21, 12, 0, {}, {6, 9});
  smalltree_formattofile(t, section_.data());
  struct Case
  {
    const char* file;
    int16_t version;
    int16_t result;
    const char* name;
    int16_t firstCode;
  };
  const Case cases[] = {
      {"v14.cp21", 14, 0, "", 0},
      {"v15.cp21", 15, 1, "v15", 14},
      {"v19.cp21", 19, 1, "v19", 14},
      {"v20.cp21", 20, 1, "v20", 6},
      {"A very long compiled tree name that goes on.cp21", 20, 1, "A very long compiled tree name",
       6},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.file);
    be::put_i16(section_.data(), c.version);
    FileRef file = folder_.write(c.file, std::string(section_.begin(), section_.end()));
    auto loaded = std::make_unique<smalltree>();
    Bytes work(kComponentSectionSize);
    ASSERT_EQ(smalltree_load(loaded.get(), file, 0, work.data()), c.result);
    if (c.result == 0)
      continue;
    EXPECT_EQ(str(loaded->name), c.name);
    EXPECT_EQ(loaded->funcs[0].inlets[0].source, c.firstCode);
  }
  FileRef shortFile = folder_.write("short.cp21", std::string(100, '\0'));
  Bytes work(kComponentSectionSize);
  EXPECT_EQ(smalltree_load(tree_.get(), shortFile, 0, work.data()), 0);
  EXPECT_EQ(smalltree_load(tree_.get(), folder_.root().child("missing"), 0, work.data()), 0);
}

TEST_F(CompiledTreeTest, TheTableNeverTakesASeventeenthTree)
{
  gfunc owners[kEmbeddedTrees + 1] = {};
  for (int i = 0; i < kEmbeddedTrees; i++) {
    ASSERT_NE(smalltree_Allocate(doc_, &owners[i]), nullptr);
    EXPECT_EQ(owners[i].auxIndex, i);
    EXPECT_EQ(owners[i].link, doc_->embedded[i]);
  }
  EXPECT_EQ(smalltree_Allocate(doc_, &owners[kEmbeddedTrees]), nullptr);
  EXPECT_EQ(owners[kEmbeddedTrees].link, nullptr);
}

}  // namespace
