// Item frames: the inner rectangles of both frame tables, the work colours,
// a few drawn pixels, and picture codes against the UI list images.
#include "ui/uiframes.h"

#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>

#include "foundation/colormath.h"
#include "foundation/handles.h"
#include "foundation/pstrings.h"
#include "imaging/pict.h"
#include "imaging/pictures.h"
#include "imaging/qzimages.h"
#include "platform/resources.h"
#include "tests/ui/canvas.h"
#include "tests/ui/uiset_fixture.h"
#include "ui/uipictures.h"

namespace {

// An Edoc drawing on a canvas (the canvas keeps its context).
struct CanvasDoc : Edoc
{
  explicit CanvasDoc(Canvas& canvas) { context = canvas.ctx; }
  ~CanvasDoc() override { context = nullptr; }
};

uiItemRecord record(uint8_t kind, int8_t altStyle = 0)
{
  uiItemRecord r;
  r.kind = kind;
  r.altStyle = altStyle;
  r.color1 = normalcolor{255, 200, 100, 40};
  r.color2 = normalcolor{255, 20, 60, 180};
  r.rect = Rect{10, 20, 50, 80};
  return r;
}

void colour(uiset& set)
{
  set.colors[kUIBackground] = normalcolor{255, 100, 100, 100};
  set.colors[kUIFrameColor] = normalcolor{255, 40, 40, 40};
  set.colors[kUILightColor] = normalcolor{255, 160, 160, 160};
  set.colors[kUIShadowColor] = normalcolor{255, 0, 0, 0};
  set.hiliteColor = normalcolor{255, 255, 255, 0};
}

TEST(FramesTest, BothInnerRectangleTables)
{
  const Rect r{10, 20, 50, 80};
  const Rect inset1{11, 21, 49, 79}, inset2{12, 22, 48, 78};
  struct Case
  {
    int8_t style;
    Rect drawn, plain;
  };
  // The two tables differ for styles 0, 2, 9, 11 and 13.
  const Case cases[] = {
      {0, r, inset2},
      {1, Rect{10, 20, 49, 79}, Rect{10, 20, 49, 79}},
      {2, Rect{13, 23, 48, 78}, inset2},
      {3, Rect{12, 22, 49, 79}, Rect{12, 22, 49, 79}},
      {4, inset2, inset2},
      {5, inset2, inset2},
      {6, Rect{11, 21, 48, 78}, Rect{11, 21, 48, 78}},
      {7, inset1, inset1},
      {8, inset2, inset2},
      {9, r, inset2},
      {10, inset1, inset1},
      {11, inset2, inset1},
      {12, inset2, inset2},
      {13, Rect{12, 22, 49, 79}, inset2},
      {14, inset2, inset2},
  };
  uiset set;
  colour(set);
  const uiItemRecord item = record(kUIBox);
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "style " << int(c.style));
    EXPECT_EQ(set.drauibounds(&item, r, c.style), c.drawn);
    EXPECT_EQ(set.getuibounds(&item, r, c.style), c.plain);
  }
}

TEST(FramesTest, WorkColours)
{
  const normalcolor bg{255, 100, 100, 100}, frame{255, 40, 40, 40}, light{255, 160, 160, 160},
      shadow{255, 0, 0, 0}, hilite{255, 255, 255, 0};
  const normalcolor c1{255, 200, 100, 40}, c2{255, 20, 60, 180};
  struct Case
  {
    const char* what;
    uint8_t kind;
    int8_t altStyle;
    uint8_t visibility, editing;
    normalcolor w1, w2, w3;
  };
  const Case cases[] = {
      {"plain", kUIBox, 0, 1, 0, frame, light, shadow},
      {"edit text", kUIEditText, 1, 1, 0, UI_MeanColor(bg, c1), light, shadow},
      {"means", kUITextButton, 4, 1, 0, UI_MeanColor(bg, c1), UI_MeanColor(bg, c2), shadow},
      {"own colours", kUITextButton, 5, 1, 0, c1, c2, shadow},
      {"soft light", kUITextButton, 6, 1, 0, frame, UI_MeanColor(bg, light), shadow},
      {"editor idle", kUIXEditor, 2, 0, 0, frame, frame, shadow},
      {"editor editing", kUIXEditor, 2, 1, 1, frame, c2, shadow},
      // Disabled: three quarters of the way to the frame colour.
      {"disabled", kUITextButton, 2, 0, 1, normalcolor{255, 80, 55, 40},
       normalcolor{255, 35, 45, 75}, normalcolor{255, 20, 20, 20}},
      {"editing number", kUINumber, 2, 1, 1, normalcolor{255, 0, 0, 127}, light, shadow},
      {"editing edit text", kUIEditText, 0, 1, 1, normalcolor{255, 0, 0, 127}, light, shadow},
      {"pressed style 3", kUITextButton, 3, 1, 1, normalcolor{255, 8, 8, 8}, light, shadow},
      {"pressed style 5", kUITextButton, 5, 1, 1, normalcolor{255, 168, 68, 8}, c2, shadow},
      {"pressed style 7", kUITextButton, 7, 1, 1, PColorLERP(&frame, &hilite, 0.25), light, shadow},
      {"hovered", kUITextButton, 5, 1, 2, c1, c2, shadow},
  };
  uiset set;
  colour(set);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    uiItemRecord item = record(c.kind, c.altStyle);
    item.visibility = c.visibility;
    item.editing = c.editing;
    set.getmaincolors(&item, 0);
    EXPECT_EQ(set.work.frame, c.w1);
    EXPECT_EQ(set.work.light, c.w2);
    EXPECT_EQ(set.work.shadow, c.w3);
  }
  // Lowered by 32, not below 0.
  uiItemRecord dark = record(kUITextButton, 5);
  dark.color1 = normalcolor{255, 10, 40, 32};
  dark.editing = 1;
  set.getmaincolors(&dark, 0);
  EXPECT_EQ(set.work.frame, (normalcolor{255, 0, 8, 0}));
}

// Red, green, blue of a canvas pixel, premultiplied alpha undone.
std::vector<int> rgb(const Canvas& c, int x, int y)
{
  const int a = c.Alpha(x, y);
  if (a == 0)
    return {0, 0, 0, 0};
  return {c.Red(x, y) * 255 / a, c.Green(x, y) * 255 / a, c.Blue(x, y) * 255 / a, a};
}

TEST(FramesTest, DrawnFramesFillWithTheWorkColour)
{
  Canvas canvas(120, 80);
  CanvasDoc doc(canvas);
  uiset set;
  colour(set);
  set.owner = &doc;
  const Rect r{10, 20, 50, 80};
  uiItemRecord item = record(kUITextButton, 5);  // work 1 = colour 1

  set.drauibounds(&item, r, 0);
  EXPECT_EQ(canvas.InkBox().x1, -1);  // style 0 draws nothing

  set.drauibounds(&item, r, 1);  // an outline in work 1
  EXPECT_EQ(rgb(canvas, 20, 10), (std::vector<int>{200, 100, 40, 255}));
  EXPECT_EQ(canvas.Alpha(40, 30), 0);

  set.drauibounds(&item, r, 7);
  EXPECT_EQ(rgb(canvas, 40, 30), (std::vector<int>{200, 100, 40, 255}));
  EXPECT_EQ(canvas.Alpha(81, 30), 0);

  // The gradient runs from colour 1 at the top to work 1 at the bottom.
  item.altStyle = 0;  // work 1 = the frame colour
  set.drauibounds(&item, r, 9);
  EXPECT_EQ(rgb(canvas, 40, 10), (std::vector<int>{200, 100, 40, 255}));
  EXPECT_EQ(rgb(canvas, 40, 49), (std::vector<int>{40, 40, 40, 255}));

  // 13: embossed, then the inside filled in work 1.
  set.drauibounds(&item, r, 13);
  EXPECT_EQ(rgb(canvas, 50, 30), (std::vector<int>{40, 40, 40, 255}));
}

// Pixels of an image as straight alpha, red, green, blue.
kvimg::Pixels pixelsOf(CGImageRef image)
{
  kvimg::Pixels p;
  EXPECT_TRUE(QZ_ImageCopyPixels(image, &p));
  return p;
}

struct PictureTest : testing::Test
{
  void SetUp() override
  {
    const char* binary = std::getenv("KV_BINARY_DIR");
    resources = FileRef::fromPath(std::string(binary ? binary : KV_BINARY_DIR) + "/Resources");
    gAppInfos.resourcesFolder = resources;
    lists[1] = load("rlist064");
    lists[15] = load("rlist960");
    ASSERT_NE(lists[1], nullptr);
    ASSERT_NE(lists[15], nullptr);
  }
  void TearDown() override
  {
    for (CGImageRef image : lists)
      if (image)
        QZ_ImageRelease(image);
    gAppInfos.resourcesFolder = FileRef{};
  }
  CGImageRef load(const char* name)
  {
    frefinfos record;
    record.parent = resources;
    SetPString(record.name, name);
    return QZ_lookforImageFile(record, false);
  }
  // Expects the image to equal the w x h piece of `list` at (x, y).
  void expectCell(CGImageRef image, CGImageRef list, int x, int y, int w, int h)
  {
    ASSERT_NE(image, nullptr);
    kvimg::Pixels cell = pixelsOf(image), all = pixelsOf(list);
    ASSERT_EQ(cell.width, w);
    ASSERT_EQ(cell.height, h);
    for (int row = 0; row < h; ++row)
      for (int col = 0; col < w; ++col)
        for (int k = 0; k < 4; ++k)
          ASSERT_EQ(cell.argb[size_t((row * w + col) * 4 + k)],
                    all.argb[size_t(((y + row) * all.width + x + col) * 4 + k)])
              << "at " << col << ", " << row;
  }
  FileRef resources;
  CGImageRef lists[16] = {};
};

TEST_F(PictureTest, CodesPickListImageCells)
{
  struct Case
  {
    int32_t code, image;
    Point at;
  };
  const Case cases[] = {
      {0, 0, Point{0, 0}},       {-70, 1, Point{0, 192}},      {-2000, 15, Point{64, 0}},
      {-64, 1, Point{0, 0}},     {-1023, 15, Point{224, 224}}, {-9, 0, Point{32, 32}},
      {-32768, 15, Point{0, 0}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.code);
    int32_t image = -1;
    Point at;
    ASSERT_TRUE(UI_PictCodeCell(c.code, &image, &at));
    EXPECT_EQ(image, c.image);
    EXPECT_EQ(at, c.at);
  }
  int32_t image;
  Point at;
  EXPECT_FALSE(UI_PictCodeCell(5, &image, &at));

  CGImageRef cell = UI_PictCodeImage(lists, -70, 100, 100);
  expectCell(cell, lists[1], 192, 0, 32, 32);
  QZ_ImageRelease(cell);
  cell = UI_PictCodeImage(lists, -2000, 100, 100);
  expectCell(cell, lists[15], 0, 64, 32, 32);
  QZ_ImageRelease(cell);
  cell = UI_PictCodeImage(lists, -70, 20, 10);  // cut to the target
  expectCell(cell, lists[1], 192, 0, 20, 10);
  QZ_ImageRelease(cell);
  EXPECT_EQ(UI_PictCodeImage(lists, -5, 32, 32), nullptr);    // list image 0 missing here
  EXPECT_EQ(UI_PictCodeImage(lists, 4321, 32, 32), nullptr);  // no "rim4321"
}

TEST_F(PictureTest, DrawingModesPlaceTheCell)
{
  Canvas canvas(120, 80);
  CanvasDoc doc(canvas);
  doc.uiImages = lists;
  kvimg::Pixels cell = pixelsOf(lists[1]);
  auto cellPixel = [&](int x, int y) {
    const uint8_t* p = &cell.argb[size_t((y * cell.width + 192 + x) * 4)];
    return std::vector<int>{p[1], p[2], p[3], p[0]};
  };
  auto near = [](std::vector<int> a, std::vector<int> b) {
    for (size_t i = 0; i < a.size(); ++i)
      if (std::abs(a[i] - b[i]) > 2)
        return false;
    return true;
  };

  EDraw_PictItem(&doc, Rect{10, 10, 42, 42}, -70, nullptr, 0);
  for (int y = 0; y < 32; y += 5)
    for (int x = 0; x < 32; x += 5)
      ASSERT_TRUE(near(rgb(canvas, 10 + x, 10 + y), cellPixel(x, y))) << x << ", " << y;

  // Mode 1 centres by half the spare room; the rest of the rectangle stays.
  EDraw_PictItem(&doc, Rect{10, 60, 60, 110}, -70, nullptr, 1);
  EXPECT_TRUE(near(rgb(canvas, 69 + 3, 19 + 4), cellPixel(3, 4)));
  EXPECT_EQ(canvas.Alpha(62, 12), 0);

  // A missing picture draws nothing.
  Canvas empty(40, 40);
  CanvasDoc none(empty);
  EDraw_PictItem(&none, Rect{0, 0, 40, 40}, 4321, nullptr, 0);
  EXPECT_EQ(empty.InkBox().x1, -1);
}

TEST(UIImageTest, PictureResourcesLoadInMemoryWithoutWritingFiles)
{
  namespace fs = std::filesystem;
  const fs::path folder = fs::temp_directory_path() / ("uiimage_" + std::to_string(::getpid()));
  fs::create_directories(folder);
  gAppInfos.resourcesFolder = FileRef::fromPath(folder.string());

  // A 4 x 3 picture: red, with a blue last column; once as a PICT document,
  // once in the program's own format with a half-transparent pixel.
  std::vector<uint8_t> argb(4 * 3 * 4);
  for (int i = 0; i < 12; ++i) {
    const bool blue = i % 4 == 3;
    argb[size_t(i) * 4] = 255;
    argb[size_t(i) * 4 + 1] = blue ? 0 : 255;
    argb[size_t(i) * 4 + 3] = blue ? 255 : 0;
  }
  std::vector<uint8_t> pict;
  ASSERT_TRUE(kvpict::write(kvimg::Rows{argb.data(), 16, 4, 3, 32, false}, &pict));
  kvimg::Pixels own{4, 3, argb};
  own.argb[0] = 128;
  PicHandle ownPict = KVpict_FromPixels(own);
  ASSERT_NE(ownPict, nullptr);
  const std::vector<uint8_t> ownBytes(*ownPict, *ownPict + GetHandleSize(ownPict));
  DisposeHandle(ownPict);
  const int16_t store = kvres::openStore((folder / "pictures.rsrc").string(), true, true);
  ASSERT_GT(store, 0);
  ASSERT_EQ(kvres::putResource(store, kvres::Resource{kResPicture, 4321, "", pict}), 0);
  ASSERT_EQ(kvres::putResource(store, kvres::Resource{kResPicture, 4323, "", ownBytes}), 0);

  for (int16_t id : {4321, 4323}) {
    SCOPED_TRACE(id);
    CGImageRef image = QZ_LoadUIImage(id);
    ASSERT_NE(image, nullptr);
    kvimg::Pixels p = pixelsOf(image);
    QZ_ImageRelease(image);
    ASSERT_EQ(p.width, 4);
    ASSERT_EQ(p.height, 3);
    EXPECT_EQ(int(p.argb[0]), id == 4323 ? 128 : 255);
    EXPECT_EQ(std::vector<int>(p.argb.begin() + 12, p.argb.begin() + 16),
              (std::vector<int>{255, 0, 0, 255}));
  }
  // The store named directly, and nothing written beside the store.
  CGImageRef direct = QZ_lookforPICTres(store, 4321);
  EXPECT_NE(direct, nullptr);
  QZ_ImageRelease(direct);
  EXPECT_EQ(QZ_lookforPICTres(store, 4322), nullptr);
  EXPECT_EQ(QZ_LoadUIImage(4322), nullptr);
  kvres::closeAllStores();
  int files = 0;
  for (const auto& entry : fs::directory_iterator(folder))
    files += entry.path().filename() != "pictures.rsrc";
  EXPECT_EQ(files, 0);
  gAppInfos.resourcesFolder = FileRef{};
  fs::remove_all(folder);
}

// A 2 x 2 picture: red, green / blue, white.
kvimg::Pixels QuadPixels()
{
  return kvimg::Pixels{
      2, 2,
      std::vector<uint8_t>{255, 255, 0, 0, 255, 0, 255, 0, 255, 0, 0, 255, 255, 255, 255, 255}};
}

TEST(PictureData, PicturesDrawFittedIntoContextsAndPorts)
{
  Canvas canvas(8, 8);
  PicHandle pict = KVpict_FromPixels(QuadPixels());
  ASSERT_NE(pict, nullptr);
  DrawPictToContext(canvas.ctx, Rect{0, 0, 8, 8}, pict);
  EXPECT_EQ(canvas.At(1, 1), 0xFFFF0000u);
  EXPECT_EQ(canvas.At(6, 6), 0xFFFFFFFFu);
  DisposeHandle(pict);
  Handle junk = NewHandleClear(40);
  DrawPictToContext(canvas.ctx, Rect{0, 0, 8, 8}, junk);  // no picture: nothing drawn
  EXPECT_EQ(canvas.At(6, 1), 0xFF00FF00u);
  DisposeHandle(junk);

  namespace fs = std::filesystem;
  const fs::path folder = fs::temp_directory_path() / ("uipict_" + std::to_string(::getpid()));
  fs::create_directories(folder);
  const kvimg::Pixels quad = QuadPixels();
  ASSERT_TRUE(kvimg::encodeFile((folder / "rim777.png").string(), kvimg::Format::Png,
                                quad.argb.data(), 8, 2, 2, false));
  gAppInfos.resourcesFolder = FileRef::fromPath(folder.string());
  Canvas port(8, 8);
  DrawUIPict(Rect{4, 0, 8, 4}, 777);  // the current port: the canvas
  DrawUIPict(Rect{0, 4, 4, 8}, 778);  // no such picture
  QZ_CloseContext(port.ctx, port.port);
  port.ctx = QZ_OpenContext(port.port);
  EXPECT_EQ(port.At(0, 4) & 0xFFFFFF, 0xFF0000u);
  EXPECT_EQ(port.At(3, 7) & 0xFFFFFF, 0xFFFFFFu);
  EXPECT_EQ(port.At(6, 1), 0u);
  gAppInfos.resourcesFolder = FileRef{};
  fs::remove_all(folder);
}

}  // namespace
