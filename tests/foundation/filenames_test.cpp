#include "foundation/filenames.h"

#include <cstring>
#include <gtest/gtest.h>
#include <string>

#include "foundation/iodata.h"

namespace {

std::string text(ConstStringPtr p)
{
  return std::string(p + 1, p + 1 + p[0]);
}

void setPascal(StringPtr p, const std::string& s)
{
  p[0] = uint8_t(s.size());
  std::memcpy(p + 1, s.data(), s.size());
}

HFSUniStr255 hfs(const std::string& s)
{
  HFSUniStr255 name;
  EXPECT_TRUE(UTF8_2_HFS(s, name));
  return name;
}

enum class Op
{
  Concat,
  Replace,
  Remove,
  RemoveNGet
};

TEST(ExtensionTest, PascalNameHelpers)
{
  struct Case
  {
    Op op;
    const char* name;
    OSType code;
    int16_t n;
    const char* expected;
    int16_t result;    // RemoveExtension / RemoveNGetExtension result
    OSType extension;  // RemoveNGetExtension output
  };
  const OSType none = fourcc("****");
  const Case cases[] = {
      {Op::Concat, "name", fourcc("tiff"), 4, "name.tiff", 0, 0},
      {Op::Concat, "name.tiff", fourcc("tiff"), 4, "name.tiff", 0, 0},
      {Op::Concat, "shot", fourcc("pct "), 3, "shot.pct", 0, 0},
      {Op::Concat, "shot.pct", fourcc("pct "), 3, "shot.pct", 0, 0},
      {Op::Concat, "name.jpg", fourcc("tiff"), 4, "name.jpg.tiff", 0, 0},
      {Op::Concat, "name", fourcc("tiff"), 0, "name", 0, 0},
      {Op::Replace, "shot.jpg", fourcc("tiff"), 4, "shot.tiff", 0, 0},
      {Op::Replace, "shot", fourcc("pict"), 4, "shot.pict", 0, 0},
      {Op::Replace, "shot.tiff", fourcc("pct "), 3, "shot.pct", 0, 0},
      {Op::Replace, "shot.ab", fourcc("tiff"), 4, "shot.tiff", 0, 0},
      {Op::Replace, "shot.a", fourcc("tiff"), 4, "shot.a.tiff", 0, 0},
      {Op::Replace, "shot.abcde", fourcc("tiff"), 4, "shot.abcde.tiff", 0, 0},
      {Op::Remove, "clip.mov", 0, 3, "clip", 4, 0},
      {Op::Remove, "clip.mov", 0, 4, "clip.mov", 0, 0},
      {Op::Remove, "clip.mpeg", 0, 0, "clip", 4, 0},
      {Op::Remove, "clip.c", 0, -1, "clip", 4, 0},
      {Op::Remove, "noext", 0, 0, "noext", 0, 0},
      {Op::RemoveNGet, "anim.gif", 0, 0, "anim", 4, fourcc("gif*")},
      {Op::RemoveNGet, "song.aiff", 0, 0, "song", 4, fourcc("aiff")},
      {Op::RemoveNGet, "a.b.cd", 0, 0, "a", 1, fourcc("b.cd")},  // longest first
      {Op::RemoveNGet, "ab.cd", 0, 0, "ab", 2, fourcc("cd**")},
      {Op::RemoveNGet, "plain", 0, 0, "plain", 0, none},
      {Op::RemoveNGet, "movie.mov", 0, 3, "movie", 5, fourcc("mov*")},
      {Op::RemoveNGet, "movie.mov", 0, 2, "movie.mov", 0, none},
  };
  for (const Case& c : cases) {
    Str255 name;
    setPascal(name, c.name);
    int16_t result = 0;
    OSType extension = 0;
    switch (c.op) {
      case Op::Concat:
        ConcatExtension(name, c.code, c.n);
        break;
      case Op::Replace:
        ReplaceExtension(name, c.code, c.n);
        break;
      case Op::Remove:
        result = RemoveExtension(name, c.n);
        break;
      case Op::RemoveNGet:
        result = RemoveNGetExtension(name, c.n, extension);
        break;
    }
    EXPECT_EQ(text(name), c.expected) << c.name << " n " << c.n;
    EXPECT_EQ(result, c.result) << c.name << " n " << c.n;
    if (c.op == Op::RemoveNGet) {
      EXPECT_EQ(extension, c.extension) << c.name;
    }
  }
}

TEST(ExtensionTest, AppendingNeverOverflowsTheString)
{
  Str255 name;
  setPascal(name, std::string(253, 'x'));
  ConcatExtension(name, fourcc("tiff"), 4);
  EXPECT_EQ(name[0], 253);
  ReplaceExtension(name, fourcc("tiff"), 4);
  EXPECT_EQ(name[0], 253);
}

TEST(ExtensionTest, HfsNameHelpers)
{
  struct Case
  {
    const char* name;
    const char* removed;  // after xRemoveExtension
    const char* concat;   // after xConcatExtension with "pct"
  };
  const Case cases[] = {
      {"longname.aiff", "longname", "longname.pct"},
      {"a.b", "a.b", "a.b.pct"},
      {"shot.jpg", "shot", "shot.pct"},
      {"shot.jpeg", "shot", "shot.pct"},
      {"ab.movie", "ab.movie", "ab.movie.pct"},  // 5-unit extensions only past 9 units
      {"verylongname.movie", "verylongname", "verylongname.movie.pct"},
      {"verylongname.sixsix", "verylongname", "verylongname.sixsix.pct"},
      {"tiny.movie", "tiny", "tiny.movie.pct"},
      {"a.movie", "a.movie", "a.movie.pct"},
      {"plain", "plain", "plain.pct"},
  };
  for (const Case& c : cases) {
    HFSUniStr255 name = hfs(c.name);
    xRemoveExtension(name);
    EXPECT_EQ(HFS_2_UTF8(name), c.removed) << c.name;
    name = hfs(c.name);
    xConcatExtension(name, "pct", 3);
    EXPECT_EQ(HFS_2_UTF8(name), c.concat) << c.name;
  }
}

TEST(NameConversionTest, Utf8RoundTripsAndCuts)
{
  struct Case
  {
    const char* pascal;  // bytes of the Pascal string
    uint16_t units;
    const char* back;  // UTF-8 after the round trip
  };
  const Case cases[] = {
      {"caf\xC3\xA9", 4, "caf\xC3\xA9"},
      {"\xF0\x9F\x8C\xB3 tree", 7, "\xF0\x9F\x8C\xB3 tree"},  // a surrogate pair
      {"caf\xE9", 4, "caf\xC3\xA9"},                          // single-byte name kept unit for unit
      {"\xC0\xAF", 2, "\xC3\x80\xC2\xAF"},                    // overlong form is not UTF-8
      {"", 0, ""},
  };
  for (const Case& c : cases) {
    Str255 p;
    setPascal(p, c.pascal);
    HFSUniStr255 name;
    PSTRING_2_HFS(p, name);
    EXPECT_EQ(name.length, c.units) << c.pascal;
    Str255 back;
    HFS_2_PSTRING(name, back);
    EXPECT_EQ(text(back), c.back) << c.pascal;
  }

  // 128 two-byte characters: 256 bytes do not fit a Pascal string; the cut
  // falls between characters.
  std::string accents;
  for (int i = 0; i < 128; ++i)
    accents += "\xC3\xA9";
  HFSUniStr255 name = hfs(accents);
  Str255 p;
  HFS_2_PSTRING(name, p);
  EXPECT_EQ(p[0], 254);
  char c[6];
  HFS_2_CSTRING(name, c, sizeof c);
  EXPECT_STREQ(c, "\xC3\xA9\xC3\xA9");

  HFSUniStr255 lone;
  lone.length = 2;
  lone.unicode[0] = 0xD800;
  lone.unicode[1] = 'a';
  EXPECT_EQ(HFS_2_UTF8(lone),
            "\xEF\xBF\xBD"
            "a");
  EXPECT_FALSE(UTF8_2_HFS(std::string(256, 'x'), name));
}

TEST(NameConversionTest, SameNameIsExactAndCaseSensitive)
{
  EXPECT_TRUE(HFS_SameName(hfs("Tree"), hfs("Tree")));
  EXPECT_FALSE(HFS_SameName(hfs("Tree"), hfs("tree")));
  EXPECT_FALSE(HFS_SameName(hfs("Tree"), hfs("Trees")));
}

TEST(MatchTest, RoutinesReadTheRequestBlock)
{
  const FileRef jpg{"/nowhere", "photo.jpg"};
  const FileRef tree{"/nowhere", "photo.kovr"};
  const FileInfo noType;
  FileInfo typed;
  typed.fileType = fourcc("TEXT");

  gIOdata.typeList[0] = fourcc("JPEG");
  gIOdata.typeList[1] = fourcc("TEXT");
  gIOdata.typeCount = 1;
  EXPECT_TRUE(matchtypeprocptr(jpg, noType));
  EXPECT_FALSE(matchtypeprocptr(tree, noType));
  EXPECT_FALSE(matchtypeprocptr(jpg, typed));  // a stored type wins over the name
  gIOdata.typeCount = 2;
  EXPECT_TRUE(matchtypeprocptr(jpg, typed));
  gIOdata.typeCount = 0;
  EXPECT_FALSE(matchtypeprocptr(jpg, noType));

  gIOdata.typeCount = 1;
  gIOdata.searchName = hfs("photo");
  gIOdata.stripExtension = 0;
  EXPECT_FALSE(matchnameprocptr(jpg, noType));
  EXPECT_FALSE(matchnametypeprocptr(jpg, noType));
  gIOdata.stripExtension = 1;
  EXPECT_TRUE(matchnametypeprocptr(jpg, noType));
  EXPECT_FALSE(matchnametypeprocptr(tree, noType));
  gIOdata.searchName = hfs("photo.jpg");
  EXPECT_TRUE(matchnameprocptr(jpg, noType));
  gIOdata.stripExtension = 0;
}

}  // namespace
