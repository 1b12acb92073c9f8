#include "ui/popupmenus.h"

#include <gtest/gtest.h>
#include <string>

#include "../platform/tempfolder.h"
#include "foundation/iodata.h"
#include "imaging/ports.h"
#include "platform/resources.h"
#include "platform/ui.h"
#include "ui/porttext.h"

namespace {

using kvui::script::lastMenu;
using kvui::script::lastMenuRecord;
using kvui::script::menuChoice;

constexpr int16_t kList = 300, kColours = 301, kTwenty = 302;

class PopUpMenus : public ::testing::Test
{
protected:
  void SetUp() override
  {
    kvres::Store s;
    s.put({kResStringList, kList, "", kvres::makeStringList({"3", "one", "two", "three", "four"})});
    s.put({kResStringList, kColours, "", kvres::makeStringList({"Colour "})});
    std::vector<std::string> twenty;
    for (int i = 1; i <= 20; ++i)
      twenty.push_back("s" + std::to_string(i));
    s.put({kResStringList, kTwenty, "", kvres::makeStringList(twenty)});
    s.put({kResFontSize, 500, "", {0, 4, 0, 18}});
    s.put({fourcc("Mode"), 7, "Seven", {}});
    s.put({fourcc("Mode"), 9, "Nine", {}});
    std::string path = tmp.ref("app.rsrc").path();
    ASSERT_TRUE(kvres::writeStoreFile(path, s, nullptr));
    ASSERT_TRUE(kvres::openApplicationStore(path));
    kvui::startScripted();
    kvui::script::mouse({100, 200}, false);
    kvui::pump();
  }
  void TearDown() override
  {
    kvui::stop();
    kvres::closeAllStores();
  }
  TempFolder tmp;
};

std::vector<std::string> texts()
{
  std::vector<std::string> out;
  for (const kvui::MenuEntry& e : lastMenu())
    out.push_back(e.text);
  return out;
}

TEST_F(PopUpMenus, StringListItemsChecksAndDisabledEntries)
{
  menuChoice(2);
  EXPECT_EQ(DoPopUpDirectMenu(kList, -3, 0, 0b101, 0b010), 2);
  EXPECT_EQ(texts(), (std::vector<std::string>{"one", "two", "three"}));
  EXPECT_TRUE(lastMenu()[0].checked);
  EXPECT_FALSE(lastMenu()[1].checked);
  EXPECT_TRUE(lastMenu()[2].checked);
  EXPECT_TRUE(lastMenu()[0].enabled);
  EXPECT_FALSE(lastMenu()[1].enabled);
  EXPECT_EQ(lastMenuRecord().placement.underMouse, 1);
  EXPECT_EQ(lastMenuRecord().placement.fontSize, kPopUpMenuSize);

  // A positive count starts at the first string; a count past the list is
  // held to it; nothing chosen gives 0.
  EXPECT_EQ(DoPopUpDirectMenu(kList, 2, 0, 0, 0), 0);
  EXPECT_EQ(texts(), (std::vector<std::string>{"3", "one"}));
  DoPopUpDirectMenu(kList, 40, 0, 0, 0);
  EXPECT_EQ(lastMenu().size(), 5u);
  int32_t shown = lastMenuRecord().shown;
  EXPECT_EQ(DoPopUpDirectMenu(999, 3, 0, 0, 0), 0);  // no list: no menu
  EXPECT_EQ(lastMenuRecord().shown, shown);
}

TEST_F(PopUpMenus, SpecListHoldsAtMost32Items)
{
  std::vector<FileRef> refs;
  for (int i = 0; i < 20; ++i)
    refs.push_back(tmp.write("f" + std::to_string(i) + ".kovr"));
  menuChoice(25);
  EXPECT_EQ(DoPopUpDirectMenuSpecList(kTwenty, 20, 130, 1u << 20, 1u << 20, refs.data(), 20), 25);
  ASSERT_EQ(lastMenu().size(), 32u);
  EXPECT_EQ(lastMenu()[19].text, "s20");
  EXPECT_EQ(lastMenu()[20].text, "f0.kovr");
  EXPECT_EQ(lastMenu()[31].text, "f11.kovr");
  EXPECT_TRUE(lastMenu()[20].checked);  // bit 20 checks item 21
  EXPECT_TRUE(lastMenu()[20].enabled);  // references are never disabled
  EXPECT_EQ(lastMenuRecord().placement.underMouse, 130 & 127);
  EXPECT_EQ(lastMenuRecord().where, (kvui::Point{112, 204}));
}

TEST_F(PopUpMenus, ColourNameAndResourceMenus)
{
  normalcolor colours[3] = {{0, 255, 0, 0}, {0, 1, 2, 3}, {0, 0, 128, 255}};
  menuChoice(3);
  EXPECT_EQ(DoColorPopUpDirectMenu(kColours, 3, 2, colours), 3);
  EXPECT_EQ(texts(), (std::vector<std::string>{"Colour 1", "Colour 2", "Colour 3"}));
  EXPECT_TRUE(lastMenu()[1].coloured);
  EXPECT_EQ(int(lastMenu()[1].red) * 257, 257);
  EXPECT_EQ(int(lastMenu()[2].green) * 257, 128 * 257);
  EXPECT_EQ(lastMenu()[2].blue, 255);
  EXPECT_EQ(lastMenuRecord().where, (kvui::Point{98, 204}));

  const unsigned char names[2][64] = {
      "\x03"
      "abc",
      "\x02"
      "de"};
  menuChoice(1);
  EXPECT_EQ(DoPopUpDirectMenuNameList(1, 0, names, 2), 1);
  EXPECT_EQ(texts(), (std::vector<std::string>{"abc", "de"}));

  unsigned char chosen[256] = {};
  menuChoice(2);
  EXPECT_EQ(DoResPopMenu(Point{50, 60}, fourcc("Mode"), chosen), 9);
  EXPECT_EQ(std::string(reinterpret_cast<char*>(chosen + 1), chosen[0]), "Nine");
  EXPECT_EQ(lastMenuRecord().where, (kvui::Point{48, 64}));
  EXPECT_EQ(DoResPopMenu(Point{50, 60}, fourcc("Mode"), chosen), 0);
}

TEST_F(PopUpMenus, FavouriteFoldersAndFontSize)
{
  SetUpNavUserDatas(&gIOdata, 0, fourcc("KOVR"), fourcc("TEXT"));
  gIOdata.favourites[1] = tmp.folder("Pictures");
  gIOdata.favouriteCount = 2;
  menuChoice(2);
  EXPECT_EQ(PopUpFavoriteDir(Point{10, 10}), 2);
  EXPECT_EQ(texts(), (std::vector<std::string>{"Application directory", "Pictures"}));

  std::vector<uint8_t> pixels(16 * 16 * 4);
  CGrafPtr port = NewPixelPort(pixels.data(), 64, Rect{0, 0, 16, 16}, 32, fourcc("BGRA"));
  SetGWorld(port, nullptr);
  SetFontAndSize(500, 1, 9);
  EXPECT_EQ(GetPortTextStyle(port).font, 4);
  EXPECT_EQ(GetPortTextStyle(port).size, 18);
  SetFontAndSize(501, 1, 9);
  EXPECT_EQ(GetPortTextStyle(port).font, 1);
  EXPECT_EQ(GetPortTextStyle(port).size, 9);
  SetGWorld(nullptr, nullptr);
  ForgetPortTextStyle(port);
  DisposePixelPort(port);
}

}  // namespace
