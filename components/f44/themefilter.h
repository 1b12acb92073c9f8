// The theme filter (f44 id 17, " ZQ Themes Filters #"): turns a coloured
// height field into terrain. A chooses one of ten themes, B is the level
// that moves the theme's transitions in altitude, C the frequency of the
// terrain detail. Message 8 stores the theme's constants and installs the
// theme function as the component's compute function.
#pragma once

#include <string_view>

#include "components/common/member.h"

inline constexpr int kThemeCount = 10;

void f44_ThemeFilter(gfunc* g);
int16_t f44_ThemeFilter_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
void f44_ThemeFilter_prepare(gfunc* g);
std::string_view f44_ThemeFilter_label(const gfunc* g, int param);

inline constexpr KVmemberDesc kF44_ThemeFilter{
    .id = 17,
    .computeName = "f44_ThemeFilter",
    .name = " ZQ Themes Filters #",
    .compute = f44_ThemeFilter,
    .handler = f44_ThemeFilter_handler,
    .params = {{.label = "", .k = kThemeCount - 1, .truncate = true},
               {.label = "Level ", .k = 1},
               {.label = "Frequency ", .k = 8}},
    .defaults = {0.0, 0.5, 1.0},
    .outputCode = kConnFour,
    .inputCode = kConnFour,
    .on8 = f44_ThemeFilter_prepare,
    .labelFor = f44_ThemeFilter_label,
};
