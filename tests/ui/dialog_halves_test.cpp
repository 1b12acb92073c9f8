#include <cstring>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

#include "../platform/tempfolder.h"
#include "document/envelopes.h"
#include "foundation/appshell.h"
#include "foundation/doubletables.h"
#include "imaging/offworld.h"
#include "platform/ui.h"
#include "ui/filedialogs.h"
#include "ui/imagedialogs.h"
#include "ui/palettedialogs.h"
#include "ui/tabledialogs.h"

namespace {

using kvui::script::chooserAnswer;
using kvui::script::lastChooser;

kvui::script::ChooserAnswer openAnswer(const FileRef& file)
{
  kvui::script::ChooserAnswer a;
  a.paths = {file.path()};
  return a;
}
kvui::script::ChooserAnswer saveAnswer(const FileRef& folder, const std::string& name = "")
{
  kvui::script::ChooserAnswer a;
  a.folder = folder.path();
  a.name = name;
  return a;
}
kvui::script::ChooserAnswer cancelAnswer()
{
  kvui::script::ChooserAnswer a;
  a.cancel = true;
  return a;
}
std::string text(ConstStringPtr p)
{
  return std::string(p + 1, p + 1 + p[0]);
}
void setName(frefinfos& record, const std::string& name)
{
  record.name[0] = uint8_t(name.size());
  std::memcpy(record.name + 1, name.data(), name.size());
}

class DialogHalves : public ::testing::Test
{
protected:
  void SetUp() override
  {
    kvui::startScripted();
    SetUpNavUserDatas(&gIOdata, 0, fourcc("KOVR"), fourcc("TEXT"));
    gAppInfos.creator = fourcc("KOVR");
  }
  void TearDown() override { kvui::stop(); }
  TempFolder tmp;
};

TEST_F(DialogHalves, TablesAreReadAndWrittenThroughTheDialogs)
{
  // 1000 bytes of doubles: a maximum of 512 reads 125 of them.
  FileRef table = tmp.write("table.wave", std::string(1000, '\0'));
  std::vector<double> values(512, 7.0);
  frefinfos record;
  chooserAnswer(openAnswer(table));
  EXPECT_EQ(SFread_table(values.data(), 512, &record, fourcc("wave")), 125);
  EXPECT_EQ(lastChooser().request.title, "Open Wave Table");
  EXPECT_EQ(lastChooser().request.typeNames, std::vector<std::string>{"wave"});
  EXPECT_EQ(text(record.name), "table.wave");
  EXPECT_EQ(record.parent, tmp.root());
  chooserAnswer(cancelAnswer());
  EXPECT_EQ(SFread_table(values.data(), 512, &record, fourcc("wave")), 0);

  struct Case
  {
    const char type[5];
    OSType extension;
    const char* prompt;
  } cases[] = {
      {"Qjtb", fourcc("sp.L"), "Save spectrum datas"},
      {"wave", 0, "Save Wave Table"},
      {"fenv", 0, "Save Formant envelope"},
      {"Qjtb", 0, "Save datas"},
  };
  const double one[2] = {1.0, -2.5};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.prompt);
    gIOdata.prompt[0] = 0;
    frefinfos out;
    setName(out, "data");
    chooserAnswer(saveAnswer(tmp.root()));
    ASSERT_EQ(SFwrite_table(one, 2, &out, fourcc(c.type), fourcc("QjMs"), c.extension), 1);
    EXPECT_EQ(lastChooser().request.title, c.prompt);
    EXPECT_EQ(out.type, fourcc(c.type));
  }
  EXPECT_EQ(lastChooser().request.saveName, "data");
  std::string bytes = TempFolder::read(tmp.ref("data"));
  ASSERT_EQ(bytes.size(), 16u);
  EXPECT_EQ(uint8_t(bytes[0]), 0x3F);
  EXPECT_TRUE(kvfs::exists(tmp.ref("data.sp.L")));

  // The caller's prompt stays for other tables; a cancel writes nothing; a
  // file that cannot be created gives 0.
  frefinfos out;
  setName(out, "kept");
  std::strcpy(reinterpret_cast<char*>(gIOdata.prompt),
              "\x07"
              "Mine...");
  chooserAnswer(cancelAnswer());
  EXPECT_EQ(SFwrite_table(one, 2, &out, fourcc("Qjtb"), 0, 0), 0);
  EXPECT_EQ(lastChooser().request.title, "Mine...");
  EXPECT_FALSE(kvfs::exists(tmp.ref("kept")));
  chooserAnswer(saveAnswer(tmp.ref("no/such/folder")));
  EXPECT_EQ(SFwrite_table(one, 2, &out, fourcc("Qjtb"), 0, 0), 0);
}

TEST_F(DialogHalves, PaletteDialogsPromptsTypesAndNames)
{
  cpalette palette;
  palette.count = 3;
  palette.colors[1] = {0, 10, 20, 30};
  FileRef saved;
  chooserAnswer(saveAnswer(tmp.root()));
  ASSERT_EQ(sf_write_cpalette(&palette, &saved, true), 1);
  EXPECT_EQ(lastChooser().request.title, "Save Gradient as ...");
  EXPECT_EQ(lastChooser().request.saveName, "Gradients");
  EXPECT_EQ(lastChooser().request.typeNames, std::vector<std::string>{"ecpa"});
  EXPECT_EQ(saved, tmp.ref("Gradients"));

  cpalette back;
  FileRef chosen;
  chooserAnswer(openAnswer(saved));
  ASSERT_TRUE(sf_read_cpalette(&back, &chosen, true));
  EXPECT_EQ(lastChooser().request.title, "Open Gradient ...");
  EXPECT_EQ(chosen, saved);
  EXPECT_EQ(back.count, 3);
  EXPECT_EQ(back.colors[1], palette.colors[1]);
  int32_t runs = lastChooser().runs;
  EXPECT_TRUE(sf_read_cpalette(&back, &saved, false));  // no dialog
  EXPECT_EQ(lastChooser().runs, runs);
  chooserAnswer(cancelAnswer());
  EXPECT_FALSE(sf_read_cpalette(&back, &chosen, true));

  auto library = std::make_unique<cpalettelib>();
  library->palettes[0] = palette;
  chooserAnswer(saveAnswer(tmp.root()));
  ASSERT_EQ(sf_write_cpalettelib(library.get()), 1);
  EXPECT_EQ(lastChooser().request.title, "Save palette lib as ...");
  EXPECT_EQ(lastChooser().request.saveName, "Palettes");
  EXPECT_EQ(lastChooser().request.typeNames, std::vector<std::string>{"ecpl"});
  auto libraryBack = std::make_unique<cpalettelib>();
  chooserAnswer(openAnswer(tmp.ref("Palettes")));
  ASSERT_TRUE(sf_read_cpalettelib(libraryBack.get(), &chosen));
  EXPECT_EQ(lastChooser().request.title, "Open palette lib...");
  EXPECT_EQ(libraryBack->palettes[0].count, 3);
  chooserAnswer(cancelAnswer());
  EXPECT_EQ(sf_write_cpalettelib(library.get()), 0);
}

TEST_F(DialogHalves, EnvelopesSaveAndLoadThroughTheDialogs)
{
  std::vector<double> a(kEnvelopeLength), b(kEnvelopeLength, 0.0);
  for (int i = 0; i < kEnvelopeLength; ++i)
    a[size_t(i)] = i / 511.0;
  double* tables[4] = {a.data(), b.data(), nullptr, nullptr};
  chooserAnswer(saveAnswer(tmp.root(), "ramp.enve"));
  ASSERT_EQ(write_Envelope(kEnvelopeLength, tables, 0), 1);
  EXPECT_EQ(lastChooser().request.title, "Save Envelope");
  EXPECT_EQ(TempFolder::read(tmp.ref("ramp.enve")).size(), size_t(kEnvelopeLength) * 8);

  FileRef chosen;
  chooserAnswer(openAnswer(tmp.ref("ramp.enve")));
  ASSERT_EQ(read_Envelope(kEnvelopeLength, tables, 1, &chosen), 1);
  EXPECT_EQ(lastChooser().request.title, "Open Envelope");
  EXPECT_EQ(lastChooser().request.typeNames, (std::vector<std::string>{"Qjtb", "wave", "fenv"}));
  EXPECT_EQ(chosen, tmp.ref("ramp.enve"));
  EXPECT_DOUBLE_EQ(b[511], 1.0);
  chooserAnswer(cancelAnswer());
  EXPECT_EQ(read_Envelope(kEnvelopeLength, tables, 1, &chosen), 0);
  EXPECT_EQ(write_Envelope(kEnvelopeLength, tables, 2), 0);  // no table there
}

TEST_F(DialogHalves, PicturesSaveAndLoadThroughTheDialogs)
{
  const Rect r{0, 0, 8, 12};
  Offworld world = nullptr;
  ASSERT_EQ(CreateOffworld(PackRectTopLeft(r), PackRectBottomRight(r), 32, &world), noErr);
  frefinfos record;
  record.parent = tmp.root();
  record.type = fourcc("PNGf");
  setName(record, "pic.tif");
  chooserAnswer(saveAnswer(tmp.root()));
  ASSERT_EQ(QTSave_Image(&record, world, 0, fourcc("KOVR")), 1);
  EXPECT_EQ(lastChooser().request.saveName, "pic.png");
  EXPECT_TRUE(kvfs::exists(tmp.ref("pic.png")));
  KillOffworld(&world);

  frefinfos opened;
  chooserAnswer(openAnswer(tmp.ref("pic.png")));
  ASSERT_EQ(QTLoad_Image(&opened, &world, 32), 1);
  EXPECT_EQ(lastChooser().request.title, "Open Image...");
  EXPECT_EQ(lastChooser().request.typeNames.size(), 10u);
  ASSERT_NE(world, nullptr);
  EXPECT_EQ(world->pixels.bounds.right, 12);
  chooserAnswer(openAnswer(tmp.ref("pic.png")));
  EXPECT_EQ(QTLoad_ImageInto(&opened, world, Rect{0, 0, 4, 4}), 1);
  KillOffworld(&world);
  chooserAnswer(cancelAnswer());
  EXPECT_EQ(QTLoad_Image(&opened, &world, 32), 0);
  EXPECT_EQ(world, nullptr);

  chooserAnswer(openAnswer(tmp.ref("pic.png")));
  CGImageRef image = Load_CGImage(&opened, GenericPreviewHookProc);
  EXPECT_EQ(lastChooser().request.title, "Open Image ");
  ASSERT_NE(image, nullptr);
  EXPECT_EQ(QZ_ImageGetWidth(image), 12);
  QZ_ImageRelease(image);
  chooserAnswer(cancelAnswer());
  EXPECT_EQ(CG_FILE_GET(&opened, nullptr), 0);
}

}  // namespace
