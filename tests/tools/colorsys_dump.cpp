// Reads colours "r g b" (0..255), one a line, from standard input and prints
// for each: the HSL hue, lightness and saturation of myRGBtoHSL, then the HSV
// hue, saturation and value of myRGBtoHSV, space-separated.
#include <cstdio>

#include "foundation/colormath.h"

int main()
{
  int r, g, b;
  while (std::scanf("%d %d %d", &r, &g, &b) == 3) {
    if (r < 0 || r > 255 || g < 0 || g > 255 || b < 0 || b > 255) {
      std::fprintf(stderr, "colour out of range: %d %d %d\n", r, g, b);
      return 1;
    }
    normalcolor hsl, hsv;
    myRGBtoHSL(uint8_t(r), uint8_t(g), uint8_t(b), &hsl);
    myRGBtoHSV(uint8_t(r), uint8_t(g), uint8_t(b), &hsv);
    std::printf("%d %d %d %d %d %d\n", normalcolorHue(hsl), hsl.green, hsl.blue,
                normalcolorHue(hsv), hsv.green, hsv.blue);
  }
  return 0;
}
