// UI layout files: writing a set and reading it back, damaged files, the
// layout tables and saving from a set.
#include "ui/uilayout.h"

#include <bit>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <unistd.h>

#include "foundation/bigendian.h"
#include "foundation/fileio.h"
#include "tests/ui/uiset_fixture.h"
#include "ui/uilayouttable.h"

namespace {

namespace fs = std::filesystem;

struct LayoutTest : testing::Test
{
  void SetUp() override
  {
    folder = fs::temp_directory_path() / ("uilayout_test_" + std::to_string(::getpid()));
    fs::create_directories(folder);
  }
  void TearDown() override { fs::remove_all(folder); }
  FileRef folderRef() const { return FileRef::fromPath(folder.string()); }
  std::string path(const std::string& name) const { return (folder / name).string(); }
  std::vector<unsigned char> bytesOf(const std::string& name) const
  {
    return *xReadBuffer(FileRef::fromPath(path(name)));
  }
  void writeBytes(const std::string& name, const std::vector<unsigned char>& bytes) const
  {
    std::ofstream(path(name), std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
  }
  fs::path folder;
};

// A set of every kind with fields away from their defaults.
void buildSample(uiset& set)
{
  set.CreateEmpty(15, 1234, nullptr);
  set.layersOn = 1;
  set.designWidth = 640;
  set.designHeight = 400;
  set.totalBox = Rect{-3, 4, 300, 500};
  set.stateWords[1] = 0x01020304;
  set.colors[kUILightColor] = normalcolor{255, 1, 2, 3};
  SetPText(set.name, "Sample \xC3\xA9");
  for (uint8_t kind = 0; kind <= kUILastKind; ++kind) {
    uitem* item =
        AddItem(set, kind, Rect{int16_t(kind * 20), int16_t(-kind), int16_t(kind * 20 + 15), 90},
                uint8_t(kind % 3));
    item->style = int8_t(kind % 14);
    item->altStyle = int8_t(-kind);
    item->anchor = uint8_t(kind % 10);
    item->transparency = kind & 1;
    item->columns = int8_t(2 - kind);
    item->resID = int16_t(-1000 - kind);
    item->color1 = normalcolor{255, kind, 2, 3};
    item->color2 = normalcolor{255, 4, kind, 6};
    SetPText(item->name, "item " + std::to_string(kind));
    if (::textLook* look = item->GetTinf())
      *look = ::textLook{int8_t(8 + kind), 2, 1, 2};
    if (uiNumberInfo* n = item->GetNinf()) {
      n->entries = int16_t(3 + kind);
      n->mode = 4;
      n->arrows = 1;
      n->min = -1.5f;
      n->max = 1e6f;
    }
  }
  set.Getuitem(kUITextButton)->SetOpcode(int32_t(fourcc("ok  ")), nullptr);
  set.Getuitem(kUIPictButton)->SetOpcode(-51, nullptr);
}

TEST_F(LayoutTest, WrittenSetsReadBackFieldByField)
{
  uiset out;
  buildSample(out);
  ASSERT_TRUE(WriteUISET(folderRef(), out, true));
  EXPECT_EQ(sFile_getType(FileRef::fromPath(path("UI_1234"))), kUILayoutType);
  const std::vector<unsigned char> bytes = bytesOf("UI_1234");
  ASSERT_EQ(bytes.size(), 140u + 15u * 120u);
  // The text button's opcode lies little-endian at record offset 32.
  const unsigned char* button = &bytes[140 + 120 * kUITextButton + 32];
  EXPECT_EQ(std::vector<int>(button, button + 4), (std::vector<int>{0x20, 0x20, 0x6B, 0x6F}));

  uiset in;
  std::string why;
  ASSERT_TRUE(in.Readuitems(folderRef(), 1234, true, &why)) << why;
  EXPECT_EQ(in.setID, 1234);
  EXPECT_EQ(in.count, 15);
  EXPECT_EQ(in.layersOn, 1);
  EXPECT_EQ(in.state, 0);
  EXPECT_EQ(in.designWidth, 640);
  EXPECT_EQ(in.designHeight, 400);
  EXPECT_EQ(in.totalBox, (Rect{-3, 4, 300, 500}));
  for (int i = 0; i < 4; ++i)
    EXPECT_EQ(in.stateWords[i], out.stateWords[i]);
  for (int i = 0; i < 5; ++i)
    EXPECT_EQ(in.colors[i], out.colors[i]);
  EXPECT_EQ(PText(in.name), "Sample \xC3\xA9");
  for (int16_t i = 0; i < 15; ++i) {
    SCOPED_TRACE(i);
    const uitem& a = *out.Getuitem(i);
    uitem& b = *in.Getuitem(i);
    EXPECT_EQ(b.layer, a.layer);
    EXPECT_EQ(b.kind, a.kind);
    EXPECT_EQ(b.style, a.style);
    EXPECT_EQ(b.anchor, a.anchor);
    EXPECT_EQ(b.variant, a.variant);
    EXPECT_EQ(b.transparency, a.transparency);
    EXPECT_EQ(b.columns, a.columns);
    EXPECT_EQ(b.resID, a.resID);
    EXPECT_EQ(b.rect, a.rect);
    EXPECT_EQ(PText(b.name), PText(a.name));
    EXPECT_EQ(b.visibility, kUIShown);
    EXPECT_EQ(b.GetOpcode(), out.Getuitem(i)->GetOpcode());
    if (b.kind != kUIBox) {  // a box of variant 0 gets altStyle 2
      EXPECT_EQ(b.altStyle, a.altStyle);
    }
    if (b.kind != kUINumber && b.kind != kUIXEditor) {
      EXPECT_EQ(b.color1, a.color1);
      EXPECT_EQ(b.color2, a.color2);
    }
    if (const uiNumberInfo* n = b.GetNinf()) {
      EXPECT_EQ(n->mode, 4);
      EXPECT_EQ(n->min, -1.5f);
      EXPECT_EQ(n->max, 1e6f);
    }
  }
  // The kind defaults after reading.
  EXPECT_EQ(in.Getuitem(kUINumber)->color1, (normalcolor{255, 0, 0, 40}));
  EXPECT_EQ(in.Getuitem(kUINumber)->color2, (normalcolor{255, 192, 192, 192}));
  EXPECT_EQ(in.GetuitemTinf(kUINumber)->size, 10);
  EXPECT_EQ(in.GetuitemTinf(kUINumber)->font, 1);
  EXPECT_EQ(in.Getuitem(kUIXEditor)->color2, (normalcolor{255, 0, 128, 64}));
  EXPECT_EQ(in.Getuitem(kUIBox)->altStyle, 2);
  EXPECT_EQ(in.GetuitemTinf(kUIText)->size, 9);
  EXPECT_EQ(in.GetuitemNinf(kUIPopMenu)->entries, 3 + kUIPopMenu);
}

std::vector<unsigned char> header(int16_t count)
{
  std::vector<unsigned char> bytes(140 + 120 * size_t(std::max<int16_t>(count, 0)));
  be::put_i16(&bytes[0], 300);
  be::put_i16(&bytes[2], count);
  be::put_i16(&bytes[8], 200);
  be::put_i16(&bytes[10], 100);
  return bytes;
}

TEST_F(LayoutTest, ACountOfZeroGivesASetWithoutItems)
{
  writeBytes("UI_300", header(0));
  uiset set;
  ASSERT_TRUE(set.Readuitems(folderRef(), 300, true));
  EXPECT_EQ(set.count, 0);
  EXPECT_EQ(set.Getuitem(0), nullptr);
  EXPECT_EQ(set.designWidth, 200);
  // The colours read opaque.
  EXPECT_EQ(set.colors[kUIBackground], (normalcolor{255, 0, 0, 0}));
  EXPECT_FALSE(set.Readuitems(folderRef(), 301, true));  // no such file
}

TEST_F(LayoutTest, DamagedFilesAreRefusedWithTheirReason)
{
  std::vector<unsigned char> good = header(2);
  good[140 + 1] = kUINumber;
  good[260 + 1] = kUIPopMenu;
  good[260 + 56] = 3;
  std::memcpy(&good[260 + 57], "pop", 3);
  struct Case
  {
    const char* why;
    void (*damage)(std::vector<unsigned char>&);
  };
  const Case cases[] = {
      {"header", [](std::vector<unsigned char>& b) { b.resize(139); }},
      {"item count -1", [](std::vector<unsigned char>& b) { be::put_i16(&b[2], -1); }},
      {"item count 1025", [](std::vector<unsigned char>& b) { be::put_i16(&b[2], 1025); }},
      {"item records", [](std::vector<unsigned char>& b) { b.resize(140 + 120 + 60); }},
      {"kind 15", [](std::vector<unsigned char>& b) { b[260 + 1] = 15; }},
      {"set name length 64", [](std::vector<unsigned char>& b) { b[76] = 64; }},
      {"item 1: name length 200", [](std::vector<unsigned char>& b) { b[260 + 56] = 200; }},
      {"negative design size", [](std::vector<unsigned char>& b) { be::put_i16(&b[10], -1); }},
      {"negative entries", [](std::vector<unsigned char>& b) { be::put_i16(&b[140 + 36], -2); }},
      {"not finite",
       [](std::vector<unsigned char>& b) { be::put_f32(&b[140 + 40], std::nanf("")); }},
      {"not finite", [](std::vector<unsigned char>& b) { be::put_f32(&b[140 + 44], INFINITY); }},
  };
  uiset set;
  writeBytes("UI_300", good);
  ASSERT_TRUE(set.Readuitems(folderRef(), 300, true));
  uitem* first = set.Getuitem(0);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.why);
    std::vector<unsigned char> bad = good;
    c.damage(bad);
    writeBytes("UI_300", bad);
    std::string why;
    EXPECT_FALSE(set.Readuitems(folderRef(), 300, true, &why));
    EXPECT_NE(why.find(c.why), std::string::npos) << why;
    EXPECT_EQ(set.count, 2);  // the set is untouched
    EXPECT_EQ(set.Getuitem(0), first);
  }
  // A pop-up menu's maximum holds mask bits: not finite is fine there.
  std::vector<unsigned char> mask = good;
  be::put_u32(&mask[260 + 44], 0xFFFFFFFF);
  writeBytes("UI_300", mask);
  ASSERT_TRUE(set.Readuitems(folderRef(), 300, true));
  EXPECT_EQ(std::bit_cast<uint32_t>(set.GetuitemNinf(1)->max), 0xFFFFFFFFu);
  EXPECT_EQ(PText(set.Getuitem(1)->name), "pop");
}

TEST_F(LayoutTest, ReadingIntoAFullSetMakesTheArrayForTheNewCount)
{
  writeBytes("UI_2", header(2));
  writeBytes("UI_9", header(9));
  uiset set;
  ASSERT_TRUE(set.Readuitems(folderRef(), 2, true));
  ASSERT_TRUE(set.Readuitems(folderRef(), 9, true));
  EXPECT_EQ(set.count, 9);
  EXPECT_EQ(set.capacity, 9);
  EXPECT_EQ(set.Getuitem(8)->kind, kUIBox);
  ASSERT_TRUE(set.Readuitems(folderRef(), 2, true));
  EXPECT_EQ(set.capacity, 2);
}

TEST_F(LayoutTest, WritersFailWholeAndCutNamesOnCharacters)
{
  uiset set;
  buildSample(set);
  std::string why;
  EXPECT_FALSE(WriteUISETdata(path("missing/UI_1"), set, &why));
  EXPECT_FALSE(why.empty());
  EXPECT_FALSE(fs::exists(path("missing")));

  // 62 bytes then a two-byte character: the name kept stops before it.
  Str255 longName;
  SetPText(longName, std::string(62, 'n') + "\xC3\xA9");
  UI_SetName63(set.name, longName);
  ASSERT_TRUE(WriteUISETdata(path("cut"), set));
  EXPECT_EQ(bytesOf("cut")[76], 62);
  // A length byte above 63 is written as 63.
  set.name[0] = 200;
  ASSERT_TRUE(WriteUISETdata(path("cut"), set));
  EXPECT_EQ(bytesOf("cut")[76], 63);
}

TEST_F(LayoutTest, SavingRaisesTheDesignSizeToTheItems)
{
  uiset set;
  set.CreateEmpty(4, 77, nullptr);
  set.designWidth = 10;
  set.designHeight = 500;
  AddItem(set, kUIText, Rect{10, 10, 100, 300});
  AddItem(set, kUIText, Rect{10, 10, 900, 900})->visibility = kUIHidden;
  ASSERT_TRUE(set.WriteToContent(folderRef()));
  EXPECT_EQ(set.totalBox, (Rect{10, 10, 100, 300}));
  EXPECT_EQ(set.designWidth, 302);
  EXPECT_EQ(set.designHeight, 500);
  EXPECT_TRUE(fs::exists(path("UI_77")));
}

TEST_F(LayoutTest, SavingToAChosenFile)
{
  kvui::startScripted();
  initAppGlobals(nullptr, 0, fourcc("Qjpr"));
  uiset set;
  set.CreateEmpty(1, 78, nullptr);
  SetPText(set.name, "Chosen");
  kvui::script::ChooserAnswer answer;
  answer.folder = folder.string();
  answer.name = "picked";
  kvui::script::chooserAnswer(answer);
  EXPECT_TRUE(set.WriteToFile());
  EXPECT_EQ(kvui::script::lastChooser().request.title, "Save UI file");
  EXPECT_EQ(kvui::script::lastChooser().request.saveName, "Chosen");
  EXPECT_TRUE(fs::exists(path("picked")));
  kvui::script::ChooserAnswer cancel;
  cancel.cancel = true;
  kvui::script::chooserAnswer(cancel);
  std::string why;
  EXPECT_FALSE(set.WriteToFile(&why));
  kvui::stop();
}

TEST_F(LayoutTest, TablesRemakeTheSameBytes)
{
  uiset sample;
  buildSample(sample);
  const std::vector<unsigned char> original = UI_LayoutBytes(sample);
  uiLayout read;
  std::string why;
  ASSERT_TRUE(UI_ParseLayout(original.data(), original.size(), &read, &why)) << why;
  // What the program reads (kind defaults applied) is what tables hold.
  uiset first;
  first.LoadLayout(read);
  const std::vector<unsigned char> asRead = UI_LayoutBytes(first);
  const std::string table = UI_LayoutToTable(read);
  uiLayout again;
  bool boxGiven = false;
  ASSERT_TRUE(UI_LayoutFromTable(table, &again, &boxGiven, &why)) << why;
  EXPECT_TRUE(boxGiven);
  uiset remade;
  remade.LoadLayout(again);
  EXPECT_EQ(UI_LayoutBytes(remade), asRead);

  // The fixture layout the build made from its table.
  const char* binary = std::getenv("KV_BINARY_DIR");
  const FileRef fixture =
      FileRef::fromPath(std::string(binary ? binary : KV_BINARY_DIR) + "/Resources/UI_9000");
  ASSERT_TRUE(UI_ReadLayoutFile(fixture, &read, &why)) << why;
  ASSERT_TRUE(UI_LayoutFromTable(UI_LayoutToTable(read), &again, &boxGiven, &why)) << why;
  remade.LoadLayout(again);
  EXPECT_EQ(UI_LayoutBytes(remade), *xReadBuffer(fixture));
  EXPECT_EQ(remade.count, 28);
}

TEST_F(LayoutTest, CreateReadsTheLayoutFromTheResourcesFolder)
{
  const char* binary = std::getenv("KV_BINARY_DIR");
  gAppInfos.resourcesFolder =
      FileRef::fromPath(std::string(binary ? binary : KV_BINARY_DIR) + "/Resources");
  uiset set;
  EXPECT_TRUE(set.Create(9000, nullptr));
  EXPECT_EQ(set.setID, 9000);
  EXPECT_EQ(set.count, 28);
  EXPECT_EQ(PText(set.name), "Item fixture");
  EXPECT_EQ(set.focused, -1);
  EXPECT_FALSE(set.Create(9999, nullptr));  // no such layout
  gAppInfos.resourcesFolder = FileRef{};
}

TEST_F(LayoutTest, TableErrorsNameTheirLine)
{
  const std::string head = std::string("id 5\n") + kUILayoutColumns + "\n";
  const std::string row =
      "0\t2\t0\t0\t0\t0\t0\t0\t128\t255,0,0,0\t255,1,1,1\t0\t0\t10\t10\t12\t1\t0\t1\t'ok  "
      "'\t0\t0\t0\t0\t0";
  struct Case
  {
    std::string text, why;
  };
  const Case cases[] = {
      {"id 5\nwidth -3\n", "line 2: bad key line"},
      {"colour 1,2,3\n", "line 1"},
      {head + row + "\tname\textra\n", "line 3: 27 columns"},
      {head + "0\t2\t0\t0\t0\t0\t0\t0\t128\t255,0,0\t" + row.substr(row.find("255,1")) + "\n",
       "column 10"},
      {head + "0\t15" + row.substr(3) + "\n", "kind 15"},
      {head + row + "\t" + std::string(64, 'x') + "\n", "column 26"},
      {head + "0\t11" + row.substr(3, row.rfind("\t0\t0") - 3) + "\tnan\t0\n", "column 24"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    uiLayout layout;
    std::string why;
    EXPECT_FALSE(UI_LayoutFromTable(c.text, &layout, nullptr, &why));
    EXPECT_NE(why.find(c.why), std::string::npos) << why;
  }
  uiLayout layout;
  std::string why;
  ASSERT_TRUE(UI_LayoutFromTable(head + row + "\t \\x09\\\\\n", &layout, nullptr, &why)) << why;
  EXPECT_EQ(PText(layout.items[0].name), " \t\\");  // escapes; a name may be empty too
  EXPECT_EQ(layout.items[0].word1, fourcc("ok  "));
  ASSERT_TRUE(UI_LayoutFromTable(head + row + "\n", &layout, nullptr, &why)) << why;
  EXPECT_EQ(layout.items[0].name[0], 0);
}

}  // namespace
