// contact_sheet: draws the built members of one component family in a
// labelled grid, or prints their outputs for independent checks. Every family
// (one to four inputs, one to five outputs) can be drawn; a family described
// in kSheetFamilies below is drawn its own way, any other feeds x and y to
// its first two inputs (0 to the others) and shows output 1 as a value.
//
//   contact_sheet --family CODE SHEET.ppm [THUMB]
//       every built member of family CODE (catalog code: 2 is f21, 3 is f22)
//       at its defaults, THUMB x THUMB pixels each (default 144, 16..1024),
//       six to a row, over the view -pi..pi on both axes; first label line
//       the id, second the display name. Written as binary PPM (P6).
//   contact_sheet --family CODE --values ID A B C N
//       member ID with A, B, C (messages 7 and 8 sent after they are set)
//       over an N x N grid of -pi..pi (N 1..4096); prints one line per
//       sample, row by row: "x y out1 ... outK" with every output of the
//       family, 17 significant digits. Families that print their inputs
//       (f32, f43, f44: code 5, 9, 12) are fed as their sheet and print
//       "x y in... out1 ... outK", where in... are the channels of every
//       input fed something else than x, y or 0 (four for a packed input);
//       the other families are fed as their sheet but with x in place of
//       the diagonal and 0 for the z and w ramps, and print no inputs. f33
//       (code 8) prints its inputs too: the point members are fed x, y and
//       z = (y + pi)/(2 pi), the colour operations the colour (4 + 4x/pi,
//       4 + 4y/pi, 4), the packed members two packed colours, z and w (see
//       below); members drawn in a small tree print no inputs.
//   contact_sheet --family CODE --stdin ID A B C [--altitude-only]
//                 [--pass COUNTER MASK]
//       member ID alone with A, B, C (messages 7 and 8 sent), run on
//       batches of 16 samples whose inputs are read from standard input, one
//       batch after another until the input ends: for each input of the
//       family a channel width (0 uniform, 1 scalar, 2 packed RGB, 3 packed
//       RGBA) and 64 numbers (channel c of sample i at 16c + i; "nan" and
//       1e250 are read as such). Prints for each batch one line per output
//       block of the family (four for f24, f34 and f44), its 16 samples.
//       --altitude-only sets the document's altitude-only flag for the
//       batches. --pass runs them with the tree's iteration counter COUNTER
//       and the component's loop mark MASK (both 0 otherwise) and reads,
//       after a batch's inputs, for each output of the family the 16
//       numbers it holds before the batch (as a loop's previous pass left
//       it). Words before a batch change these for it and the batches after
//       it: "params A B C" (messages 7 and 8 sent again), "altitude-only 0"
//       or "altitude-only 1", "pass COUNTER MASK", "fresh" (no --pass),
//       "master" and 32 numbers (the master x, then y, of the 16 samples, 0
//       until given; members that read the plane position see them).
//   contact_sheet --family CODE --tables --values ID A B C N
//       as --values, after named "# NAME v1 v2 ..." lines of the tables an
//       oracle hashes with: "# perm" (the 1024 permutation entries) first.
//   contact_sheet --family CODE --choices ID SHEET.ppm [THUMB]
//       member ID once for each choice of its parameter A (A = 0, 1, ...
//       while A has a label), B and C at their defaults; labels "A n" and
//       the choice's label.
//   --tables also prints the document's first two colours, its colour-table
//   keys and its octave count ("# colors", "# keys", "# octaves").
//   --octaves N (with any command) sets every document's octave count to N
//   (0..32767) in memory, past what the tree reader accepts.
//   contact_sheet --perm
//       the permutation of the tables every sheet and --values run uses
//       (1024 numbers, blank-separated, one line).
//   contact_sheet --bodies
//       the permutation, then the terrain lattice helpers and single calls
//       of the terrain bodies at chosen points (see contact_sheet_bodies.cpp).
//
// Input slot 0 of every document holds a small generated picture (see
// sheetPicture), which the picture and movie members draw.
//
// Built as f21_contact_sheet too, where --family defaults to 2.
//
// Registering a family: add a row to kSheetFamilies (how its inputs are fed
// from the sample's x and y, how its outputs become a thumbnail), then check
// the sheet from a <family>_sheet.cmake beside the family's tests with
// tests/tools/contact_sheet_check.py (layout and no flat thumbnail).
//
// One-input families are fed x + y on the sheet (the diagonal profile) and x
// with --values. Loop, memory and derivative members are drawn in a small
// tree (see kTreeMembers), in --values too; each member is drawn in a fresh
// document, so the tree's iteration counter starts at 0 for every member.
//
// Thumbnail colours (kValue): a value v >= 0 is grey at 32 v (8 is
// white), a negative value blue at -32 v, the no-value marker red, NaN
// magenta. kPointOnGrid evaluates f21 " Grid" (id 4, defaults) at the
// member's point (output 1, output 2), so the thumbnail shows the grid as the
// member moves it. kColour shows outputs 1..3 as red, green and blue at 32 v
// (8 is full intensity), the marker as a red and black checker;
// kColourAndW adds output 4 as a value thumbnail beside the colour.
//
// f43 and f44 are fed the colour (4 + 4x/pi, 4 + 4y/pi, 4) and w =
// 4 + 4y/pi; the packed f43 members get a packed RGBA input 1 (that colour,
// alpha 4x/pi), a packed RGBA input 2 (a unit checkerboard of (8, 2, 0) and
// (0, 2, 8), alpha -4y/pi), then z rising up and w rising right.
//
// f33 is fed by member group (kMemberGroups): the point members x, y and z
// rising up, drawn as points through " Grid" as f32 is; the 3D colour noises
// the same point, drawn as colour; the colour operations the colour of f43;
// the packed members the packed feed of f43. " 3D Normal" shades f21
// " Ripples", the elevation slices march it, the density slices march f31
// " 3D Spots" (see kTreeMembers). The master arrays hold x and y.
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "engine/catalog.h"
#include "engine/evaluate.h"
#include "engine/prepare.h"
#include "engine/protocol.h"
#include "engine/treemanage.h"
#include "imaging/offworld.h"
#include "tests/components/member_harness.h"
#include "tests/tools/contact_sheet_bodies.h"

#ifndef KV_CONTACT_SHEET_DEFAULT_FAMILY
#define KV_CONTACT_SHEET_DEFAULT_FAMILY 0
#endif

namespace {

// ---- How a family is fed and shown ------------------------------------------

enum class Feed
{
  kX,       // the sample's x
  kY,       // the sample's y
  kXPlusY,  // x + y: f21 " Ax+By+C" at its defaults, the diagonal profile
  kZero,    // 0 in every sample
  kZUp,     // (y + pi) / (2 pi): 0 at the bottom of the view, 1 at the top
  kWRight,  // (x + pi) / (2 pi): 0 at the left of the view, 1 at the right
  // The theme filter's colour and altitude field: red 4 + x/16, green
  // 4 + y/16, blue 4, altitude 1.25 y + 60.
  kThemeRed,
  kThemeGreen,
  kFour,
  kAltitude,
  // The colour feed of f43 and f44: red 4 + 4x/pi, green (and w) 4 + 4y/pi.
  kColourRed,
  kColourGreen,
  // Packed RGBA (channel width 3): the colour feed with alpha 4x/pi, and a
  // unit checkerboard of (8, 2, 0) and (0, 2, 8) with alpha -4y/pi.
  kPackedColour,
  kPackedChecker,
};

// Channels a feed fills: 4 for the packed feeds (fed with width 3), else 1.
int channelsOf(Feed f)
{
  return f == Feed::kPackedColour || f == Feed::kPackedChecker ? 4 : 1;
}

enum class Show
{
  kValue,         // output 1 as a value colour
  kPointOnGrid,   // outputs 1 and 2 as a point, seen through f21 " Grid"
  kColour,        // outputs 1..3 as a colour (8 is full intensity)
  kColourAndW,    // as kColour, and output 4 as a value thumbnail beside it
  kColourOnGrid,  // outputs 3..5 as a colour over a faint unit checkerboard of
                  // the point (output 1, output 2)
};

struct SheetFamily
{
  int16_t family;
  std::array<Feed, 4> inputs;
  Show show;
  bool printsInputs = false;  // --values keeps the sheet's feed and prints it
};

// One-input families see x + y on the sheet, so that each thumbnail shows
// the member's profile from -2 pi to 2 pi along the diagonal rather than a
// bare profile in x; --values feeds them x straight.
constexpr std::array<Feed, 4> kDiagonal = {Feed::kXPlusY, Feed::kZero, Feed::kZero, Feed::kZero};
constexpr std::array<Feed, 4> kPlane = {Feed::kX, Feed::kY, Feed::kZero, Feed::kZero};

constexpr SheetFamily kSheetFamilies[] = {
    {kFamily11, kDiagonal, Show::kValue},
    {kFamily12, kDiagonal, Show::kPointOnGrid},
    {kFamily13, kDiagonal, Show::kColour},
    {kFamily14, kDiagonal, Show::kColourAndW},
    {kFamily21, kPlane, Show::kValue},
    {kFamily22, kPlane, Show::kPointOnGrid},
    {kFamily34, {Feed::kX, Feed::kY, Feed::kZUp, Feed::kZero}, Show::kColourAndW},
    {kFamily41, {Feed::kX, Feed::kY, Feed::kZUp, Feed::kWRight}, Show::kValue},
    {kFamily42, {Feed::kX, Feed::kY, Feed::kZUp, Feed::kWRight}, Show::kPointOnGrid},
    {kFamily25, kPlane, Show::kColourOnGrid},
    {kFamily32, {Feed::kX, Feed::kY, Feed::kZUp, Feed::kZero}, Show::kPointOnGrid, true},
    {kFamily33, {Feed::kX, Feed::kY, Feed::kZUp, Feed::kZero}, Show::kPointOnGrid, true},
    {kFamily43,
     {Feed::kColourRed, Feed::kColourGreen, Feed::kFour, Feed::kColourGreen},
     Show::kColour,
     true},
    {kFamily44,
     {Feed::kColourRed, Feed::kColourGreen, Feed::kFour, Feed::kColourGreen},
     Show::kColourAndW,
     true},
};

// Members fed their own way, over a view of their own (x and y in -half..half,
// the master arrays holding them too).
struct MemberSheet
{
  int16_t family;
  int16_t id;
  std::array<Feed, 4> inputs;
  Show show;
  double half;
};

constexpr MemberSheet kMemberSheets[] = {
    {kFamily44,
     17,
     {Feed::kThemeRed, Feed::kThemeGreen, Feed::kFour, Feed::kAltitude},
     Show::kColourAndW,
     64},
};

// Groups of members of one family fed and shown alike, over the usual view
// -pi..pi (the master arrays holding x and y too).
struct MemberGroup
{
  int16_t family;
  std::span<const int16_t> ids;
  MemberSheet sheet;
};

constexpr double kSheetHalf = 3.141592653589793;

// Two packed colours, z and w: the packed compositing members.
constexpr std::array<Feed, 4> kPackedPair = {Feed::kPackedColour, Feed::kPackedChecker, Feed::kZUp,
                                             Feed::kWRight};
// The colour (4 + 4x/pi, 4 + 4y/pi, 4): the f33 colour operations.
constexpr std::array<Feed, 4> kColourFeed = {Feed::kColourRed, Feed::kColourGreen, Feed::kFour,
                                             Feed::kZero};
// The point (x, y, z rising up): the f33 point members and solid textures.
constexpr std::array<Feed, 4> kPointFeed = {Feed::kX, Feed::kY, Feed::kZUp, Feed::kZero};

constexpr int16_t kF43PackedIds[] = {10, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23};
constexpr int16_t kF33PackedIds[] = {9, 10, 11, 15, 16, 33, 36, 47, 53};
constexpr int16_t kF33ColourIds[] = {5, 6, 7, 34, 37, 38, 39, 44, 49, 50};
// 3D colour noises take a point and give a colour; the 3D Normal's normal
// reads best as a shading.
constexpr int16_t kF33SolidColourIds[] = {18, 19, 20, 21, 22, 23, 27, 31, 45, 46, 52};

constexpr MemberGroup kMemberGroups[] = {
    {kFamily43, kF43PackedIds, {kFamily43, -1, kPackedPair, Show::kColour, kSheetHalf}},
    {kFamily33, kF33PackedIds, {kFamily33, -1, kPackedPair, Show::kColour, kSheetHalf}},
    {kFamily33, kF33ColourIds, {kFamily33, -1, kColourFeed, Show::kColour, kSheetHalf}},
    {kFamily33, kF33SolidColourIds, {kFamily33, -1, kPointFeed, Show::kColour, kSheetHalf}},
};

const MemberSheet* memberSheetOf(int16_t family, int16_t id)
{
  for (const MemberSheet& m : kMemberSheets)
    if (m.family == family && m.id == id)
      return &m;
  for (const MemberGroup& g : kMemberGroups)
    if (g.family == family && std::find(g.ids.begin(), g.ids.end(), id) != g.ids.end())
      return &g.sheet;
  return nullptr;
}

SheetFamily sheetFamilyOf(int16_t family)
{
  for (const SheetFamily& s : kSheetFamilies)
    if (s.family == family)
      return s;
  return {family, kPlane, Show::kValue};
}

// How member id of family is fed and shown on a sheet.
SheetFamily sheetOf(int16_t family, int16_t id)
{
  const MemberSheet* m = memberSheetOf(family, id);
  return m != nullptr ? SheetFamily{family, m->inputs, m->show, sheetFamilyOf(family).printsInputs}
                      : sheetFamilyOf(family);
}

// The view a member is drawn over: -pi..pi, or the member's own.
KVgridView viewOf(int16_t family, int16_t id, int size)
{
  KVgridView view;
  view.width = view.height = size;
  if (const MemberSheet* m = memberSheetOf(family, id)) {
    view.ymax = m->half;
    view.xmin = -m->half;
    view.xmax = m->half;
  }
  return view;
}

// The feed of --values: the sheet's, with x in place of the diagonal; a
// family that does not print its inputs gets 0 in place of the z and w
// ramps (its lines print x and y only, so every other input must be known
// to the reader).
SheetFamily valuesFeedOf(int16_t family, int16_t id)
{
  SheetFamily s = sheetOf(family, id);
  std::replace(s.inputs.begin(), s.inputs.end(), Feed::kXPlusY, Feed::kX);
  if (!s.printsInputs) {
    std::replace(s.inputs.begin(), s.inputs.end(), Feed::kZUp, Feed::kZero);
    std::replace(s.inputs.begin(), s.inputs.end(), Feed::kWRight, Feed::kZero);
  }
  return s;
}

// Whether --values prints input feed f (x, y and 0 go without saying).
bool printedFeed(Feed f)
{
  return f != Feed::kX && f != Feed::kY && f != Feed::kZero;
}

int panelsOf(Show show)
{
  return show == Show::kColourAndW ? 2 : 1;
}

// ---- Members drawn inside a small tree -----------------------------------------

// Members whose result depends on other components are drawn in a fixed
// small tree, run through the evaluator batch by batch with the sample's x
// and y as the master arrays:
//  - kLoop: " Iterations" (A = 0.5, B = 3) into f21 " x + A Sin y " (its
//    input 1 the loop's value, input 2 the master y) into the member at the
//    loop's end, which sees a wave raised by 0.5 at each pass. " Iterations"
//    itself is shown by what its loop gives at a Memory Add; its own output
//    is one value per batch.
//  - kRipples: f21 " Ripples" over the plane into the member.
//  - kRipplesOnZ: f21 " Ripples" into the member's input 3, x and y the
//    master arrays (the height field an elevation-slice member marches).
//  - kNormal: f21 " Ax+By+C" passing the master x into input 1, the master y
//    on input 2 and f21 " Ripples" into input 3 (a height field whose normal
//    the member finds by running both again).
//  - kDensity: f31 " 3D Spots" into input 3 (the field a density-slice member
//    marches), x and y the master arrays.
enum class TreeKind
{
  kAlone,
  kLoop,
  kRipples,
  kRipplesOnZ,
  kNormal,
  kDensity,
};

struct TreeMember
{
  int16_t family;
  int16_t id;
  TreeKind tree;
};

constexpr int16_t kIterationsId = 28;
constexpr int16_t kMemoryAddId = 30;
constexpr int16_t kRipplesId = 15;
constexpr int16_t kXPlusSinYId = 6;
constexpr int16_t kAffineId = 0;    // f21 " Ax+By+C"
constexpr int16_t kSpots3dId = 25;  // f31 " 3D Spots"

constexpr TreeMember kTreeMembers[] = {
    {kFamily11, kIterationsId, TreeKind::kLoop},
    {kFamily11, 29, TreeKind::kLoop},
    {kFamily11, kMemoryAddId, TreeKind::kLoop},
    {kFamily11, 40, TreeKind::kLoop},
    {kFamily11, 50, TreeKind::kLoop},
    {kFamily11, 54, TreeKind::kLoop},
    {kFamily11, 15, TreeKind::kRipples},
    {kFamily11, 26, TreeKind::kRipples},
    {kFamily11, 51, TreeKind::kRipples},
    {kFamily12, 8, TreeKind::kRipples},
    {kFamily33, 23, TreeKind::kNormal},
    {kFamily33, 25, TreeKind::kRipplesOnZ},
    {kFamily33, 26, TreeKind::kDensity},
};

TreeKind treeOf(int16_t family, int16_t id)
{
  for (const TreeMember& m : kTreeMembers)
    if (m.family == family && m.id == id)
      return m.tree;
  return TreeKind::kAlone;
}

// Inputs and outputs of a family, from its name "fIO".
struct Arity
{
  int inputs;
  int outputs;
};

Arity arityOf(int16_t family)
{
  const KVfamilyInfo* info = KV_familyInfo(family);
  return {info->name[1] - '0', info->name[2] - '0'};
}

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
    {'&', {0x0C, 0x12, 0x14, 0x08, 0x15, 0x12, 0x0D}},
    {'\'', {0x04, 0x04, 0x08, 0x00, 0x00, 0x00, 0x00}},
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

unsigned char channel(double v, double scale)
{
  const double c = v * scale;
  return c >= 255 ? 255 : (c <= 0 ? 0 : static_cast<unsigned char>(c));
}

Rgb colourOf(double v)
{
  if (std::isnan(v))
    return Rgb{255, 0, 255};
  if (v >= gINFINITY)
    return Rgb{255, 0, 0};
  if (v < 0)
    return Rgb{0, 0, channel(-v, 32)};
  const unsigned char c = channel(v, 32);
  return Rgb{c, c, c};
}

// ---- Sampling ----------------------------------------------------------------

// --octaves N: the octave count every document of the run gets, set in
// memory past the tree reader's range; -1 keeps the default.
int gOctaves = -1;

// The picture in input slot 0 of every document the sheet makes, so that the
// picture and movie members draw something: 64 x 48 pixels, red rising to
// the right, green downward, blue a checker of 8-pixel squares. Made once,
// kept for the whole run.
Offworld sheetPicture()
{
  static const Offworld picture = [] {
    const Rect bounds{0, 0, 48, 64};
    Offworld p = nullptr;
    if (CreateOffworld(PackRectTopLeft(bounds), PackRectBottomRight(bounds), 32, &p) != noErr)
      return p;
    for (int row = 0; row < 48; ++row)
      for (int column = 0; column < 64; ++column) {
        uint8_t* px = p->pixels.baseAddr + row * p->pixels.rowBytes + 4 * column;
        px[0] = 255;
        px[1] = uint8_t(4 * column);
        px[2] = uint8_t(5 * row);
        px[3] = (column / 8 + row / 8) % 2 == 0 ? 230 : 30;
      }
    return p;
  }();
  return picture;
}

void giveSheetPicture(sfuncSystem* doc)
{
  KVinputSlot& slot = doc->inputs[0];
  slot.picture = sheetPicture();
  slot.sourceKind = kInputFixedBuffer;
}

// Channel `channel` of input feed f at the point (x, y).
double feedValue(Feed f, int channel, double x, double y)
{
  constexpr double kPi = 3.141592653589793;
  switch (f) {
    case Feed::kX:
      return x;
    case Feed::kY:
      return y;
    case Feed::kXPlusY:
      return x + y;
    case Feed::kThemeRed:
      return 4 + x / 16;
    case Feed::kThemeGreen:
      return 4 + y / 16;
    case Feed::kFour:
      return 4;
    case Feed::kZUp:
      return (y + kPi) / (2 * kPi);
    case Feed::kWRight:
      return (x + kPi) / (2 * kPi);
    case Feed::kAltitude:
      return 1.25 * y + 60;
    case Feed::kColourRed:
      return 4 + 4 * x / kPi;
    case Feed::kColourGreen:
      return 4 + 4 * y / kPi;
    case Feed::kPackedColour: {
      const std::array<double, 4> rgba = {4 + 4 * x / kPi, 4 + 4 * y / kPi, 4, 4 * x / kPi};
      return rgba[size_t(channel & 3)];
    }
    case Feed::kPackedChecker: {
      const bool even = (int64_t(std::floor(x)) + int64_t(std::floor(y))) % 2 == 0;
      const std::array<double, 4> rgba = {even ? 8.0 : 0.0, 2, even ? 0.0 : 8.0, -4 * y / kPi};
      return rgba[size_t(channel & 3)];
    }
    case Feed::kZero:
      break;
  }
  return 0.0;
}

// The input block of feed f over samples (x[i], y) of one batch.
KVtestInput feedInput(Feed f, const KVgridView& view, int row, int col, int n)
{
  KVtestInput in;
  in.channels = channelsOf(f) == 4 ? 3 : 1;
  for (int c = 0; c < channelsOf(f); ++c)
    for (int i = 0; i < n; ++i)
      in.data[size_t(kBatchCapacity * c + i)] = feedValue(f, c, view.x(col + i), view.y(row));
  return in;
}

// One member set up for sampling in a harness of its own (a fresh document,
// so the tree's iteration counter and every table start the same for each
// member): alone in slot 0 with its inputs fed as the family says, or inside
// its small tree. batch() evaluates one batch and returns the component whose
// outputs hold the result.
class MemberBench
{
public:
  MemberBench(KVmemberHarness& h, const SheetFamily& feed, int16_t id)
      : h_(h),
        feed_(feed),
        ownFeed_(memberSheetOf(feed.family, id) != nullptr || feed.family == kFamily33)
  {
    giveSheetPicture(h_.doc());
    if (gOctaves >= 0)
      h_.doc()->fractal.octaves = int16_t(gOctaves);
    shown_ = h_.bind(feed.family, id);
    name_ = h_.displayName();
    tree_ = treeOf(feed.family, id);
    if (tree_ != TreeKind::kAlone)
      shown_ = buildTree(id);
  }

  const std::string& name() const { return name_; }

  // Sets A, B and C of the member (in its tree where it has one).
  void setParams(double a, double b, double c)
  {
    member_ = member_ != nullptr ? member_ : shown_;
    member_->A = a;
    member_->B = b;
    member_->C = c;
  }

  // Sets A alone (B and C keep their defaults).
  void setA(double a)
  {
    member_ = member_ != nullptr ? member_ : shown_;
    member_->A = a;
  }

  // Messages 7 and 8, alone or through the evaluator's preparation.
  void prepare()
  {
    if (tree_ == TreeKind::kAlone) {
      h_.prepare();
      return;
    }
    sfuncSystem* doc = h_.doc();
    arb_ServiceChanges(doc, false);
    doc->paramsChanged = 1;
    KV_prepare_evaluation(doc, false);
  }

  const gfunc* batch(const KVgridView& view, int row, int col, int n)
  {
    if (tree_ != TreeKind::kAlone) {
      sfuncSystem* doc = h_.doc();
      for (int i = 0; i < n; ++i) {
        doc->master[0][i] = view.x(col + i);
        doc->master[1][i] = view.y(row);
      }
      KV_setBatchLength(n);
      KVTree_evaluate(doc);
      KV_setBatchLength(kBatchCapacity);
      return shown_;
    }
    for (int k = 0; k < 4; ++k)
      h_.setInput(k, feedInput(feed_.inputs[k], view, row, col, n));
    if (ownFeed_)
      for (int i = 0; i < n; ++i) {
        h_.doc()->master[0][i] = view.x(col + i);
        h_.doc()->master[1][i] = view.y(row);
      }
    h_.run(n);
    return h_.component();
  }

private:
  // Appends member (family, id) at `level`; `sources` gives for inputs 1..4
  // the slot feeding it (its output 1), -1 for the input's default.
  gfunc* add(int16_t family, int16_t id, uint8_t level,
             std::array<int, 4> sources = {-1, -1, -1, -1})
  {
    sfuncSystem* doc = h_.doc();
    smalltree& tree = doc->tree;
    const int slot = tree.count++;
    gfunc* g = &tree.funcs[slot];
    g->index = int16_t(slot);
    g->level = level;
    g->doc = doc;
    g->owner = &tree;
    setFunc(g, family, id, kBindDefaults);
    for (size_t k = 0; k < sources.size(); ++k)
      if (sources[k] >= 0) {
        g->sources[k] = &tree.funcs[sources[k]];
        g->inlets[k].source = kSourceOutput1;
      }
    tree.rootLevel = std::max<int16_t>(tree.rootLevel, level);
    return g;
  }

  // Builds the member's small tree in the harness's document and returns the
  // component shown.
  gfunc* buildTree(int16_t id)
  {
    h_.doc()->tree.count = 0;
    switch (tree_) {
      case TreeKind::kRipples:
        add(kFamily21, kRipplesId, 0);
        return member_ = add(feed_.family, id, 1, {0, -1, -1, -1});
      case TreeKind::kRipplesOnZ:
        add(kFamily21, kRipplesId, 0);
        return member_ = add(feed_.family, id, 1, {-1, -1, 0, -1});
      case TreeKind::kNormal: {
        gfunc* passX = add(kFamily21, kAffineId, 0);
        passX->A = 1;
        passX->B = 0;
        passX->C = 0;
        add(kFamily21, kRipplesId, 0);
        return member_ = add(feed_.family, id, 1, {0, -1, 1, -1});
      }
      case TreeKind::kDensity:
        add(kFamily31, kSpots3dId, 0);
        return member_ = add(feed_.family, id, 1, {-1, -1, 0, -1});
      case TreeKind::kLoop:
      case TreeKind::kAlone:
        break;
    }
    gfunc* loop = add(kFamily11, kIterationsId, 0);
    loop->A = 0.5;
    loop->B = 3;
    add(kFamily21, kXPlusSinYId, 1, {0, -1, -1, -1});
    if (id == kIterationsId) {
      member_ = loop;
      return add(kFamily11, kMemoryAddId, 2, {1, -1, -1, -1});
    }
    return member_ = add(feed_.family, id, 2, {1, -1, -1, -1});
  }

  KVmemberHarness& h_;
  SheetFamily feed_;
  bool ownFeed_;  // master arrays set to x and y (own feeds, and f33, whose
                  // dither and random mix read them)
  TreeKind tree_ = TreeKind::kAlone;
  std::string name_;
  gfunc* shown_ = nullptr;
  gfunc* member_ = nullptr;  // the member itself, where it is not the one shown
};

// Every output of the member over the grid: outputs[k][sample], samples row
// by row, evaluated in batches of up to 16 along each row (the last batch of
// a row may be shorter).
using Outputs = std::vector<std::vector<double>>;

Outputs sampleGrid(MemberBench& bench, const KVgridView& view, int outputs)
{
  Outputs out(static_cast<size_t>(outputs));
  for (int row = 0; row < view.height; ++row)
    for (int col = 0; col < view.width; col += kBatchCapacity) {
      const int n = std::min(kBatchCapacity, view.width - col);
      const gfunc* g = bench.batch(view, row, col, n);
      for (int k = 0; k < outputs; ++k)
        out[k].insert(out[k].end(), g->outputs[k], g->outputs[k] + n);
    }
  return out;
}

// f21 " Grid" at its defaults evaluated at the points (xs[i], ys[i]).
std::vector<double> gridAt(KVmemberHarness& h, const std::vector<double>& xs,
                           const std::vector<double>& ys)
{
  h.bind(kFamily21, 4);
  h.prepare();
  std::vector<double> values;
  values.reserve(xs.size());
  for (size_t start = 0; start < xs.size(); start += kBatchCapacity) {
    const int n = int(std::min<size_t>(kBatchCapacity, xs.size() - start));
    KVtestInput x, y;
    std::copy_n(xs.begin() + long(start), n, x.data.begin());
    std::copy_n(ys.begin() + long(start), n, y.data.begin());
    const KVbatch out = h.run(x, y, n);
    values.insert(values.end(), out.begin(), out.begin() + n);
  }
  return values;
}

// A colour on the component scale (8 is full intensity). Where output 1
// holds the no-value marker the thumbnail shows a red and black checker of
// 2-pixel squares, a pattern no colour gives; NaN is magenta.
Rgb colourAt(const Outputs& out, size_t i, int x, int y, size_t first = 0)
{
  const double r = out[first][i], g = out[first + 1][i], b = out[first + 2][i];
  if (std::isnan(r) || std::isnan(g) || std::isnan(b))
    return Rgb{255, 0, 255};
  if (r >= gINFINITY)
    return ((x >> 1) + (y >> 1)) % 2 == 0 ? Rgb{255, 0, 0} : Rgb{0, 0, 0};
  return Rgb{channel(r, 32), channel(g, 32), channel(b, 32)};
}

// Outputs 3..5 as a colour, lightened by 24 on the odd squares of the unit
// checkerboard of the point (output 1, output 2), so that the deformation
// shows under the colour.
Rgb colourOnGrid(const Outputs& out, size_t i, int x, int y)
{
  const Rgb c = colourAt(out, i, x, y, 2);
  const double u = std::floor(out[0][i]), v = std::floor(out[1][i]);
  if (!std::isfinite(u) || !std::isfinite(v) || std::fabs(u) > 1e9 || std::fabs(v) > 1e9)
    return c;
  if ((int64_t(u) + int64_t(v)) % 2 == 0)
    return c;
  auto lift = [](unsigned char ch) { return static_cast<unsigned char>(std::min(255, ch + 24)); };
  return Rgb{lift(c.r), lift(c.g), lift(c.b)};
}

// The member's panels (one thumbnail, or the colour and output 4 beside
// it), each thumb x thumb pixels row by row.
std::vector<std::vector<Rgb>> thumbnails(KVmemberHarness& h, MemberBench& bench,
                                         const SheetFamily& sheet, const KVgridView& view)
{
  const Arity arity = arityOf(sheet.family);
  const Outputs out = sampleGrid(bench, view, arity.outputs);
  std::vector<std::vector<Rgb>> panels(size_t(panelsOf(sheet.show)),
                                       std::vector<Rgb>(out[0].size()));
  std::vector<Rgb>& pixels = panels[0];
  if (sheet.show == Show::kPointOnGrid && arity.outputs >= 2) {
    const std::vector<double> grid = gridAt(h, out[0], out[1]);
    std::transform(grid.begin(), grid.end(), pixels.begin(), colourOf);
  } else if (sheet.show == Show::kColourOnGrid && arity.outputs >= 5) {
    for (size_t i = 0; i < pixels.size(); ++i)
      pixels[i] = colourOnGrid(out, i, int(i % size_t(view.width)), int(i / size_t(view.width)));
  } else if (sheet.show != Show::kValue && arity.outputs >= 3) {
    for (size_t i = 0; i < pixels.size(); ++i)
      pixels[i] = colourAt(out, i, int(i % size_t(view.width)), int(i / size_t(view.width)));
    if (sheet.show == Show::kColourAndW && arity.outputs >= 4)
      std::transform(out[3].begin(), out[3].end(), panels[1].begin(), colourOf);
  } else {
    std::transform(out[0].begin(), out[0].end(), pixels.begin(), colourOf);
  }
  return panels;
}

std::vector<int16_t> builtMembers(int16_t family)
{
  std::vector<int16_t> ids;
  const int count = KV_familyMemberCount(family);
  for (int pos = 0; pos < count; ++pos) {
    const KVcatalogMember m = KV_familyMember(family, pos);
    if (m.real)
      ids.push_back(m.id);
  }
  return ids;
}

// ---- Commands ------------------------------------------------------------------

// One thumbnail of a sheet: a member, with A set where `setA` says, and its
// two label lines (an empty name shows the member's display name).
struct SheetCell
{
  int16_t id;
  bool setA = false;
  double a = 0;
  std::string title;
  std::string name;
};

int drawCells(int16_t family, const std::vector<SheetCell>& cells, const char* path, int thumb)
{
  constexpr int kColumns = 6, kGap = 6;
  int panels = 1;
  for (const SheetCell& c : cells)
    panels = std::max(panels, panelsOf(sheetOf(family, c.id).show));
  const int panelsW = panels * thumb + (panels - 1) * kGap;
  const int cellW = panelsW + kGap, cellH = thumb + 2 * kLineHeight + kGap;
  const int rows = (int(cells.size()) + kColumns - 1) / kColumns;
  Image img(kColumns * cellW + kGap, rows * cellH + kGap);

  for (size_t k = 0; k < cells.size(); ++k) {
    const SheetCell& cell = cells[k];
    const int left = kGap + int(k % kColumns) * cellW;
    const int top = kGap + int(k / kColumns) * cellH;
    const KVgridView view = viewOf(family, cell.id, thumb);
    KVmemberHarness h;
    h.doc()->yPixelScale = thumb / (view.xmax - view.xmin);  // as a render of this size
    const SheetFamily sheet = sheetOf(family, cell.id);
    MemberBench bench(h, sheet, cell.id);
    std::string name = !cell.name.empty() ? cell.name : bench.name();
    if (name.empty())
      name = "SUB-TREE";
    if (cell.setA)
      bench.setA(cell.a);
    bench.prepare();
    const std::vector<std::vector<Rgb>> pixels = thumbnails(h, bench, sheet, view);
    for (size_t p = 0; p < pixels.size(); ++p) {
      const int panelLeft = left + int(p) * (thumb + kGap);
      for (int y = 0; y < thumb; ++y)
        for (int x = 0; x < thumb; ++x)
          img.set(panelLeft + x, top + y, pixels[p][size_t(y) * size_t(thumb) + size_t(x)]);
    }
    drawText(img, left, top + thumb + 2, cell.title, left + panelsW);
    drawText(img, left, top + thumb + 2 + kLineHeight, name, left + panelsW);
  }
  if (!img.writePPM(path)) {
    std::fprintf(stderr, "contact_sheet: cannot write %s\n", path);
    return 1;
  }
  return 0;
}

int drawSheet(int16_t family, const char* path, int thumb)
{
  std::vector<SheetCell> cells;
  for (int16_t id : builtMembers(family))
    cells.push_back({.id = id, .title = "ID " + std::to_string(id), .name = {}});
  return drawCells(family, cells, path, thumb);
}

// The label parameter A gives at value a, or "" when it gives none.
std::string choiceLabel(KVmemberHarness& h, double a)
{
  h.component()->A = a;
  return h.send(kMsgParamA);
}

int drawChoices(int16_t family, int16_t id, const char* path, int thumb)
{
  constexpr int kMaxChoices = 64;
  std::vector<SheetCell> cells;
  {
    KVmemberHarness h;
    h.bind(family, id);
    for (int a = 0; a < kMaxChoices; ++a) {
      const std::string label = choiceLabel(h, a);
      if (label.empty())
        break;
      cells.push_back({id, true, double(a), "A " + std::to_string(a), label});
    }
  }
  if (cells.empty()) {
    std::fprintf(stderr, "contact_sheet: member %d has no labelled choices\n", int(id));
    return 1;
  }
  return drawCells(family, cells, path, thumb);
}

// The named tables an oracle needs to compute as the program does, one
// "# NAME v1 v2 ..." line each, whole numbers: the permutation first, then
// the document's first two colours (red, green, blue each), its colour-table
// keys (the count, then red, green, blue of each key) and its octave count.
void printTables(KVmemberHarness& h)
{
  const sfuncSystem* doc = h.doc();
  const KVtables& t = doc->tables;
  std::printf("# perm");
  for (int i = 0; i < 1024; ++i)
    std::printf(" %d", int(t.perm[i]));
  std::printf("\n# colors");
  for (int k = 0; k < 2; ++k) {
    const normalcolor& c = doc->defaultColors[k];
    std::printf(" %d %d %d", c.red, c.green, c.blue);
  }
  const cpalette& keys = t.gradientKeys;
  const int count = std::clamp(int(keys.count), 0, 64);
  std::printf("\n# keys %d", count);
  for (int k = 0; k < count; ++k)
    std::printf(" %d %d %d", keys.colors[k].red, keys.colors[k].green, keys.colors[k].blue);
  std::printf("\n# octaves %d\n", int(doc->fractal.octaves));
}

// The channels of every input of a --values line fed something else than
// x, y or 0, at the point (x, y).
void printFedInputs(const SheetFamily& feed, int inputs, double x, double y)
{
  for (int k = 0; k < inputs; ++k) {
    const Feed f = feed.inputs[size_t(k)];
    if (printedFeed(f))
      for (int channel = 0; channel < channelsOf(f); ++channel)
        std::printf(" %.17g", feedValue(f, channel, x, y));
  }
}

int printValues(int16_t family, int16_t id, double a, double b, double c, int n, bool tables)
{
  const SheetFamily feed = valuesFeedOf(family, id);
  KVmemberHarness h;
  MemberBench bench(h, feed, id);
  if (tables)
    printTables(h);
  bench.setParams(a, b, c);
  bench.prepare();
  const KVgridView view = viewOf(family, id, n);
  const Outputs out = sampleGrid(bench, view, arityOf(family).outputs);
  for (int row = 0; row < n; ++row)
    for (int col = 0; col < n; ++col) {
      const size_t i = size_t(row) * size_t(n) + size_t(col);
      std::printf("%.17g %.17g", view.x(col), view.y(row));
      if (feed.printsInputs && treeOf(family, id) == TreeKind::kAlone)
        printFedInputs(feed, arityOf(family).inputs, view.x(col), view.y(row));
      for (const std::vector<double>& o : out)
        std::printf(" %.17g", o[i]);
      std::printf("\n");
    }
  return 0;
}

// --stdin: how the batches are run besides their inputs.
struct StdinBatch
{
  bool altitudeOnly = false;
  bool pass = false;  // previous outputs, counter and mask given
  int counter = 0;
  unsigned mask = 0;
};

// Reads `count` numbers from standard input into `to`.
bool readNumbers(double* to, int count)
{
  for (int k = 0; k < count; ++k)
    if (std::scanf("%lf", &to[k]) != 1)
      return false;
  return true;
}

// Sets A, B and C, then sends messages 7 and 8.
void setAndPrepare(KVmemberHarness& h, double a, double b, double c)
{
  h.setParams(a, b, c);
  h.prepare();
}

// Reads one directive word's arguments (see the usage above); false on a
// word it does not know or bad arguments.
bool readDirective(const char* word, KVmemberHarness& h, StdinBatch* how)
{
  const std::string_view w(word);
  if (w == "params") {
    double abc[3];
    if (!readNumbers(abc, 3))
      return false;
    setAndPrepare(h, abc[0], abc[1], abc[2]);
    return true;
  }
  if (w == "altitude-only") {
    int on = 0;
    if (std::scanf("%d", &on) != 1)
      return false;
    how->altitudeOnly = on != 0;
    return true;
  }
  if (w == "pass") {
    if (std::scanf("%d %u", &how->counter, &how->mask) != 2 || how->counter < 0 ||
        how->counter > 32767 || how->mask > 0xffff)
      return false;
    how->pass = true;
    return true;
  }
  if (w == "master") {
    double xy[2 * kBatchCapacity];
    if (!readNumbers(xy, 2 * kBatchCapacity))
      return false;
    std::copy_n(xy, kBatchCapacity, h.doc()->master[0]);
    std::copy_n(xy + kBatchCapacity, kBatchCapacity, h.doc()->master[1]);
    return true;
  }
  if (w == "fresh") {
    how->pass = false;
    how->counter = 0;
    how->mask = 0;
    return true;
  }
  return false;
}

// Reads the next batch's directives and the width of its input 1: 0 when
// a batch starts, 1 at the end of the input, 2 on bad input.
int readBatchStart(KVmemberHarness& h, StdinBatch* how, int* width)
{
  char word[32];
  for (;;) {
    if (std::scanf("%31s", word) != 1)
      return 1;
    char* end = nullptr;
    const long v = std::strtol(word, &end, 10);
    if (end != word && *end == 0) {
      *width = int(std::clamp(v, -1L, 4L));
      return 0;
    }
    if (!readDirective(word, h, how)) {
      std::fprintf(stderr, "contact_sheet: bad directive %s\n", word);
      return 2;
    }
  }
}

// Reads input k of a batch (its width already read when `width` >= -1).
bool readInput(KVmemberHarness& h, int k, int width)
{
  KVtestInput in;
  if (width < 0 || width > 3 || !readNumbers(in.data.data(), int(in.data.size()))) {
    std::fprintf(stderr, "contact_sheet: input %d needs a width 0..3 and %d numbers\n", k + 1,
                 int(in.data.size()));
    return false;
  }
  in.channels = int16_t(width);
  h.setInput(k, in);
  return true;
}

int runStdinBatches(int16_t family, int16_t id, double a, double b, double c, StdinBatch how)
{
  const Arity arity = arityOf(family);
  KVmemberHarness h;
  giveSheetPicture(h.doc());
  if (gOctaves >= 0)
    h.doc()->fractal.octaves = int16_t(gOctaves);
  gfunc* g = h.bind(family, id);
  setAndPrepare(h, a, b, c);
  for (int batch = 0;; ++batch) {
    int width = -1;
    const int start = readBatchStart(h, &how, &width);
    if (start != 0)
      return start == 1 && batch > 0 ? 0 : 2;
    for (int k = 0; k < arity.inputs; ++k) {
      if (k > 0 && std::scanf("%d", &width) != 1)
        width = -1;
      if (!readInput(h, k, width))
        return 2;
    }
    for (int k = 0; how.pass && k < arity.outputs; ++k)
      if (!readNumbers(g->outputs[k], kBatchCapacity)) {
        std::fprintf(stderr, "contact_sheet: output %d needs %d numbers\n", k + 1, kBatchCapacity);
        return 2;
      }
    h.doc()->tree.iteration = int16_t(how.pass ? how.counter : 0);
    g->loopMask = uint16_t(how.pass ? how.mask : 0);
    h.doc()->fractal.reliefPass = how.altitudeOnly ? 1 : 0;
    h.run(kBatchCapacity);
    h.doc()->fractal.reliefPass = 0;
    for (int k = 0; k < arity.outputs; ++k) {
      for (int i = 0; i < kBatchCapacity; ++i)
        std::printf(i == 0 ? "%.17g" : " %.17g", g->outputs[k][i]);
      std::printf("\n");
    }
  }
}

// Parses the arguments of --stdin after ID A B C.
bool parseStdinOptions(const std::vector<std::string>& args, StdinBatch* how)
{
  for (size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--altitude-only") {
      how->altitudeOnly = true;
    } else if (args[i] == "--pass" && i + 2 < args.size()) {
      how->pass = true;
      how->counter = std::atoi(args[i + 1].c_str());
      how->mask = unsigned(std::strtoul(args[i + 2].c_str(), nullptr, 0));
      if (how->counter < 0 || how->counter > 32767 || how->mask > 0xffff)
        return false;
      i += 2;
    } else {
      return false;
    }
  }
  return true;
}

int printPermutation()
{
  KVmemberHarness h;
  const KVtables& t = h.doc()->tables;
  for (int i = 0; i < 1024; ++i)
    std::printf(i == 0 ? "%d" : " %d", int(t.perm[i]));
  std::printf("\n");
  return 0;
}

int usage()
{
  std::fprintf(stderr,
               "usage: contact_sheet --family CODE SHEET.ppm [THUMB]\n"
               "       contact_sheet --family CODE [--tables] --values ID A B C N\n"
               "       contact_sheet --family CODE --stdin ID A B C [--altitude-only]\n"
               "                     [--pass COUNTER MASK]\n"
               "       contact_sheet --family CODE --choices ID SHEET.ppm [THUMB]\n"
               "       contact_sheet --perm\n"
               "       contact_sheet --bodies\n");
  return 2;
}

}  // namespace

int main(int argc, char** argv)
{
  std::vector<std::string> args(argv + 1, argv + argc);
  if (args.size() == 1 && args[0] == "--perm")
    return printPermutation();
  if (args.size() == 1 && args[0] == "--bodies")
    return printTerrainBodies();
  for (size_t i = 0; i + 1 < args.size(); ++i)
    if (args[i] == "--octaves") {
      gOctaves = std::atoi(args[i + 1].c_str());
      if (gOctaves < 0 || gOctaves > 32767) {
        std::fprintf(stderr, "contact_sheet: octave count must be 0..32767\n");
        return 2;
      }
      args.erase(args.begin() + long(i), args.begin() + long(i) + 2);
      break;
    }
  int family = KV_CONTACT_SHEET_DEFAULT_FAMILY;
  if (args.size() >= 2 && args[0] == "--family") {
    family = std::atoi(args[1].c_str());
    args.erase(args.begin(), args.begin() + 2);
  }
  if (KV_familyInfo(family) == nullptr) {
    std::fprintf(stderr, "contact_sheet: %d is not a family code\n", family);
    return usage();
  }
  const bool tables = !args.empty() && args[0] == "--tables";
  if (tables)
    args.erase(args.begin());
  if (args.size() == 6 && args[0] == "--values") {
    const int n = std::atoi(args[5].c_str());
    if (n < 1 || n > 4096) {
      std::fprintf(stderr, "contact_sheet: grid size must be 1..4096\n");
      return 2;
    }
    return printValues(int16_t(family), int16_t(std::atoi(args[1].c_str())),
                       std::atof(args[2].c_str()), std::atof(args[3].c_str()),
                       std::atof(args[4].c_str()), n, tables);
  }
  if (!tables && args.size() >= 5 && args[0] == "--stdin") {
    StdinBatch how;
    if (!parseStdinOptions(std::vector<std::string>(args.begin() + 5, args.end()), &how))
      return usage();
    return runStdinBatches(int16_t(family), int16_t(std::atoi(args[1].c_str())),
                           std::atof(args[2].c_str()), std::atof(args[3].c_str()),
                           std::atof(args[4].c_str()), how);
  }
  const bool choices = !tables && args.size() >= 3 && args[0] == "--choices";
  int16_t choiceId = 0;
  if (choices) {
    choiceId = int16_t(std::atoi(args[1].c_str()));
    args.erase(args.begin(), args.begin() + 2);
  }
  if (!tables && (args.size() == 1 || args.size() == 2)) {
    const int thumb = args.size() == 2 ? std::atoi(args[1].c_str()) : 144;
    if (thumb < 16 || thumb > 1024) {
      std::fprintf(stderr, "contact_sheet: thumbnail size must be 16..1024\n");
      return 2;
    }
    return choices ? drawChoices(int16_t(family), choiceId, args[0].c_str(), thumb)
                   : drawSheet(int16_t(family), args[0].c_str(), thumb);
  }
  return usage();
}
