// The three-fold mirror fold: folds the plane onto one third of a hexagonal
// kaleidoscope. A point in the 120-degree sector below both lines
// q = p/sqrt(3) and q = -p/sqrt(3) keeps q and takes |p|; any other point
// is turned by 120 degrees into that sector's neighbourhood and folded on x.
#pragma once

struct KVfolded
{
  double x;
  double y;
};

KVfolded mirrors3(double p, double q);
