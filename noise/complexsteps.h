// One iteration step of two complex maps, and a soft clamp. Plain numeric
// routines without state.
#pragma once

// z <- ((z^2 + c - 1) / (2z + c - 2))^2 in place, z = re + i im, c = cr + i ci.
// A zero denominator gives z = 0.
void CFerroMagnetModel(double* re, double* im, double cr, double ci);

// z <- c (z^2 + 1/z) in place, c = a + i b; z = 0 stays 0.
void CStrangeWeb(double* re, double* im, double a, double b);

// v unchanged up to m/2, then bending smoothly to reach m at 1.5 m and
// staying there.
double CompressorMin(double v, double m);
