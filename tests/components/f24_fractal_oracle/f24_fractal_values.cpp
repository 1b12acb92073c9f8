// f24_fractal_values: prints the outputs of one f24 member over a grid at a
// chosen pixel density, for the independent check of the fractal-noise
// members (f24_fractal_oracle_check.py).
//
//   f24_fractal_values --density R [--tables] --values ID A B C N [ID A B C N ...]
//       member ID of family f24 with A, B, C (messages 7 and 8 sent after
//       they are set) at pixel density R over an N x N grid of -pi..pi
//       (N 1..512): a line "# member ID", then one line per sample, row by
//       row: "x y out1 out2 out3 out4", 17 significant digits; the same for
//       each further group of five. With --tables, first "# perm" (the 1024
//       permutation entries) and "# vectors" (the 1024 random vectors of the
//       tables, x y z each).
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "engine/catalog.h"
#include "tests/components/member_harness.h"

namespace {

void printTables(KVmemberHarness& h)
{
  const KVtables& t = h.doc()->tables;
  std::printf("# perm");
  for (int i = 0; i < 1024; ++i)
    std::printf(" %d", int(t.perm[i]));
  std::printf("\n# vectors");
  for (int i = 0; i < 1024; ++i)
    for (int c = 0; c < 3; ++c)
      std::printf(" %.17g", t.rndVec3D[i][c]);
  std::printf("\n");
}

int usage()
{
  std::fprintf(stderr,
               "usage: f24_fractal_values --density R [--tables] --values ID A B C N "
               "[ID A B C N ...]\n");
  return 2;
}

// One member's outputs over the grid.
void printMember(KVmemberHarness& h, double density, const std::string* group)
{
  const int16_t id = int16_t(std::atoi(group[0].c_str()));
  const int n = std::atoi(group[4].c_str());
  h.bind(kFamily24, id);
  h.setParams(std::atof(group[1].c_str()), std::atof(group[2].c_str()),
              std::atof(group[3].c_str()));
  h.doc()->yPixelScale = density;
  h.prepare();
  KVgridView view;
  view.width = view.height = n;
  std::vector<std::vector<double>> out;
  for (int k = 0; k < 4; ++k)
    out.push_back(h.grid(view, k));
  std::printf("# member %d\n", int(id));
  for (int row = 0; row < n; ++row)
    for (int col = 0; col < n; ++col) {
      const size_t i = size_t(row) * size_t(n) + size_t(col);
      std::printf("%.17g %.17g", view.x(col), view.y(row));
      for (const std::vector<double>& o : out)
        std::printf(" %.17g", o[i]);
      std::printf("\n");
    }
}

}  // namespace

int main(int argc, char** argv)
{
  std::vector<std::string> args(argv + 1, argv + argc);
  if (args.size() < 2 || args[0] != "--density")
    return usage();
  const double density = std::atof(args[1].c_str());
  args.erase(args.begin(), args.begin() + 2);
  const bool tables = !args.empty() && args[0] == "--tables";
  if (tables)
    args.erase(args.begin());
  if (args.size() < 6 || args[0] != "--values" || (args.size() - 1) % 5 != 0)
    return usage();
  for (size_t g = 1; g < args.size(); g += 5) {
    const int n = std::atoi(args[g + 4].c_str());
    if (n < 1 || n > 512) {
      std::fprintf(stderr, "f24_fractal_values: grid size must be 1..512\n");
      return 2;
    }
  }
  if (!(density > 0)) {
    std::fprintf(stderr, "f24_fractal_values: the density must be positive\n");
    return 2;
  }
  KVmemberHarness h;
  if (tables)
    printTables(h);
  for (size_t g = 1; g < args.size(); g += 5)
    printMember(h, density, &args[g]);
  return 0;
}
