// Renders every built member of family f21 at its defaults into one picture:
// a grid of labelled thumbnails (id on the first label line, display name on
// the second), each over the view -pi..pi on both axes with x and y fed
// straight in. Written as binary PPM (P6).
//
//   f21_contact_sheet SHEET.ppm [THUMB]        thumbnails of THUMB pixels (default 144)
//   f21_contact_sheet --values ID A B C N      one member with A, B, C (messages 7
//                                              and 8 sent after they are set) over
//                                              an N x N grid of -pi..pi; prints
//                                              "x y value" lines with 17 digits
//
// Colours: a value v >= 0 is grey at 32 v (8 is white), a negative value blue
// at -32 v, the no-value marker red, NaN magenta.
#include <array>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "engine/catalog.h"
#include "tests/components/member_harness.h"

namespace {

struct Rgb
{
  unsigned char r, g, b;
};

class Image
{
public:
  Image(int w, int h) : w_(w), h_(h), pixels_(size_t(w) * size_t(h), Rgb{24, 24, 24}) {}
  void set(int x, int y, Rgb c)
  {
    if (x >= 0 && y >= 0 && x < w_ && y < h_)
      pixels_[size_t(y) * size_t(w_) + size_t(x)] = c;
  }
  bool writePPM(const char* path) const
  {
    FILE* f = std::fopen(path, "wb");
    if (f == nullptr)
      return false;
    std::fprintf(f, "P6\n%d %d\n255\n", w_, h_);
    const size_t written = std::fwrite(pixels_.data(), sizeof(Rgb), pixels_.size(), f);
    return std::fclose(f) == 0 && written == pixels_.size();
  }

private:
  int w_, h_;
  std::vector<Rgb> pixels_;
};

// ---- A 5x7 font for the labels (upper case, digits, the signs of names) ----

struct Glyph
{
  char c;
  std::array<unsigned char, 7> rows;  // bit 4 is the leftmost column
};

constexpr Glyph kFont[] = {
    {'0', {0x0E, 0x11, 0x13, 0x15, 0x19, 0x11, 0x0E}},
    {'1', {0x04, 0x0C, 0x04, 0x04, 0x04, 0x04, 0x0E}},
    {'2', {0x0E, 0x11, 0x01, 0x02, 0x04, 0x08, 0x1F}},
    {'3', {0x1F, 0x02, 0x04, 0x02, 0x01, 0x11, 0x0E}},
    {'4', {0x02, 0x06, 0x0A, 0x12, 0x1F, 0x02, 0x02}},
    {'5', {0x1F, 0x10, 0x1E, 0x01, 0x01, 0x11, 0x0E}},
    {'6', {0x06, 0x08, 0x10, 0x1E, 0x11, 0x11, 0x0E}},
    {'7', {0x1F, 0x01, 0x02, 0x04, 0x08, 0x08, 0x08}},
    {'8', {0x0E, 0x11, 0x11, 0x0E, 0x11, 0x11, 0x0E}},
    {'9', {0x0E, 0x11, 0x11, 0x0F, 0x01, 0x02, 0x0C}},
    {'A', {0x0E, 0x11, 0x11, 0x1F, 0x11, 0x11, 0x11}},
    {'B', {0x1E, 0x11, 0x11, 0x1E, 0x11, 0x11, 0x1E}},
    {'C', {0x0E, 0x11, 0x10, 0x10, 0x10, 0x11, 0x0E}},
    {'D', {0x1C, 0x12, 0x11, 0x11, 0x11, 0x12, 0x1C}},
    {'E', {0x1F, 0x10, 0x10, 0x1E, 0x10, 0x10, 0x1F}},
    {'F', {0x1F, 0x10, 0x10, 0x1E, 0x10, 0x10, 0x10}},
    {'G', {0x0E, 0x11, 0x10, 0x17, 0x11, 0x11, 0x0F}},
    {'H', {0x11, 0x11, 0x11, 0x1F, 0x11, 0x11, 0x11}},
    {'I', {0x0E, 0x04, 0x04, 0x04, 0x04, 0x04, 0x0E}},
    {'J', {0x07, 0x02, 0x02, 0x02, 0x02, 0x12, 0x0C}},
    {'K', {0x11, 0x12, 0x14, 0x18, 0x14, 0x12, 0x11}},
    {'L', {0x10, 0x10, 0x10, 0x10, 0x10, 0x10, 0x1F}},
    {'M', {0x11, 0x1B, 0x15, 0x15, 0x11, 0x11, 0x11}},
    {'N', {0x11, 0x11, 0x19, 0x15, 0x13, 0x11, 0x11}},
    {'O', {0x0E, 0x11, 0x11, 0x11, 0x11, 0x11, 0x0E}},
    {'P', {0x1E, 0x11, 0x11, 0x1E, 0x10, 0x10, 0x10}},
    {'Q', {0x0E, 0x11, 0x11, 0x11, 0x15, 0x12, 0x0D}},
    {'R', {0x1E, 0x11, 0x11, 0x1E, 0x14, 0x12, 0x11}},
    {'S', {0x0F, 0x10, 0x10, 0x0E, 0x01, 0x01, 0x1E}},
    {'T', {0x1F, 0x04, 0x04, 0x04, 0x04, 0x04, 0x04}},
    {'U', {0x11, 0x11, 0x11, 0x11, 0x11, 0x11, 0x0E}},
    {'V', {0x11, 0x11, 0x11, 0x11, 0x11, 0x0A, 0x04}},
    {'W', {0x11, 0x11, 0x11, 0x15, 0x15, 0x15, 0x0A}},
    {'X', {0x11, 0x11, 0x0A, 0x04, 0x0A, 0x11, 0x11}},
    {'Y', {0x11, 0x11, 0x11, 0x0A, 0x04, 0x04, 0x04}},
    {'Z', {0x1F, 0x01, 0x02, 0x04, 0x08, 0x10, 0x1F}},
    {'+', {0x00, 0x04, 0x04, 0x1F, 0x04, 0x04, 0x00}},
    {'-', {0x00, 0x00, 0x00, 0x1F, 0x00, 0x00, 0x00}},
    {'*', {0x00, 0x04, 0x15, 0x0E, 0x15, 0x04, 0x00}},
    {'(', {0x02, 0x04, 0x08, 0x08, 0x08, 0x04, 0x02}},
    {')', {0x08, 0x04, 0x02, 0x02, 0x02, 0x04, 0x08}},
    {'<', {0x02, 0x04, 0x08, 0x10, 0x08, 0x04, 0x02}},
    {'>', {0x08, 0x04, 0x02, 0x01, 0x02, 0x04, 0x08}},
    {',', {0x00, 0x00, 0x00, 0x00, 0x0C, 0x04, 0x08}},
    {'#', {0x0A, 0x0A, 0x1F, 0x0A, 0x1F, 0x0A, 0x0A}},
    {'.', {0x00, 0x00, 0x00, 0x00, 0x00, 0x0C, 0x0C}},
    {'/', {0x00, 0x01, 0x02, 0x04, 0x08, 0x10, 0x00}},
};

constexpr int kGlyphAdvance = 6;
constexpr int kLineHeight = 9;

const Glyph* glyphOf(char c)
{
  if (c >= 'a' && c <= 'z')
    c = char(c - 'a' + 'A');
  for (const Glyph& g : kFont)
    if (g.c == c)
      return &g;
  return nullptr;  // blank
}

void drawText(Image& img, int x, int y, std::string_view text, int maxWidth)
{
  for (char c : text) {
    if (x + 5 > maxWidth)
      return;
    if (const Glyph* g = glyphOf(c))
      for (int row = 0; row < 7; ++row)
        for (int col = 0; col < 5; ++col)
          if (g->rows[row] & (0x10 >> col))
            img.set(x + col, y + row, Rgb{235, 235, 235});
    x += kGlyphAdvance;
  }
}

// ---- Values to colours ------------------------------------------------------

unsigned char channel(double v)
{
  const double c = v * 32;
  return c >= 255 ? 255 : (c <= 0 ? 0 : static_cast<unsigned char>(c));
}

Rgb colourOf(double v)
{
  if (std::isnan(v))
    return Rgb{255, 0, 255};
  if (v >= gINFINITY)
    return Rgb{255, 0, 0};
  if (v < 0)
    return Rgb{0, 0, channel(-v)};
  const unsigned char c = channel(v);
  return Rgb{c, c, c};
}

std::vector<int16_t> builtMembers()
{
  std::vector<int16_t> ids;
  const int count = KV_familyMemberCount(kFamily21);
  for (int pos = 0; pos < count; ++pos) {
    const KVcatalogMember m = KV_familyMember(kFamily21, pos);
    if (m.real)
      ids.push_back(m.id);
  }
  return ids;
}

int drawSheet(const char* path, int thumb)
{
  const std::vector<int16_t> ids = builtMembers();
  constexpr int kColumns = 6, kGap = 6;
  const int cellW = thumb + kGap, cellH = thumb + 2 * kLineHeight + kGap;
  const int rows = (int(ids.size()) + kColumns - 1) / kColumns;
  Image img(kColumns * cellW + kGap, rows * cellH + kGap);

  KVmemberHarness h;
  KVgridView view;
  view.width = view.height = thumb;
  h.doc()->yPixelScale = thumb / (2 * 3.141592653589793);  // as a render of this size
  for (size_t k = 0; k < ids.size(); ++k) {
    const int left = kGap + int(k % kColumns) * cellW;
    const int top = kGap + int(k / kColumns) * cellH;
    h.bind(kFamily21, ids[k]);
    h.prepare();
    const std::vector<double> values = h.grid(view);
    for (int y = 0; y < thumb; ++y)
      for (int x = 0; x < thumb; ++x)
        img.set(left + x, top + y, colourOf(values[size_t(y) * size_t(thumb) + size_t(x)]));
    drawText(img, left, top + thumb + 2, "ID " + std::to_string(ids[k]), left + thumb);
    std::string name = h.displayName();
    if (name.empty())
      name = "SUB-TREE";
    drawText(img, left, top + thumb + 2 + kLineHeight, name, left + thumb);
  }
  if (!img.writePPM(path)) {
    std::fprintf(stderr, "f21_contact_sheet: cannot write %s\n", path);
    return 1;
  }
  return 0;
}

int printValues(int16_t id, double a, double b, double c, int n)
{
  KVmemberHarness h;
  h.bind(kFamily21, id);
  h.setParams(a, b, c);
  h.prepare();
  KVgridView view;
  view.width = view.height = n;
  const std::vector<double> values = h.grid(view);
  for (int row = 0; row < n; ++row)
    for (int col = 0; col < n; ++col)
      std::printf("%.17g %.17g %.17g\n", view.x(col), view.y(row),
                  values[size_t(row) * size_t(n) + size_t(col)]);
  return 0;
}

}  // namespace

int main(int argc, char** argv)
{
  if (argc == 7 && std::string_view(argv[1]) == "--values") {
    const int n = std::atoi(argv[6]);
    if (n < 1 || n > 4096) {
      std::fprintf(stderr, "f21_contact_sheet: grid size must be 1..4096\n");
      return 2;
    }
    return printValues(int16_t(std::atoi(argv[2])), std::atof(argv[3]), std::atof(argv[4]),
                       std::atof(argv[5]), n);
  }
  if (argc == 2 || argc == 3) {
    const int thumb = argc == 3 ? std::atoi(argv[2]) : 144;
    if (thumb < 16 || thumb > 1024) {
      std::fprintf(stderr, "f21_contact_sheet: thumbnail size must be 16..1024\n");
      return 2;
    }
    return drawSheet(argv[1], thumb);
  }
  std::fprintf(stderr,
               "usage: f21_contact_sheet SHEET.ppm [THUMB]\n"
               "       f21_contact_sheet --values ID A B C N\n");
  return 2;
}
