// Reads requests from standard input, one a line, and prints what the program
// computes for each, one line per request, so that an independent script can
// recompute the same values:
//   bezier p0 p1 p2 p3 t            -> Bezier_lerp
//   smooth w wrap n v0 .. v(n-1)    -> smoothtable, n values
//   hues t n                        -> GetParam1DColorTable, n triples r g b
#include <cstdio>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "engine/palettelookups.h"
#include "foundation/bezier.h"
#include "foundation/curves.h"

namespace {

void printDoubles(const std::vector<double>& v)
{
  for (size_t i = 0; i < v.size(); ++i)
    std::printf(i ? " %.17g" : "%.17g", v[i]);
  std::printf("\n");
}

bool answer(const std::string& line)
{
  std::istringstream in(line);
  std::string what;
  in >> what;
  if (what == "bezier") {
    double p0, p1, p2, p3, t;
    if (!(in >> p0 >> p1 >> p2 >> p3 >> t))
      return false;
    printDoubles({Bezier_lerp(p0, p1, p2, p3, t)});
  } else if (what == "smooth") {
    int w, wrap, n;
    if (!(in >> w >> wrap >> n) || n < 1)
      return false;
    std::vector<double> values(static_cast<size_t>(n)), out(static_cast<size_t>(n));
    for (double& v : values)
      if (!(in >> v))
        return false;
    smoothtable(values.data(), out.data(), w, n, wrap != 0);
    printDoubles(out);
  } else if (what == "hues") {
    double t;
    int n;
    if (!(in >> t >> n) || n < 1 || n > 64)
      return false;
    std::vector<normalcolor> colors(static_cast<size_t>(n));
    GetParam1DColorTable(colors.data(), t, n);
    for (int i = 0; i < n; ++i)
      std::printf(i ? " %d %d %d" : "%d %d %d", colors[i].red, colors[i].green, colors[i].blue);
    std::printf("\n");
  } else {
    return false;
  }
  return true;
}

}  // namespace

int main()
{
  std::string line;
  while (std::getline(std::cin, line)) {
    if (line.empty())
      continue;
    if (!answer(line)) {
      std::fprintf(stderr, "bad request: %s\n", line.c_str());
      return 1;
    }
  }
  return 0;
}
